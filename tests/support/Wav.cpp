#include "Wav.h"

#include <cstdint>
#include <fstream>

namespace qm_test {

namespace {

void putLittleEndian(std::ofstream &file, uint32_t value, int byte_count) {
  for (int i = 0; i < byte_count; i++) {
    file.put(static_cast<char>((value >> (8 * i)) & 0xff));
  }
}

} // namespace

std::string writeWav(const std::string &name, int sample_count) {
  const uint32_t sample_rate = 44100;
  const uint32_t bytes_per_sample = 2;
  const uint32_t data_size = static_cast<uint32_t>(sample_count) * bytes_per_sample;
  std::ofstream file(name, std::ios::binary | std::ios::trunc);
  file.write("RIFF", 4);
  putLittleEndian(file, 36 + data_size, 4);
  file.write("WAVEfmt ", 8);
  putLittleEndian(file, 16, 4); // size of the format chunk
  putLittleEndian(file, 1, 2);  // PCM
  putLittleEndian(file, 1, 2);  // mono
  putLittleEndian(file, sample_rate, 4);
  putLittleEndian(file, sample_rate * bytes_per_sample, 4);
  putLittleEndian(file, bytes_per_sample, 2);
  putLittleEndian(file, 16, 2); // bits per sample
  file.write("data", 4);
  putLittleEndian(file, data_size, 4);
  for (int i = 0; i < sample_count; i++) {
    const int16_t sample = (i / 50) % 2 == 0 ? 1000 : -1000;
    putLittleEndian(file, static_cast<uint16_t>(sample), 2);
  }
  return name;
}

} // namespace qm_test
