// Small WAV files written by the tests, so that sound tests do not depend on
// the game's own sound files.
#pragma once

#include <string>

namespace qm_test {

// Writes a mono 16-bit PCM WAV file of sample_count silent samples at 44100 Hz
// in the working directory and returns its name. Files of different lengths
// tell their buffers apart by sample count.
std::string writeWav(const std::string &name, int sample_count);

} // namespace qm_test
