// The test machine's stand-ins work: under Xvfb a window opens and the font
// draws, and OpenAL's null device plays sound.
//
// This binary opens a window and an audio device: GL and audio drivers are
// unloaded before the leak check runs, so their allocations would show as
// leaks from "<unknown module>".
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

#include "DisplayManager.h"
#include "Screen.h"
#include "Spy.h"
#include "TestSupport.h"

#include <SFML/Audio.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void putLittleEndian(std::ofstream &out, uint32_t value, int byte_count) {
  for (int i = 0; i < byte_count; i++) {
    out.put(static_cast<char>((value >> (8 * i)) & 0xff));
  }
}

// Half a second of a 440 Hz sine: 16-bit mono PCM at 44100 Hz.
std::string writeSineWave(const std::string &name) {
  const uint32_t sample_rate = 44100;
  const uint32_t sample_count = sample_rate / 2;
  const uint32_t data_size = sample_count * 2;
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write("RIFF", 4);
  putLittleEndian(out, 36 + data_size, 4);
  out.write("WAVEfmt ", 8);
  putLittleEndian(out, 16, 4);              // format chunk size
  putLittleEndian(out, 1, 2);               // PCM
  putLittleEndian(out, 1, 2);               // mono
  putLittleEndian(out, sample_rate, 4);     // samples per second
  putLittleEndian(out, sample_rate * 2, 4); // bytes per second
  putLittleEndian(out, 2, 2);               // bytes per frame
  putLittleEndian(out, 16, 2);              // bits per sample
  out.write("data", 4);
  putLittleEndian(out, data_size, 4);
  for (uint32_t i = 0; i < sample_count; i++) {
    const double sample = 12000 * std::sin(2 * M_PI * 440 * i / sample_rate);
    putLittleEndian(out, static_cast<uint32_t>(static_cast<int16_t>(sample)), 2);
  }
  return name;
}

TEST(Smoke, WindowOpensAtFullSizeAndTheFontDraws) {
  qm_test::resetWorld();
  std::filesystem::copy_file(qm_test::sourcePath("qm-font.ttf"), qm::FONT_FILE_DEFAULT,
                             std::filesystem::copy_options::overwrite_existing);
  qm::DisplayManager &display = qm::DisplayManager::getInstance();

  ASSERT_EQ(display.startUp(), 0);

  ASSERT_NE(display.getWindow(), nullptr);
  EXPECT_EQ(display.getWindow()->getSize(), sf::Vector2u(1024, 768));
  display.swapBuffers();
  display.drawCh(qm::Vector(40, 12), 'Q', qm::GREEN);
  EXPECT_EQ(qm_test::Screen::capture().inkColor(40, 12), sf::Color::Green);
  EXPECT_EQ(qm_test::readLog(), "");
}

TEST(Smoke, GeneratedWaveLoadsAndPlaysOnTheAudioDevice) {
  // The test runner chooses the null device; so does a run by hand.
  setenv("ALSOFT_DRIVERS", "null", 0);
  sf::SoundBuffer buffer;

  ASSERT_TRUE(buffer.loadFromFile(writeSineWave("sine.wav")));
  EXPECT_EQ(buffer.getSampleRate(), 44100u);
  EXPECT_EQ(buffer.getChannelCount(), 1u);
  EXPECT_EQ(buffer.getSampleCount(), 22050u);

  sf::Sound sound(buffer);
  sound.play();
  EXPECT_EQ(sound.getStatus(), sf::Sound::Playing);
  sound.stop();
  EXPECT_EQ(sound.getStatus(), sf::Sound::Stopped);
}

} // namespace
