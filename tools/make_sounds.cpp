// make_sounds: synthesises the game's sound effects and music loops as WAV files
// (16-bit PCM, mono, 22050 Hz), so that Sounds/ is rebuilt from source rather than
// kept as opaque recordings. Usage: make_sounds [DIRECTORY], "Sounds" by default.

#include <SFML/Audio.hpp>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int SAMPLE_RATE = 22050;
constexpr double PI = 3.14159265358979323846;
// Every note fades in and out over this time: a note that starts or stops on a
// non-zero sample clicks, and a loop that does so clicks at every repeat.
constexpr double FADE_SECONDS = 0.004;
// Peak level after mixing, below full scale to leave the audio library headroom.
constexpr double PEAK = 0.8;

// Music lines are written one entry per step of a grid of equal steps.
constexpr int REST = 0;
constexpr int HOLD = -1; // lengthens the note before it by one step

using Track = std::vector<double>;

enum class Wave { SINE, TRIANGLE, SQUARE, NOISE };

struct Note {
  double start;    // seconds
  double length;   // seconds
  double start_hz; // the pitch glides linearly from start_hz to end_hz
  double end_hz;
  double volume;
  Wave wave;
  double decay; // exponential fall per second; 0 holds the level
};

double midiToHz(int midi_note) {
  return 440.0 * std::pow(2.0, (midi_note - 69) / 12.0);
}

// Noise from a hash of the sample index, not a generator with state, so the
// output is the same on every run and every platform.
double noiseAt(uint32_t sample_index) {
  uint32_t hash = sample_index * 2654435761u;
  hash ^= hash >> 15;
  hash *= 2246822519u;
  hash ^= hash >> 13;
  return (hash & 0xFFFF) / 32767.5 - 1.0;
}

double waveAt(Wave wave, double phase, uint32_t sample_index) {
  switch (wave) {
  case Wave::SINE:
    return std::sin(2.0 * PI * phase);
  case Wave::TRIANGLE:
    return 1.0 - 4.0 * std::fabs(phase - 0.5);
  case Wave::SQUARE:
    // Only the first four odd harmonics: a true square's edges alias at this
    // sample rate and sound harsh, and these stay below its limit up to 1.5 kHz.
    return (std::sin(2.0 * PI * phase) + std::sin(6.0 * PI * phase) / 3.0 +
            std::sin(10.0 * PI * phase) / 5.0 + std::sin(14.0 * PI * phase) / 7.0) *
           4.0 / PI;
  case Wave::NOISE:
    return noiseAt(sample_index);
  }
  return 0.0;
}

// Mixes one note into the track, growing the track when the note runs past its end.
void addNote(Track &track, const Note &note) {
  const long first = std::lround(note.start * SAMPLE_RATE);
  const long count = std::lround(note.length * SAMPLE_RATE);
  const double fade = FADE_SECONDS * SAMPLE_RATE;
  if (static_cast<long>(track.size()) < first + count) {
    track.resize(static_cast<std::size_t>(first + count), 0.0);
  }
  double phase = 0.0;
  for (long i = 0; i < count; i++) {
    const double hz = note.start_hz + (note.end_hz - note.start_hz) * static_cast<double>(i) /
                                          static_cast<double>(count);
    phase += hz / SAMPLE_RATE;
    phase -= std::floor(phase);
    const double envelope = note.volume *
                            std::exp(-note.decay * static_cast<double>(i) / SAMPLE_RATE) *
                            std::min(1.0, static_cast<double>(i) / fade) *
                            std::min(1.0, static_cast<double>(count - 1 - i) / fade);
    track[static_cast<std::size_t>(first + i)] +=
        envelope * waveAt(note.wave, phase, static_cast<uint32_t>(first + i));
  }
}

// Lays a line of MIDI notes on a grid of steps (REST and HOLD as above). Each
// note stops a little before its last step ends, so repeated notes stay apart.
void addLine(Track &track, const std::vector<int> &line, double step_seconds, double volume,
             Wave wave, double decay) {
  for (size_t step = 0; step < line.size(); step++) {
    if (line[step] <= REST) {
      continue;
    }
    size_t steps = 1;
    while (step + steps < line.size() && line[step + steps] == HOLD) {
      steps++;
    }
    const double hz = midiToHz(line[step]);
    addNote(track,
            {static_cast<double>(step) * step_seconds,
             (static_cast<double>(steps) - 0.1) * step_seconds, hz, hz, volume, wave, decay});
  }
}

void normalise(Track &track) {
  double loudest = 0.0;
  for (double sample : track) {
    loudest = std::max(loudest, std::fabs(sample));
  }
  if (loudest > 0.0) {
    for (double &sample : track) {
      sample *= PEAK / loudest;
    }
  }
}

Track impact() {
  Track track;
  addNote(track, {0.0, 0.07, 1300.0, 500.0, 1.0, Wave::SQUARE, 45.0});
  addNote(track, {0.0, 0.02, 0.0, 0.0, 0.5, Wave::NOISE, 80.0});
  return track;
}

