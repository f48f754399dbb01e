// Counting log lines: without a window every drawCh writes NO_WINDOW_LINE, so
// its count is the number of characters a drawing call drew.
#pragma once

#include "TestSupport.h"

#include <string>

namespace qm_test {

inline const std::string NO_WINDOW_LINE = "Error! No window to draw to.\n";

// How many times the log holds "Message : " + message.
inline int countLogLines(const std::string &message) {
  const std::string log = readLog(), line = "Message : " + message;
  int count = 0;
  for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) {
    count++;
  }
  return count;
}

} // namespace qm_test
