// A data file opened for reading only if it is a regular file: a folder, a
// pipe or a device in its place is refused without blocking. The sprite,
// sound and music loaders each own the one they read from.
#pragma once

#include <SFML/System/InputStream.hpp>

#include <memory>
#include <string>

namespace qm {

class RegularFile : public sf::InputStream {
public:
  RegularFile();
  ~RegularFile() override;
  RegularFile(const RegularFile &) = delete;
  RegularFile &operator=(const RegularFile &) = delete;

  // Closes what was open, then opens filename; 0 when it is a regular file,
  // -1 (and nothing open) when it is missing, unreadable or anything else.
  int open(const std::string &filename);
  void close();

  // The stream that SFML reads sounds and music from: the very file that was
  // checked, so that nothing swapped in after the check can be read instead.
  // Each returns -1 when no file is open or the read fails.
  sf::Int64 read(void *p_data, sf::Int64 size) override;
  sf::Int64 seek(sf::Int64 position) override;
  sf::Int64 tell() override;
  sf::Int64 getSize() override;

private:
  sf::Int64 readAt(char *p_bytes, sf::Int64 size, sf::Int64 offset);

  int m_descriptor;
  sf::Int64 m_position;
  // SFML's WAV reader asks for one sample at a time, a system call each
  // without this: the bytes from m_buffer_start on, made on the first small
  // read, so that an unplayed music slot holds none.
  std::unique_ptr<char[]> m_p_buffer;
  sf::Int64 m_buffer_start;
  sf::Int64 m_buffer_length;
};

} // namespace qm
