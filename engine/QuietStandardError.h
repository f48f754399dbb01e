// Points the process's standard error (file descriptor 2) at /dev/null while
// it lives, and back after: for library calls that write chatter of their own
// there, which the program cannot turn off otherwise. Made on the stack
// around such calls.
#pragma once

namespace qm {

class QuietStandardError {
public:
  // Quiet only when quiet is true; otherwise it does nothing.
  explicit QuietStandardError(bool quiet = true);
  ~QuietStandardError();
  QuietStandardError(const QuietStandardError &) = delete;
  QuietStandardError &operator=(const QuietStandardError &) = delete;

private:
  // The descriptor that standard error was, -1 when nothing was changed.
  int m_saved_fd = -1;
};

} // namespace qm
