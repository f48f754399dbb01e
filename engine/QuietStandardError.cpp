#include "QuietStandardError.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

namespace qm {

namespace {

// What was written before goes where it was meant to go.
void flushErrorStreams() {
  std::cerr.flush();
  std::fflush(stderr);
}

} // namespace

QuietStandardError::QuietStandardError(bool quiet) {
  if (!quiet) {
    return;
  }
  flushErrorStreams();
  const int null_fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null_fd < 0) {
    return;
  }
  m_saved_fd = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
  if (m_saved_fd >= 0 && dup2(null_fd, STDERR_FILENO) < 0) {
    close(m_saved_fd);
    m_saved_fd = -1;
  }
  close(null_fd);
}

QuietStandardError::~QuietStandardError() {
  if (m_saved_fd < 0) {
    return;
  }
  flushErrorStreams();
  dup2(m_saved_fd, STDERR_FILENO);
  close(m_saved_fd);
}

} // namespace qm
