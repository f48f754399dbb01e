// The terminal input parser on byte streams recorded from real terminals,
// cut at every byte, and on broken and unusual sequences.
#include "TerminalInput.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <initializer_list>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace qm {
void PrintTo(const TerminalInputRecord &r, std::ostream *p_out) {
  *p_out << "{type " << r.type << " key " << r.key << " action " << r.key_action << " mouse "
         << r.mouse_action << " button " << r.mouse_button << " at " << r.column << "," << r.row
         << "}";
}
} // namespace qm

namespace {

using Records = std::vector<qm::TerminalInputRecord>;
namespace K = qm::Keyboard;

qm::TerminalInputRecord record(qm::TerminalInputType type) {
  qm::TerminalInputRecord r;
  r.type = type;
  return r;
}

Records keys(std::initializer_list<K::Key> key_vals, bool with_releases_of_their_own = false) {
  Records records;
  for (const K::Key key_val : key_vals) {
    for (const auto action : {qm::KEY_PRESSED, qm::KEY_RELEASED}) {
      if (action == qm::KEY_PRESSED || !with_releases_of_their_own) {
        records.push_back(record(qm::TERMINAL_KEY));
        records.back().key = key_val;
        records.back().key_action = action;
      }
    }
  }
  return records;
}

Records press(K::Key key_val) {
  return keys({key_val}, true);
}

Records release(K::Key key_val) {
  Records records = keys({key_val});
  records.erase(records.begin());
  return records;
}

Records pointer(qm::EventMouseAction action, qm::Mouse::Button button, int column, int row) {
  Records records{record(qm::TERMINAL_POINTER)};
  records[0].mouse_action = action;
  records[0].mouse_button = button;
  records[0].column = column;
  records[0].row = row;
  return records;
}

Records moved(int column, int row) {
  return pointer(qm::MOVED, qm::Mouse::UNDEFINED_MOUSE_BUTTON, column, row);
}

Records only(qm::TerminalInputType type) {
  return {record(type)};
}

Records operator+(Records a, const Records &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Records parse(const std::string &bytes, bool flush = false) {
  qm::TerminalInput input;
  Records records;
  input.feed(bytes.data(), bytes.size(), records);
  if (flush) {
    input.flush(records);
  }
  return records;
}

// What the recordings hold (see their README): the pointer's two moves, the
// keys, Shift+A, Ctrl+C, then clicks at (column, row) and a drag to drag_column.
Records recordedActions(bool kitty, int column, int row, int drag_column) {
  const auto L = qm::Mouse::LEFT;
  const auto M = qm::Mouse::MIDDLE;
  const auto R = qm::Mouse::RIGHT;
  const Records typed = keys({K::P, K::RIGHTARROW, K::MINUS, K::UNDEFINED_KEY, K::PLUS, K::F1,
                              K::F3, K::F5, K::F11, K::F12, K::RETURN, K::ESCAPE, K::TAB, K::SPACE,
                              K::Q, K::NUM7, K::UPARROW, K::DOWNARROW, K::LEFTARROW},
                             kitty);
  Records expected;
  if (kitty) {
    for (std::size_t i = 0; i < typed.size(); i++) {
      expected = expected + Records{typed[i]} + release(typed[i].key);
    }
    expected = expected + press(K::LEFTSHIFT) + press(K::A) + release(K::LEFTSHIFT) +
               release(K::A) + press(K::LEFTCONTROL) + only(qm::TERMINAL_INTERRUPT) +
               release(K::LEFTCONTROL);
  } else {
    expected = typed + keys({K::A}) + only(qm::TERMINAL_INTERRUPT);
  }
  return expected + moved(column, row) + pointer(qm::CLICKED, L, column, row) +
         pointer(qm::CLICKED, M, column, row) + pointer(qm::CLICKED, R, column, row) +
         pointer(qm::CLICKED, L, column, row) + moved(drag_column, row);
}

TEST(TerminalInput, ReadsRecordedTerminalsWholeAndCutAtEveryByte) {
  const Records da = only(qm::TERMINAL_ATTRIBUTES_REPLY);
  const struct {
    const char *file;
    Records expected;
  } streams[] = {
      {"xterm-379", da + moved(16, 7) + moved(49, 9) + recordedActions(false, 33, 11, 43)},
      {"tmux-3.3a", da + moved(11, 5) + moved(33, 6) + recordedActions(false, 22, 8, 28)},
      {"kitty-0.26.5", only(qm::TERMINAL_PROTOCOL_REPLY) + da + moved(11, 5) + moved(33, 6) +
                           recordedActions(true, 22, 8, 28)},
  };
  for (const auto &stream : streams) {
    std::ifstream file(qm_test::sourcePath("tests/data/terminal-streams/") + stream.file + ".bytes",
                       std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_FALSE(bytes.empty()) << stream.file;
    EXPECT_EQ(parse(bytes), stream.expected) << stream.file;
    for (std::size_t cut = 1; cut < bytes.size(); cut++) {
      qm::TerminalInput input;
      Records records;
      input.feed(bytes.data(), cut, records);
      input.feed(bytes.data() + cut, bytes.size() - cut, records);
      ASSERT_EQ(records, stream.expected) << stream.file << " cut at " << cut;
    }
  }
}

TEST(TerminalInput, ReadsBrokenAndUnusualBytesSensibly) {
  const auto tap = [](K::Key key_val) { return keys({key_val}); };
  const std::string protocol = "\x1b[?1u";
  const Records reply = only(qm::TERMINAL_PROTOCOL_REPLY);
  const struct {
    std::string bytes;
    Records expected;
  } cases[] = {
      // Escape, alone and before what is no sequence (Alt and a key).
      {"\x1bx\x1b\x1b[A", tap(K::ESCAPE) + tap(K::X) + tap(K::ESCAPE) + tap(K::UPARROW)},
      // Sequences broken off by a new one or by a control byte, with a
      // misplaced marker or an intermediate, or unknown: dropped.
      {"\x1b[1;\x1b[B\x1b[12\rq", tap(K::DOWNARROW) + tap(K::RETURN) + tap(K::Q)},
      {"\x1b[1?A\x1b[1 q\x1b[5n\x1b[?1;2$yZ", tap(K::Z)},
      // Numbers beyond any real one are held, not overflowed.
      {"\x1b[" + std::string(5000, '9') + "D\x1b[<35;99999999999;5M",
       tap(K::LEFTARROW) + moved(qm::TERMINAL_PARAMETER_MAX - 1, 4)},
      // UTF-8: a character is an undefined key; bytes that are not UTF-8 and
      // characters cut short are dropped.
      {"\xc3\xa9\xf0\x9f\x98\x80\xff\xa9\xc3q",
       tap(K::UNDEFINED_KEY) + tap(K::UNDEFINED_KEY) + tap(K::Q)},
      // The pointer with modifiers, at a cell that cannot be, buttonless.
      {"\x1b[<36;5;6M\x1b[<16;5;6M\x1b[<0;0;6M\x1b[<3;5;6M",
       moved(4, 5) + pointer(qm::CLICKED, qm::Mouse::LEFT, 4, 5)},
      // Protocol forms from a terminal not in the protocol: pressed and let
      // go at once, repeats dropped, modifiers beside the key.
      {"\x1b[97u\x1b[97;1:2u\x1b[1;5C\x1b[13~\x1b[2~",
       tap(K::A) + tap(K::RIGHTARROW) + tap(K::F3) + tap(K::UNDEFINED_KEY)},
      // In the protocol: presses and releases as sent, repeats dropped;
      // Ctrl-C (Num Lock on too) and Ctrl-Z are signals, with no key left.
      {protocol + "\x1b[97u\x1b[97;1:2u\x1b[97;1:3u", reply + press(K::A) + release(K::A)},
      {protocol + "\x1b[99;5u\x1b[99;5:2u\x1b[99;5:3u\x1b[99;133u\x1b[99;6u\x1b[122;5u",
       reply + only(qm::TERMINAL_INTERRUPT) + only(qm::TERMINAL_INTERRUPT) + press(K::C) +
           only(qm::TERMINAL_SUSPEND)},
      // Plain bytes have no releases in the protocol either.
      {protocol + "p\x03\x1a",
       reply + tap(K::P) + only(qm::TERMINAL_INTERRUPT) + only(qm::TERMINAL_SUSPEND)},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(parse(c.bytes), c.expected) << c.bytes;
  }
  // A lone Escape waits for the time-out; so does a sequence cut off, which
  // is dropped then unless nothing but its start came.
  qm::TerminalInput input;
  Records records;
  input.feed("\x1b", 1, records);
  EXPECT_TRUE(input.isPending());
  EXPECT_TRUE(records.empty());
  EXPECT_EQ(parse("\x1b", true), tap(K::ESCAPE));
  EXPECT_EQ(parse("\x1bO", true), tap(K::ESCAPE) + tap(K::O));
  EXPECT_EQ(parse("\x1b[", true), tap(K::ESCAPE) + tap(K::UNDEFINED_KEY));
  EXPECT_EQ(parse("\x1b[<35;1", true), Records());
}

} // namespace
