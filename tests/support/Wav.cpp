#include "Wav.h"

#include <fstream>

namespace qm_test {

std::string writeWav(const std::string &name, int sample_count, const WavHeader &header) {
  const auto little_endian = [](std::uint32_t value, int bytes) {
    std::string text;
    for (int i = 0; i < bytes; i++) {
      text += static_cast<char>(value >> (8 * i));
    }
    return text;
  };
  const std::uint32_t data_size = 2 * static_cast<std::uint32_t>(sample_count);
  const std::uint32_t block_align = header.channels * header.bits_per_sample / 8;
  const std::string format =
      "fmt " + little_endian(16, 4) + little_endian(1, 2) + little_endian(header.channels, 2) +
      little_endian(header.sample_rate, 4) + little_endian(header.sample_rate * block_align, 4) +
      little_endian(block_align, 2) + little_endian(header.bits_per_sample, 2);
  std::ofstream(name, std::ios::binary | std::ios::trunc)
      << "RIFF" + little_endian(36 + data_size, 4) + "WAVE" + format + "data" +
             little_endian(data_size + header.extra_data_size, 4) + std::string(data_size, '\0');
  return name;
}

} // namespace qm_test
