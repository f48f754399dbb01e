// The terminal input parser on byte streams recorded from real terminals,
// cut at every byte, and on broken and unusual sequences.
#include "TerminalInput.h"

#include "InputManager.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Records = std::vector<qm::TerminalInputRecord>;
// The engine's keys in their order, from UNDEFINED_KEY, as the window's table
// makes them of the keys that the parser names.
std::string keyName(sf::Keyboard::Key sfml_key) {
  const int key = qm::translateKey(sfml_key);
  static const std::vector<std::string> NAMES = [] {
    std::istringstream names("? SPC RET ESC TAB LEFT RIGHT UP DOWN PAUSE MINUS PLUS TILDE . , / "
                             "LCTRL RCTRL LSHIFT RSHIFT F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12 "
                             "A B C D E F G H I J K L M N O P Q R S T U V W X Y Z 1 2 3 4 5 6 7 8 "
                             "9 0");
    return std::vector<std::string>(std::istream_iterator<std::string>(names), {});
  }();
  return NAMES.at(static_cast<std::size_t>(key + 1));
}

// Records as words: a key pressed and let go at once by its name, else
// +name and -name; moves and clicks (L, R, M) with their cells; signals
// (int, stop) and answers (kitty, da).
std::string describe(const Records &records) {
  std::string words;
  for (std::size_t i = 0; i < records.size(); i++) {
    const qm::TerminalInputRecord &r = records[i];
    std::string word;
    if (r.type == qm::TERMINAL_KEY) {
      qm::TerminalInputRecord release = r;
      release.key_action = qm::KEY_RELEASED;
      const bool tap =
          r.key_action == qm::KEY_PRESSED && i + 1 < records.size() && records[i + 1] == release;
      word = (tap ? "" : r.key_action == qm::KEY_PRESSED ? "+" : "-") + keyName(r.key);
      i += tap;
    } else if (r.type == qm::TERMINAL_POINTER) {
      word = (r.mouse_action == qm::MOVED
                  ? "move"
                  : std::string(1, "LRM"[qm::translateButton(r.mouse_button)])) +
             std::to_string(r.column) + "," + std::to_string(r.row);
    } else {
      const char *const SIGNALS_AND_ANSWERS[] = {"int", "stop", "kitty", "da"};
      word = SIGNALS_AND_ANSWERS[r.type - qm::TERMINAL_INTERRUPT];
    }
    words += (words.empty() ? "" : " ") + word;
  }
  return words;
}

std::string parse(const std::string &bytes, bool flush = false) {
  qm::TerminalInput input;
  Records records;
  input.feed(bytes.data(), bytes.size(), records);
  if (flush) {
    input.flush(records);
  }
  return describe(records);
}

// The actions that the recordings' README lists, in each terminal's words.
TEST(TerminalInput, ReadsRecordedTerminalsWholeAndCutAtEveryByte) {
  const std::string keys =
      "P RIGHT MINUS ? PLUS F1 F3 F5 F11 F12 RET ESC TAB SPC Q 7 UP DOWN LEFT ";
  const struct {
    const char *file;
    std::string expected;
  } streams[] = {
      {"xterm-379",
       "da move16,7 move49,9 " + keys + "A int move33,11 L33,11 M33,11 R33,11 L33,11 move43,11"},
      {"tmux-3.3a",
       "da move11,5 move33,6 " + keys + "A int move22,8 L22,8 M22,8 R22,8 L22,8 move28,8"},
      {"kitty-0.26.5", "kitty da move11,5 move33,6 " + keys +
                           "+LSHIFT +A -LSHIFT -A +LCTRL int -LCTRL "
                           "move22,8 L22,8 M22,8 R22,8 L22,8 move28,8"},
  };
  for (const auto &stream : streams) {
    std::ifstream file(qm_test::sourcePath("tests/data/terminal-streams/") + stream.file + ".bytes",
                       std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(parse(bytes), stream.expected) << stream.file;
    for (std::size_t cut = 1; cut < bytes.size(); cut++) {
      qm::TerminalInput input;
      Records records;
      input.feed(bytes.data(), cut, records);
      input.feed(bytes.data() + cut, bytes.size() - cut, records);
      ASSERT_EQ(describe(records), stream.expected) << stream.file << " cut at " << cut;
    }
  }
}

TEST(TerminalInput, ReadsBrokenAndUnusualBytesSensibly) {
  const std::string kitty = "\x1b[?1u";
  const struct {
    std::string bytes;
    const char *expected;
  } cases[] = {
      // Escape, alone and before what is no sequence (Alt and a key).
      {"\x1bx\x1b\x1b[A", "ESC X ESC UP"},
      // Sequences broken off by a new one or by a control byte, with a
      // misplaced marker or an intermediate, or unknown: dropped.
      {"\x1b[1;\x1b[B\x1b[12\rq", "DOWN RET Q"},
      {"\x1b[1?A\x1b[1 q\x1b[5n\x1b[?1;2$yZ", "Z"},
      // Numbers beyond any real one are held, not overflowed.
      {"\x1b[" + std::string(5000, '9') + "D\x1b[<35;99999999999;5M", "LEFT move999999,4"},
      // A UTF-8 character is an undefined key; bytes that are not UTF-8 and
      // characters cut short are dropped.
      {"\xc3\xa9\xf0\x9f\x98\x80\xff\xa9\xc3q", "? ? Q"},
      // The pointer with modifiers, at a cell that cannot be, buttonless.
      {"\x1b[<36;5;6M\x1b[<16;5;6M\x1b[<0;0;6M\x1b[<3;5;6M", "move4,5 L4,5"},
      // Protocol forms from a terminal not in the protocol: let go at once,
      // repeats dropped, modifiers beside the key.
      {"\x1b[97u\x1b[97;1:2u\x1b[1;5C\x1b[13~\x1b[2~", "A RIGHT F3 ?"},
      // In the protocol: presses and releases as sent, repeats dropped, and
      // plain bytes let go at once; Ctrl-C (Num Lock on too) and Ctrl-Z are
      // signals, in either form, with no key left over.
      {kitty + "\x1b[97u\x1b[97;1:2u\x1b[1;1:3C", "kitty +A -RIGHT"},
      {kitty + "\x1b[99;5u\x1b[99;5:2u\x1b[99;5:3u\x1b[99;133u\x1b[99;6u\x1b[122;5u",
       "kitty int int +C stop"},
      {kitty + "p\x03\x1a", "kitty P int stop"},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(parse(c.bytes), c.expected) << c.bytes;
  }
  // A lone Escape waits for the time-out; so does a sequence cut off, which
  // is dropped then unless nothing but its start came.
  qm::TerminalInput input;
  Records records;
  input.feed("\x1b", 1, records);
  EXPECT_TRUE(input.isPending() && records.empty());
  EXPECT_EQ(parse("\x1b", true), "ESC");
  EXPECT_EQ(parse("\x1bO", true), "ESC O");
  EXPECT_EQ(parse("\x1b[", true), "ESC ?");
  EXPECT_EQ(parse("\x1b[<35;1", true), "");
}

} // namespace
