// A look at a sound file's header before SFML gets it. SFML believes a WAV
// header whatever it says, and a sample rate or channel count no real file
// has makes it allocate gigabytes; such files are refused first.
#pragma once

#include <SFML/System/InputStream.hpp>

namespace qm {

inline constexpr int WAVE_MAX_CHANNELS = 8;
inline constexpr unsigned WAVE_MAX_SAMPLE_RATE = 384000; // samples per second

// False for a RIFF WAVE stream whose format is out of reach of any real
// recording: channels outside 1 to 8, a sample rate outside 1 to 384000,
// bits per sample other than 8, 16, 24 or 32, or sample data said to run past
// the end of the stream. True for anything else, which SFML judges itself
// (other formats, streams it cannot parse). Leaves the stream at its start.
bool isPlausibleSoundFile(sf::InputStream &stream);

} // namespace qm
