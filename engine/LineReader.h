// Reads a stream line by line, never taking more of a line than its caller
// allows, so that bytes without a line feed cannot take memory without bound.
// Made on the stack by whoever reads a file, for as long as the reading lasts.
#pragma once

#include <SFML/System/InputStream.hpp>

#include <cstddef>
#include <string>

namespace qm {

class LineReader {
public:
  explicit LineReader(sf::InputStream &stream);

  // The next line into line, without its line feed; a carriage return stays.
  // Past the end of the stream a line reads as empty (see isPastEnd). 0 for a
  // whole line; -1 as soon as the line is longer than max_length, which
  // leaves its first max_length + 1 bytes in line and the rest unread.
  int readLine(std::string &line, std::size_t max_length);
  // True once a line was asked for after the stream's last one.
  bool isPastEnd() const;

private:
  // Refills the buffer; false when the stream has nothing more.
  bool fill();

  sf::InputStream &m_stream;
  char m_buffer[4096];
  std::size_t m_start;
  std::size_t m_end;
  bool m_is_past_end;
};

} // namespace qm
