#include "WaveFile.h"

#include <cstdint>
#include <cstring>

namespace qm {

namespace {

std::uint32_t littleEndian(const unsigned char *p_bytes, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; i--) {
    value = (value << 8) | p_bytes[i];
  }
  return value;
}

bool plausibleFormat(const unsigned char *p_format) {
  const std::uint32_t channels = littleEndian(p_format + 2, 2);
  const std::uint32_t sample_rate = littleEndian(p_format + 4, 4);
  const std::uint32_t bits_per_sample = littleEndian(p_format + 14, 2);
  const bool bits_known = bits_per_sample == 8 || bits_per_sample == 16 || bits_per_sample == 24 ||
                          bits_per_sample == 32;
  return channels >= 1 && channels <= WAVE_MAX_CHANNELS && sample_rate >= 1 &&
         sample_rate <= WAVE_MAX_SAMPLE_RATE && bits_known;
}

// True when all count bytes could be read.
bool readBytes(sf::InputStream &stream, unsigned char *p_bytes, sf::Int64 count) {
  return stream.read(p_bytes, count) == count;
}

// The header check itself; the caller puts the stream back at its start.
bool plausibleHeader(sf::InputStream &stream) {
  const sf::Int64 stream_size = stream.getSize();
  unsigned char riff[12];
  if (!readBytes(stream, riff, sizeof riff) || std::memcmp(riff, "RIFF", 4) != 0 ||
      std::memcmp(riff + 8, "WAVE", 4) != 0) {
    return true;
  }
  // Chunks follow one another up to the sample data; the format chunk comes
  // before it in every file SFML reads.
  unsigned char chunk_header[8];
  while (readBytes(stream, chunk_header, sizeof chunk_header)) {
    const std::uint32_t chunk_size = littleEndian(chunk_header + 4, 4);
    const sf::Int64 chunk_start = stream.tell();
    if (std::memcmp(chunk_header, "data", 4) == 0) {
      return chunk_size <= stream_size - chunk_start;
    }
    if (std::memcmp(chunk_header, "fmt ", 4) == 0) {
      unsigned char format[16];
      if (chunk_size < sizeof format || !readBytes(stream, format, sizeof format)) {
        return true;
      }
      if (!plausibleFormat(format)) {
        return false;
      }
    }
    stream.seek(chunk_start + static_cast<sf::Int64>(chunk_size));
  }
  return true;
}

} // namespace

bool isPlausibleSoundFile(sf::InputStream &stream) {
  stream.seek(0);
  const bool is_plausible = plausibleHeader(stream);
  stream.seek(0);
  return is_plausible;
}

} // namespace qm
