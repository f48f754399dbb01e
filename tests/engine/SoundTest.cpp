#include "Sound.h"
#include "ResourceManager.h"

#include "TestSupport.h"
#include "Wav.h"

#include <gtest/gtest.h>
#include <sstream>

// Every sound slot opens the audio device. The audio and GL drivers are
// unloaded before the leak check runs, and what they still hold then shows as
// leaks from "<unknown module>" that no suppression can name; leak checking is
// off for this binary only.
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

namespace {

// Sample counts tell the test files apart.
constexpr int SHORT_SAMPLES = 100;
constexpr int MIDDLE_SAMPLES = 200;
constexpr int LONG_SAMPLES = 300;

unsigned long long voiceSamples(const qm::Sound *p_sound) {
  const sf::Sound voice = p_sound->getSound();
  return voice.getBuffer() ? voice.getBuffer()->getSampleCount() : 0;
}

// The sound table lives as long as the program and start-up leaves it alone,
// so each test begins by unloading every label that the tests use.
class SoundTable : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char *label : {"a", "b", "c", "d", "twin", "filler"}) {
      while (resources().getSound(label) != nullptr) {
        resources().unloadSound(label);
      }
    }
    qm_test::writeWav("short.wav", SHORT_SAMPLES);
    qm_test::writeWav("middle.wav", MIDDLE_SAMPLES);
    qm_test::writeWav("long.wav", LONG_SAMPLES);
    qm_test::restartLog();
  }

  static qm::ResourceManager &resources() { return qm::ResourceManager::getInstance(); }

  // Fills the table and empties it again; the number of sounds that fitted is
  // the number of free slots there were.
  static int freeSlots() {
    int loaded = 0;
    while (loaded <= qm::MAX_SOUNDS && resources().loadSound("short.wav", "filler") == 0) {
      loaded++;
    }
    while (resources().getSound("filler") != nullptr) {
      resources().unloadSound("filler");
    }
    return loaded;
  }
};

TEST_F(SoundTable, LoadedSoundIsFoundByItsLabel) {
  ASSERT_EQ(resources().loadSound("middle.wav", "a"), 0);
  const qm::Sound *p_sound = resources().getSound("a");
  ASSERT_NE(p_sound, nullptr);
  EXPECT_EQ(p_sound->getLabel(), "a");
  EXPECT_EQ(voiceSamples(p_sound), MIDDLE_SAMPLES);
  EXPECT_EQ(resources().getSound("A"), nullptr);
  EXPECT_EQ(qm_test::readLog(), "");
}

TEST_F(SoundTable, UnreadableFileWritesBothLinesAndTakesNoSlot) {
  qm_test::writeFile("not-a-sound.wav", "plain text");
  EXPECT_EQ(resources().loadSound("no-such-sound.wav", "a"), -1);
  EXPECT_EQ(resources().loadSound("not-a-sound.wav", "a"), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Fail to load sound\n"
                                "Message : Error! Unable to load from file\n"
                                "Message : Error! Fail to load sound\n"
                                "Message : Error! Unable to load from file\n");
  EXPECT_EQ(resources().getSound("a"), nullptr);
  EXPECT_EQ(freeSlots(), qm::MAX_SOUNDS);
}

