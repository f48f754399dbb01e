#include "HeldOutput.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstddef>

namespace qm {

namespace {

// Standard output and error, each with the memory that holds its bytes and
// the descriptor it wrote to before. Which of them are held is decided the
// first time, outside any signal handler; afterwards only calls that are
// safe in one are made.
struct HeldDescriptor {
  int fd;
  const char *name;
  bool decided;
  bool wanted;
  int store_fd;
  int saved_fd;
};
HeldDescriptor held[] = {{STDOUT_FILENO, "quillmoth-stdout", false, false, -1, -1},
                         {STDERR_FILENO, "quillmoth-stderr", false, false, -1, -1}};
volatile std::sig_atomic_t output_held = 0;

void replay(const HeldDescriptor &descriptor) {
  char buffer[4096];
  lseek(descriptor.store_fd, 0, SEEK_SET);
  ssize_t count = 0;
  while ((count = ::read(descriptor.store_fd, buffer, sizeof buffer)) > 0) {
    writeFully(descriptor.fd, buffer, static_cast<std::size_t>(count));
  }
  // Empty again for the next hold, which writes from the start.
  ftruncate(descriptor.store_fd, 0);
  lseek(descriptor.store_fd, 0, SEEK_SET);
}

} // namespace

void holdOutput() {
  if (output_held) {
    return;
  }
  const int saved_errno = errno;
  for (HeldDescriptor &descriptor : held) {
    if (!descriptor.decided) {
      descriptor.decided = true;
      descriptor.wanted = isatty(descriptor.fd) == 1;
      if (descriptor.wanted) {
        descriptor.store_fd = memfd_create(descriptor.name, MFD_CLOEXEC);
        descriptor.wanted = descriptor.store_fd >= 0;
      }
    }
    if (!descriptor.wanted) {
      continue;
    }
    descriptor.saved_fd = fcntl(descriptor.fd, F_DUPFD_CLOEXEC, 3);
    if (descriptor.saved_fd >= 0 && dup2(descriptor.store_fd, descriptor.fd) < 0) {
      close(descriptor.saved_fd);
      descriptor.saved_fd = -1;
    }
  }
  output_held = 1;
  errno = saved_errno;
}

void releaseOutput() {
  if (!output_held) {
    return;
  }
  const int saved_errno = errno;
  output_held = 0;
  for (HeldDescriptor &descriptor : held) {
    if (descriptor.saved_fd < 0) {
      continue;
    }
    dup2(descriptor.saved_fd, descriptor.fd);
    close(descriptor.saved_fd);
    descriptor.saved_fd = -1;
    replay(descriptor);
  }
  errno = saved_errno;
}

void writeFully(int fd, const char *bytes, std::size_t count) {
  while (count > 0) {
    const ssize_t written = ::write(fd, bytes, count);
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return;
    }
    bytes += written;
    count -= static_cast<std::size_t>(written);
  }
}

} // namespace qm
