#include "RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm {

namespace {

constexpr sf::Int64 BUFFER_SIZE = 16384;
// Reads this big go straight to the file: the line reader's, which buffers
// on its own, and a sound's samples read in bulk.
constexpr sf::Int64 DIRECT_READ_MIN = 4096;

} // namespace

RegularFile::RegularFile()
    : m_descriptor(-1), m_position(0), m_buffer_start(0), m_buffer_length(0) {}

RegularFile::~RegularFile() {
  close();
}

int RegularFile::open(const std::string &filename) {
  close();
  // Looked at before opening: opening a device can have effects of its own.
  struct stat status;
  if (stat(filename.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return -1;
  }
  // Opening a pipe waits for a writer unless it is non-blocking. Whatever was
  // swapped in since the look above is caught by looking again at what the
  // descriptor itself names.
  const int descriptor = ::open(filename.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (descriptor < 0) {
    return -1;
  }
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(descriptor);
    return -1;
  }
  m_descriptor = descriptor;
  m_position = 0;
  return 0;
}

void RegularFile::close() {
  if (m_descriptor >= 0) {
    ::close(m_descriptor);
    m_descriptor = -1;
  }
  m_position = 0;
  m_buffer_length = 0;
}

sf::Int64 RegularFile::read(void *p_data, sf::Int64 size) {
  if (m_descriptor < 0 || size < 0) {
    return -1;
  }
  char *p_bytes = static_cast<char *>(p_data);
  sf::Int64 done = 0;
  while (done < size) {
    const sf::Int64 at = m_position + done;
    if (at >= m_buffer_start && at < m_buffer_start + m_buffer_length) {
      const sf::Int64 count = std::min(size - done, m_buffer_start + m_buffer_length - at);
      std::memcpy(p_bytes + done, m_p_buffer.get() + (at - m_buffer_start),
                  static_cast<std::size_t>(count));
      done += count;
      continue;
    }
    if (size - done >= DIRECT_READ_MIN) {
      const sf::Int64 count = readAt(p_bytes + done, size - done, at);
      if (count < 0) {
        return -1;
      }
      done += count;
      break;
    }
    if (!m_p_buffer) {
      m_p_buffer = std::make_unique<char[]>(static_cast<std::size_t>(BUFFER_SIZE));
    }
    m_buffer_length = 0;
    const sf::Int64 count = readAt(m_p_buffer.get(), BUFFER_SIZE, at);
    if (count < 0) {
      return -1;
    }
    if (count == 0) {
      break;
    }
    m_buffer_start = at;
    m_buffer_length = count;
  }
  m_position += done;
  return done;
}

// SFML counts a short read as the end of the file, so a read cut short by a
// signal goes on.
sf::Int64 RegularFile::readAt(char *p_bytes, sf::Int64 size, sf::Int64 offset) {
  sf::Int64 done = 0;
  while (done < size) {
    const ssize_t count = pread(m_descriptor, p_bytes + done, static_cast<size_t>(size - done),
                                static_cast<off_t>(offset + done));
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count < 0) {
      return -1;
    }
    if (count == 0) {
      break;
    }
    done += count;
  }
  return done;
}

sf::Int64 RegularFile::seek(sf::Int64 position) {
  if (m_descriptor < 0 || position < 0) {
    return -1;
  }
  m_position = position;
  return m_position;
}

sf::Int64 RegularFile::tell() {
  return m_descriptor < 0 ? -1 : m_position;
}

sf::Int64 RegularFile::getSize() {
  struct stat status;
  if (m_descriptor < 0 || fstat(m_descriptor, &status) != 0) {
    return -1;
  }
  return static_cast<sf::Int64>(status.st_size);
}

} // namespace qm
