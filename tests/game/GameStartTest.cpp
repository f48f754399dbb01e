// The start screen: its look and music, P (once per screen), Q and the other
// keys, and the game it builds.
#include "GameStart.h"
#include "EventView.h"
#include "GameFixture.h"
#include "GameManager.h"
#include "InputManager.h"
#include "ResourceManager.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

// The resource manager opens the audio device, and GL and audio drivers are
// unloaded before the leak check runs, so their allocations would show as
// leaks from "<unknown module>".
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

namespace {

class StartScreen : public qm_test::GameFixture {
protected:
  void SetUp() override {
    GameFixture::SetUp();
    p_start = new GameStart;
  }
  static void press(sf::Keyboard::Key code) {
    qm::InputManager::getInstance().dispatch(keyEvent(sf::Event::KeyPressed, code));
  }
  static void release(sf::Keyboard::Key code) {
    qm::InputManager::getInstance().dispatch(keyEvent(sf::Event::KeyReleased, code));
  }
  static sf::SoundSource::Status gameMusicStatus() {
    return qm::ResourceManager::getInstance().getMusic("game_music")->getMusic()->getStatus();
  }
  // One game's objects, and nothing else.
  static void expectOneGame() {
    EXPECT_EQ(countOfType("Platform"), 1);
    EXPECT_EQ(countOfType("Ball"), 1);
    EXPECT_EQ(countOfType("Border"), 3);
    EXPECT_EQ(countOfType("Corner"), 2);
    EXPECT_EQ(countOfType("points"), 1);
    EXPECT_EQ(countOfType("GameStart"), 0);
    EXPECT_EQ(qm::WorldManager::getInstance().getAllObjects().getCount(), 8);
  }

  GameStart *p_start = nullptr;
};

TEST_F(StartScreen, IsCentredSpectralOnTopAndPlaysTheGameMusic) {
  EXPECT_EQ(p_start->getType(), "GameStart");
  EXPECT_EQ(spriteLabel(p_start), "game_start");
  EXPECT_EQ(p_start->getPosition().getX(), 40.0f);
  EXPECT_EQ(p_start->getPosition().getY(), 12.0f);
  EXPECT_EQ(p_start->getSolidness(), qm::SPECTRAL);
  EXPECT_EQ(p_start->getAltitude(), 4);
  EXPECT_EQ(gameMusicStatus(), sf::SoundSource::Playing);
  EXPECT_TRUE(addressLogged(p_start));
}

TEST_F(StartScreen, PBuildsOneGameAndTheScreenGoesWithItsMusic) {
  press(sf::Keyboard::P);
  qm::WorldManager::getInstance().update();
  expectOneGame();
  EXPECT_EQ(gameMusicStatus(), sf::SoundSource::Stopped);
}

TEST_F(StartScreen, PressAndReleaseInOnePassBuildOneGame) {
  press(sf::Keyboard::P);
  release(sf::Keyboard::P);
  qm::WorldManager::getInstance().update();
  expectOneGame();
}

TEST_F(StartScreen, ReleaseInTheNextPassFindsTheScreenGone) {
  runFrame(0);
  press(sf::Keyboard::P);
  qm::WorldManager::getInstance().update();
  runFrame(1);
  release(sf::Keyboard::P);
  qm::WorldManager::getInstance().update();
  expectOneGame();
}

TEST_F(StartScreen, QEndsTheGame) {
  release(sf::Keyboard::Q);
  EXPECT_TRUE(qm::GameManager::getInstance().getGameOver());
  EXPECT_EQ(countOfType("GameStart"), 1);
}

TEST_F(StartScreen, OtherKeysAreHandledWithoutEffect) {
  qm::EventKeyboard key;
  key.setKey(qm::Keyboard::SPACE);
  key.setKeyboardAction(qm::KEY_PRESSED);
  EXPECT_EQ(p_start->eventHandler(&key), 1);
  key.setKey(qm::Keyboard::UNDEFINED_KEY);
  EXPECT_EQ(p_start->eventHandler(&key), 1);
  qm::WorldManager::getInstance().update();
  EXPECT_EQ(countOfType("GameStart"), 1);
  EXPECT_EQ(qm::WorldManager::getInstance().getAllObjects().getCount(), 1);
  EXPECT_FALSE(qm::GameManager::getInstance().getGameOver());
}

TEST_F(StartScreen, NonKeyboardEventsAreNotHandled) {
  const qm::EventView view("", 1, true);
  EXPECT_EQ(p_start->eventHandler(&view), 0);
  EXPECT_EQ(p_start->getValue(), 0);
}

TEST_F(StartScreen, WorksSilentlyWithoutTheGameMusic) {
  qm::ResourceManager &resource_manager = qm::ResourceManager::getInstance();
  resource_manager.unloadMusic("game_music");
  GameStart *p_silent = new GameStart;
  p_silent->start();
  qm::WorldManager::getInstance().update();
  EXPECT_EQ(countOfType("GameStart"), 1);
  // Loaded again for the tests that follow; the old slot stays used.
  resource_manager.loadMusic("game_music.wav", "game_music");
}

} // namespace