TEST_F(SoundTable, FullTableRefusesAnotherSound) {
  for (int i = 0; i < qm::MAX_SOUNDS; i++) {
    ASSERT_EQ(resources().loadSound("short.wav", "filler"), 0);
  }
  EXPECT_EQ(resources().loadSound("middle.wav", "a"), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Sound array full\n");
  EXPECT_EQ(resources().getSound("a"), nullptr);
}

TEST_F(SoundTable, SharedLabelFindsTheEarlierSound) {
  ASSERT_EQ(resources().loadSound("short.wav", "twin"), 0);
  ASSERT_EQ(resources().loadSound("long.wav", "twin"), 0);
  EXPECT_EQ(voiceSamples(resources().getSound("twin")), SHORT_SAMPLES);
}

TEST_F(SoundTable, UnloadingTheOnlySoundEmptiesTheTable) {
  ASSERT_EQ(resources().loadSound("short.wav", "a"), 0);
  EXPECT_EQ(resources().unloadSound("a"), 0);
  EXPECT_EQ(resources().getSound("a"), nullptr);
  EXPECT_EQ(freeSlots(), qm::MAX_SOUNDS);
}

TEST_F(SoundTable, UnloadingAnUnknownLabelSucceedsSilently) {
  ASSERT_EQ(resources().loadSound("short.wav", "a"), 0);
  EXPECT_EQ(resources().unloadSound("nobody"), 0);
  EXPECT_NE(resources().getSound("a"), nullptr);
  EXPECT_EQ(qm_test::readLog(), "");
}

TEST_F(SoundTable, UnloadingTheMiddleMovesTheRestDownInOrder) {
  ASSERT_EQ(resources().loadSound("short.wav", "a"), 0);
  ASSERT_EQ(resources().loadSound("middle.wav", "b"), 0);
  ASSERT_EQ(resources().loadSound("long.wav", "c"), 0);
  qm::Sound *p_first = resources().getSound("a");

  EXPECT_EQ(resources().unloadSound("b"), 0);
  EXPECT_EQ(resources().getSound("b"), nullptr);
  EXPECT_EQ(resources().getSound("a"), p_first);
  EXPECT_EQ(resources().getSound("c"), p_first + 1);
  EXPECT_EQ(freeSlots(), qm::MAX_SOUNDS - 2);
}

TEST_F(SoundTable, MovedSoundsPlayTheirOwnSamples) {
  ASSERT_EQ(resources().loadSound("middle.wav", "a"), 0);
  ASSERT_EQ(resources().loadSound("long.wav", "b"), 0);
  ASSERT_EQ(resources().loadSound("middle.wav", "c"), 0);
  EXPECT_EQ(resources().unloadSound("a"), 0);
  // The slot that c left is loaded afresh: a voice still bound to that
  // slot's buffer would now play these samples.
  ASSERT_EQ(resources().loadSound("short.wav", "d"), 0);

  const qm::Sound *p_b = resources().getSound("b");
  const qm::Sound *p_c = resources().getSound("c");
  const qm::Sound *p_d = resources().getSound("d");
  ASSERT_TRUE(p_b && p_c && p_d);
  EXPECT_EQ(voiceSamples(p_b), LONG_SAMPLES);
  EXPECT_EQ(voiceSamples(p_c), MIDDLE_SAMPLES);
  EXPECT_EQ(voiceSamples(p_d), SHORT_SAMPLES);
  EXPECT_NE(p_b->getSound().getBuffer(), p_c->getSound().getBuffer());
  EXPECT_NE(p_c->getSound().getBuffer(), p_d->getSound().getBuffer());
}

TEST(Sound, AssignedSoundKeepsItsOwnCopyOfTheSamples) {
  qm_test::restartLog();
  qm_test::writeWav("short.wav", SHORT_SAMPLES);
  qm_test::writeWav("long.wav", LONG_SAMPLES);
  qm::Sound copy;
  {
    qm::Sound original;
    ASSERT_EQ(original.loadSound("short.wav"), 0);
    original.setLabel("original");
    copy = original;
    ASSERT_EQ(original.loadSound("long.wav"), 0);
    EXPECT_EQ(voiceSamples(&original), LONG_SAMPLES);
  }
  EXPECT_EQ(copy.getLabel(), "original");
  EXPECT_EQ(voiceSamples(&copy), SHORT_SAMPLES);

  // Taking an empty sound frees the old samples; the audio library complains
  // on its error stream when they are still bound to the voice.
  std::ostringstream audio_errors;
  std::streambuf *p_old_errors = sf::err().rdbuf(audio_errors.rdbuf());
  qm::Sound empty;
  copy = empty;
  sf::err().rdbuf(p_old_errors);
  EXPECT_EQ(audio_errors.str(), "");
  EXPECT_EQ(copy.getSound().getBuffer(), nullptr);
  EXPECT_EQ(copy.getLabel(), "");
}

TEST(Sound, PlaySetsLoopingEachTime) {
  qm_test::writeWav("long.wav", LONG_SAMPLES);
  qm::Sound sound;
  ASSERT_EQ(sound.loadSound("long.wav"), 0);
  sound.play(true);
  EXPECT_TRUE(sound.getSound().getLoop());
  sound.play(false);
  EXPECT_FALSE(sound.getSound().getLoop());
  sound.stop();
}

} // namespace