Track powerUpPickUp() {
  Track track;
  const int arpeggio[] = {72, 76, 79, 84}; // C major, rising to the octave
  for (int i = 0; i < 4; i++) {
    const double hz = midiToHz(arpeggio[i]);
    addNote(track, {i * 0.06, i == 3 ? 0.2 : 0.07, hz, hz, 0.8, Wave::SQUARE, i == 3 ? 12.0 : 4.0});
  }
  return track;
}

Track powerUpSpawn() {
  Track track;
  const int sparkle[] = {88, 95, 100, 96, 103, 100};
  for (int i = 0; i < 6; i++) {
    const double hz = midiToHz(sparkle[i]);
    addNote(track, {i * 0.045, 0.15, hz, hz, 0.6, Wave::SINE, 18.0});
  }
  return track;
}

Track fall() {
  Track track;
  addNote(track, {0.0, 0.6, 880.0, 110.0, 1.0, Wave::TRIANGLE, 2.0});
  return track;
}

// C, A minor, F, G at 150 beats a minute in eighth notes: 32 steps of exactly
// 4410 samples, 6.4 s. The last bar ends on G so the loop falls back to C.
Track gameMusic() {
  constexpr double STEP = 0.2;
  Track track(std::lround(32 * STEP * SAMPLE_RATE), 0.0);
  const std::vector<int> melody = {
      76, 79,   84, 79,   76, 79, 72, HOLD, // C
      72, 76,   81, 76,   72, 76, 69, HOLD, // Am
      77, 81,   84, 81,   77, 81, 79, 77,   // F
      79, HOLD, 74, HOLD, 71, 74, 79, HOLD, // G
  };
  std::vector<int> bass;
  for (int root : {48, 45, 41, 43}) {
    for (int i = 0; i < 4; i++) {
      bass.push_back(root);
      bass.push_back(root + 12);
    }
  }
  addLine(track, melody, STEP, 0.30, Wave::SQUARE, 3.0);
  addLine(track, bass, STEP, 0.55, Wave::TRIANGLE, 4.0);
  for (int step = 1; step < 32; step += 2) {
    addNote(track, {step * STEP, 0.03, 0.0, 0.0, 0.12, Wave::NOISE, 60.0});
  }
  return track;
}

// A minor, F, D minor, E, 1.6 s each, on steps twice as long as the game
// music's: 16 steps of exactly 8820 samples, 6.4 s. The E chord's G sharp
// leads back to the A at the top of the loop.
Track loseMusic() {
  constexpr double STEP = 0.4;
  Track track(std::lround(16 * STEP * SAMPLE_RATE), 0.0);
  const std::vector<int> melody = {
      76, HOLD, 72,   69, // Am
      77, HOLD, 72,   69, // F
      74, HOLD, 77,   74, // Dm
      71, HOLD, HOLD, 68, // E
  };
  const std::vector<int> bass = {
      45, HOLD, 52, HOLD, 41, HOLD, 48, HOLD, 38, HOLD, 45, HOLD, 40, HOLD, 47, HOLD,
  };
  addLine(track, melody, STEP, 0.45, Wave::TRIANGLE, 1.5);
  addLine(track, bass, STEP, 0.5, Wave::SINE, 0.8);
  return track;
}

// The audio library writes the file, picking the WAV format from the name, so
// that the game's sounds are exactly what it reads back.
int writeWav(const std::string &path, const Track &track) {
  std::vector<sf::Int16> samples;
  samples.reserve(track.size());
  for (double sample : track) {
    const double clamped = std::clamp(sample, -1.0, 1.0);
    samples.push_back(static_cast<sf::Int16>(std::lround(clamped * 32767.0)));
  }
  sf::SoundBuffer buffer;
  if (!buffer.loadFromSamples(samples.data(), samples.size(), 1, SAMPLE_RATE)) {
    return -1;
  }
  return buffer.saveToFile(path) ? 0 : -1;
}

} // namespace

int main(int argc, char **argv) {
  const std::string directory = argc > 1 ? argv[1] : "Sounds";
  // A sound buffer lives on the audio device, which is opened when the first
  // is made. On a machine without a sound card the buffer then holds nothing,
  // and the file gets a meaningless rate and channel count; OpenAL's null
  // device serves for writing files everywhere.
  setenv("ALSOFT_DRIVERS", "null", 1);
  // A directory that cannot be made shows up as the first write failure below.
  std::error_code ignored;
  std::filesystem::create_directories(directory, ignored);

  struct Output {
    const char *file_name;
    Track track;
  };
  Output outputs[] = {
      {"fall.wav", fall()},
      {"impact.wav", impact()},
      {"power_up_pick_up.wav", powerUpPickUp()},
      {"power_up_spawn.wav", powerUpSpawn()},
      {"lose_music.wav", loseMusic()},
      {"game_music.wav", gameMusic()},
  };
  for (Output &output : outputs) {
    normalise(output.track);
    const std::string path = directory + "/" + output.file_name;
    if (writeWav(path, output.track) != 0) {
      std::fprintf(stderr, "make_sounds: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
