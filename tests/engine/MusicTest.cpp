#include "Music.h"
#include "ResourceManager.h"

#include "TestSupport.h"
#include "Wav.h"

#include <gtest/gtest.h>
#include <string>

// Every music slot opens the audio device. The audio and GL drivers are
// unloaded before the leak check runs, and what they still hold then shows as
// leaks from "<unknown module>" that no suppression can name; leak checking is
// off for this binary only.
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

namespace {

constexpr int ONE_SECOND = 44100;

TEST(Music, PlayWithoutLoopKeepsTheLoopingThatWasSet) {
  qm::Music music;
  ASSERT_EQ(music.loadMusic(qm_test::writeWav("theme.wav", ONE_SECOND)), 0);
  music.play(false);
  EXPECT_FALSE(music.getMusic()->getLoop());
  music.play(true);
  EXPECT_TRUE(music.getMusic()->getLoop());
  music.play(false);
  EXPECT_TRUE(music.getMusic()->getLoop());
  music.stop();
  EXPECT_EQ(music.getMusic()->getStatus(), sf::SoundSource::Stopped);
}

TEST(Music, UnopenableFileIsReported) {
  qm_test::restartLog();
  qm::Music music;
  EXPECT_EQ(music.loadMusic("no-such-music.wav"), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Fail to open Music file\n");
}

// Music slots are never freed, so the table's whole life is one test: the
// refused loads take no slot, an unloaded track keeps its slot, and exactly
// fifty loads succeed.
TEST(MusicTable, FillsUpOnceAndUnloadedTracksKeepTheirSlots) {
  qm::ResourceManager &resources = qm::ResourceManager::getInstance();
  const std::string theme = qm_test::writeWav("theme.wav", ONE_SECOND);
  qm_test::restartLog();

  EXPECT_EQ(resources.loadMusic("no-such-music.wav", "theme"), -1);
  EXPECT_EQ(resources.loadMusic(theme, ""), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Fail to open Music file\n"
                                "Message : Error! Unable to load from file\n"
                                "Message : Error! Cannot have empty string as Music label\n");
  EXPECT_EQ(resources.getMusic(""), nullptr);

  ASSERT_EQ(resources.loadMusic(theme, "theme"), 0);
  ASSERT_EQ(resources.loadMusic(theme, "theme"), 0);
  qm::Music *p_theme = resources.getMusic("theme");
  ASSERT_NE(p_theme, nullptr);
  EXPECT_EQ(p_theme->getLabel(), "theme");

  qm_test::restartLog();
  EXPECT_EQ(resources.unloadMusic("theme"), 0);
  EXPECT_EQ(resources.getMusic(""), p_theme);
  EXPECT_EQ(resources.getMusic("theme"), p_theme + 1);
  EXPECT_EQ(resources.unloadMusic("nobody"), -1);
  EXPECT_EQ(qm_test::readLog(), "");

  for (int i = 2; i < qm::MAX_MUSICS; i++) {
    ASSERT_EQ(resources.loadMusic(theme, "track" + std::to_string(i)), 0) << i;
  }
  EXPECT_EQ(resources.loadMusic(theme, "one-more"), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Sound array full\n");
  EXPECT_EQ(resources.getMusic("one-more"), nullptr);
  EXPECT_NE(resources.getMusic("track49"), nullptr);
}

} // namespace
