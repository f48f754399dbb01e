// Small WAV files written by the tests, so that sound tests do not depend on
// the game's own sound files.
#pragma once

#include <cstdint>
#include <string>

namespace qm_test {

// What a header claims. The samples written are always 16-bit mono silence;
// a claim that differs makes the header lie about them.
struct WavHeader {
  std::uint32_t channels = 1;
  std::uint32_t sample_rate = 44100;
  std::uint32_t bits_per_sample = 16;
  // Bytes of sample data claimed beyond those written.
  std::uint32_t extra_data_size = 0;
};

// Writes a PCM WAV file of sample_count silent samples in the working
// directory and returns its name. Files of different lengths tell their
// buffers apart by sample count.
std::string writeWav(const std::string &name, int sample_count, const WavHeader &header = {});

} // namespace qm_test
