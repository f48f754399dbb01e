// Feeds arbitrary bytes to the terminal input parser, whole and cut into
// pieces whose lengths the bytes choose, and traps when the parser breaks a
// promise: the same records however the reads fall, keys and cells within
// their ranges, and plain typing read as one key each.
#include "TerminalInput.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using Records = std::vector<qm::TerminalInputRecord>;

void check(bool promise) {
  if (!promise) {
    __builtin_trap();
  }
}

// Printable ASCII and the keys that send one control byte, but no Escape,
// Ctrl-C or Ctrl-Z: each byte is a key pressed and let go.
bool isPlainTyping(const uint8_t *data, size_t size) {
  for (size_t i = 0; i < size; i++) {
    if (data[i] >= 0x7f || data[i] == 0x1b || data[i] == 0x03 || data[i] == 0x1a) {
      return false;
    }
  }
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const char *bytes = reinterpret_cast<const char *>(data);
  qm::TerminalInput whole;
  Records whole_records;
  whole.feed(bytes, size, whole_records);
  const bool pending = whole.isPending();
  whole.flush(whole_records);
  check(!whole.isPending());

  qm::TerminalInput cut;
  Records cut_records;
  size_t at = 0;
  size_t choice = size;
  while (at < size) {
    choice = choice * 31 + data[at];
    const size_t piece = 1 + choice % 16 < size - at ? 1 + choice % 16 : size - at;
    cut.feed(bytes + at, piece, cut_records);
    at += piece;
  }
  check(cut.isPending() == pending);
  cut.flush(cut_records);
  check(cut_records == whole_records);

  // A byte makes two records at most (a press and its release); a flush
  // adds two more at most.
  check(whole_records.size() <= 2 * size + 2);
  for (const qm::TerminalInputRecord &r : whole_records) {
    check(r.key >= sf::Keyboard::Unknown && r.key < sf::Keyboard::KeyCount && r.column >= 0 &&
          r.row >= 0 && r.mouse_button <= sf::Mouse::ButtonCount);
  }
  if (isPlainTyping(data, size)) {
    check(whole_records.size() == 2 * size);
  }
  return 0;
}
