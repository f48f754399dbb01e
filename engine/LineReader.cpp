#include "LineReader.h"

#include <cstring>

namespace qm {

LineReader::LineReader(sf::InputStream &stream)
    : m_stream(stream), m_buffer(), m_start(0), m_end(0), m_is_past_end(false) {}

int LineReader::readLine(std::string &line, std::size_t max_length) {
  line.clear();
  if (m_start == m_end && !fill()) {
    m_is_past_end = true;
    return 0;
  }
  do {
    const char *p_begin = m_buffer + m_start;
    const std::size_t available = m_end - m_start;
    const char *p_feed = static_cast<const char *>(std::memchr(p_begin, '\n', available));
    const std::size_t length = p_feed ? static_cast<std::size_t>(p_feed - p_begin) : available;
    const std::size_t room = max_length - line.size();
    if (length > room) {
      // One byte past the limit is enough to tell.
      line.append(p_begin, room + 1);
      m_start += room + 1;
      return -1;
    }
    line.append(p_begin, length);
    m_start += length;
    if (p_feed) {
      m_start++;
      return 0;
    }
  } while (fill());
  // The last line need not end with a line feed.
  return 0;
}

bool LineReader::isPastEnd() const {
  return m_is_past_end;
}

bool LineReader::fill() {
  const sf::Int64 count = m_stream.read(m_buffer, static_cast<sf::Int64>(sizeof m_buffer));
  m_start = 0;
  m_end = count > 0 ? static_cast<std::size_t>(count) : 0;
  return m_end > 0;
}

} // namespace qm
