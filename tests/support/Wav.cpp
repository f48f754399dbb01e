#include "Wav.h"

#include <cstdint>
#include <fstream>

namespace qm_test {

std::string writeWav(const std::string &name, int sample_count) {
  const auto little_endian = [](uint32_t value) {
    return std::string{static_cast<char>(value), static_cast<char>(value >> 8),
                       static_cast<char>(value >> 16), static_cast<char>(value >> 24)};
  };
  const uint32_t data_size = 2 * static_cast<uint32_t>(sample_count);
  // The format chunk: 16 bytes of PCM, mono, 44100 Hz, 88200 bytes a second,
  // 2-byte samples of 16 bits.
  const std::string format("fmt \x10\0\0\0\x01\0\x01\0\x44\xac\0\0\x88\x58\x01\0\x02\0\x10\0", 24);
  std::ofstream(name, std::ios::binary | std::ios::trunc)
      << "RIFF" + little_endian(36 + data_size) + "WAVE" + format + "data" +
             little_endian(data_size) + std::string(data_size, '\0');
  return name;
}

} // namespace qm_test
