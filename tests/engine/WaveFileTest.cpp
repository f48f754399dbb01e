// Sound files whose headers claim what no real recording has are refused
// before SFML sizes its buffers from them.
#include "WaveFile.h"

#include "RegularFile.h"
#include "TestSupport.h"
#include "Wav.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

bool isPlausible(const std::string &filename) {
  qm::RegularFile file;
  return file.open(filename) == 0 && qm::isPlausibleSoundFile(file);
}

TEST(WaveFile, HeadersBeyondAnyRealRecordingAreRefused) {
  const struct {
    const char *what;
    qm_test::WavHeader header;
    bool plausible;
  } rows[] = {
      {"ordinary", {}, true},
      {"8 channels at 384000 Hz, 32 bits", {8, 384000, 32, 0}, true},
      {"8 bits", {2, 8000, 8, 0}, true},
      {"24 bits", {1, 48000, 24, 0}, true},
      {"no channel", {0, 44100, 16, 0}, false},
      {"9 channels", {9, 44100, 16, 0}, false},
      {"65535 channels", {65535, 44100, 16, 0}, false},
      {"rate 0", {1, 0, 16, 0}, false},
      {"rate 384001", {1, 384001, 16, 0}, false},
      {"rate 0xFFFFFFFF", {1, 0xFFFFFFFF, 16, 0}, false},
      {"12 bits", {1, 44100, 12, 0}, false},
      {"0 bits", {1, 44100, 0, 0}, false},
      {"data one byte past the end", {1, 44100, 16, 1}, false},
      {"data size 0xFFFFFFFF", {1, 44100, 16, 0xFFFFFFFF - 200}, false},
  };
  for (const auto &row : rows) {
    EXPECT_EQ(isPlausible(qm_test::writeWav("header.wav", 100, row.header)), row.plausible)
        << row.what;
  }
}

TEST(WaveFile, WhatIsNotAWaveFileIsLeftToTheLoader) {
  EXPECT_TRUE(isPlausible(qm_test::writeFile("empty.wav", "")));
  EXPECT_TRUE(isPlausible(qm_test::writeFile("ogg.ogg", "OggS\0\0\0")));
  // A header cut off inside its format chunk says nothing to refuse.
  EXPECT_TRUE(isPlausible(qm_test::writeFile("cut.wav", "RIFF\x24\0\0\0WAVEfmt ")));
}

TEST(WaveFile, TheGamesOwnSoundsArePlausible) {
  int checked = 0;
  for (const auto &entry : std::filesystem::directory_iterator(qm_test::sourcePath("Sounds"))) {
    EXPECT_TRUE(isPlausible(entry.path().string())) << entry.path();
    checked++;
  }
  EXPECT_EQ(checked, 6);
}

} // namespace
