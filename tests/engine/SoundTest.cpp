// The machine's stand-in for a sound card: OpenAL's null device plays.
#include "Wav.h"

#include <SFML/Audio.hpp>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(Sound, ATestWavePlaysOnTheAudioDevice) {
  // The test runner chooses the null device; so does a run by hand.
  setenv("ALSOFT_DRIVERS", "null", 0);
  sf::SoundBuffer buffer;
  ASSERT_TRUE(buffer.loadFromFile(qm_test::writeWav("smoke.wav", 22050)));
  sf::Sound sound(buffer);

  sound.play();

  EXPECT_EQ(sound.getStatus(), sf::Sound::Playing);
}

} // namespace
