// Counting log lines: without a window every drawCh writes one line, so the
// count of that line is the number of characters a drawing call drew.
#pragma once

#include <string>

namespace qm_test {

// The exact line that drawCh writes when there is no window.
inline const std::string NO_WINDOW_LINE = "Error! No window to draw to.\n";

// How many times the log holds the message (its text after the "Message : "
// prefix, newline included).
int countLogLines(const std::string &message);

} // namespace qm_test
