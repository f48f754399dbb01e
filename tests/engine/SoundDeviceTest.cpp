// Runs with OpenAL's driver list naming no driver that exists (set where the
// test is declared), as on a machine without a sound card.
#include "SoundDevice.h"

#include "ResourceManager.h"
#include "TestSupport.h"
#include "Wav.h"

#include <gtest/gtest.h>

namespace {

TEST(SoundDevice, WithoutOneSoundsLoadAsUsualButPlaySilentlyAndItIsSaidOnce) {
  qm_test::restartLog();
  testing::internal::CaptureStderr();
  qm::ResourceManager &resources = qm::ResourceManager::getInstance();
  resources.startUp();
  EXPECT_FALSE(qm::soundDeviceWorks());

  const std::string wav = qm_test::writeWav("silence.wav", 4410);
  ASSERT_EQ(resources.loadSound(wav, "beep"), 0);
  ASSERT_EQ(resources.loadMusic(wav, "tune"), 0);
  EXPECT_EQ(resources.loadSound("no-such.wav", "none"), -1);
  resources.getSound("beep")->play(false);
  qm::Music *p_tune = resources.getMusic("tune");
  p_tune->play(true);
  EXPECT_EQ(p_tune->getMusic()->getStatus(), sf::SoundSource::Stopped);
  EXPECT_TRUE(p_tune->getMusic()->getLoop());
  p_tune->pause();
  p_tune->stop();
  resources.shutDown();
  resources.startUp();

  EXPECT_EQ(testing::internal::GetCapturedStderr(), "No sound device: running without sound.\n");
  EXPECT_EQ(qm_test::readLog(),
            "Message : Warning: No sound device; sounds and music will not play.\n"
            "Message : Error! Fail to load sound\n"
            "Message : Error! Unable to load from file\n");
}

} // namespace
