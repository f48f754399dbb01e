// The game-over and win screens: one run through their animation, the new
// start screen, the clearing of the world and the losing music.
#include "EventCollision.h"
#include "EventKeyboard.h"
#include "EventView.h"
#include "GameFixture.h"
#include "GameOver.h"
#include "GameStart.h"
#include "ResourceManager.h"
#include "Spy.h"
#include "Win.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

// The resource manager opens the audio device, and GL and audio drivers are
// unloaded before the leak check runs, so their allocations would show as
// leaks from "<unknown module>".
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

namespace {

class EndScreens : public qm_test::GameFixture {
protected:
  // Frames from step 0 until the world holds a start screen; -1 if none came
  // within limit frames.
  int framesUntilStartScreen(int limit) {
    for (int step_count = 0; step_count < limit; step_count++) {
      runFrame(step_count);
      if (countOfType("GameStart") > 0) {
        return step_count + 1;
      }
    }
    return -1;
  }
  static int worldCount() { return qm::WorldManager::getInstance().getAllObjects().getCount(); }
  static sf::SoundSource::Status loseMusicStatus() {
    return qm::ResourceManager::getInstance().getMusic("lose_music")->getMusic()->getStatus();
  }

  qm_test::Journal journal;
};

TEST_F(EndScreens, GameOverLastsFramesTimesSlowdownStepsThenLeavesOnlyAStartScreen) {
  new qm_test::SpyObject("Platform", &journal);
  GameOver *p_game_over = new GameOver;
  EXPECT_EQ(p_game_over->getType(), "GameOver");
  EXPECT_TRUE(addressLogged(p_game_over));
  EXPECT_EQ(p_game_over->getPosition().getX(), 40.0f);
  EXPECT_EQ(p_game_over->getPosition().getY(), 12.0f);
  EXPECT_EQ(framesUntilStartScreen(100), qm_test::GAME_OVER_STEPS);
  EXPECT_EQ(countOfType("GameOver"), 0);
  EXPECT_EQ(countOfType("GameStart"), 1);
  EXPECT_EQ(worldCount(), 1);
}

TEST_F(EndScreens, WinLastsFramesTimesSlowdownStepsThenLeavesOnlyAStartScreen) {
  new qm_test::SpyObject("Platform", &journal);
  Win *p_win = new Win;
  EXPECT_EQ(p_win->getType(), "Win");
  EXPECT_EQ(spriteLabel(p_win), "win");
  EXPECT_TRUE(addressLogged(p_win));
  EXPECT_EQ(framesUntilStartScreen(100), qm_test::WIN_STEPS);
  EXPECT_EQ(countOfType("Win"), 0);
  EXPECT_EQ(worldCount(), 1);
}

TEST_F(EndScreens, LosingMusicPlaysWhileGameOverIsUp) {
  new GameOver;
  EXPECT_EQ(loseMusicStatus(), sf::SoundSource::Playing);
  framesUntilStartScreen(100);
  EXPECT_EQ(loseMusicStatus(), sf::SoundSource::Stopped);
}

TEST_F(EndScreens, WithoutTheirSpriteTheyEndAtTheFirstStep) {
  qm::ResourceManager &resource_manager = qm::ResourceManager::getInstance();
  resource_manager.unloadSprite("game_over");
  resource_manager.unloadSprite("win");
  new GameOver;
  EXPECT_EQ(framesUntilStartScreen(100), 1);
  EXPECT_EQ(worldCount(), 1);
  new Win;
  runFrame(1);
  EXPECT_EQ(countOfType("Win"), 0);
}

TEST_F(EndScreens, ClearingSparesEveryStartScreen) {
  new GameStart;
  new qm_test::SpyObject("Ball", &journal);
  new Win;
  for (int step_count = 0; step_count < qm_test::WIN_STEPS; step_count++) {
    runFrame(step_count);
  }
  EXPECT_EQ(countOfType("GameStart"), 2);
  EXPECT_EQ(worldCount(), 2);
}

TEST_F(EndScreens, IgnoreEverythingButSteps) {
  GameOver *p_game_over = new GameOver;
  Win *p_win = new Win;
  const qm::EventKeyboard key;
  const qm::EventView view("Points", 1, true);
  const qm::EventCollision collision(p_win, p_game_over, qm::Vector(40, 12));
  for (const qm::Event *p_event :
       {static_cast<const qm::Event *>(&key), static_cast<const qm::Event *>(&view),
        static_cast<const qm::Event *>(&collision)}) {
    EXPECT_EQ(p_game_over->eventHandler(p_event), 0);
    EXPECT_EQ(p_win->eventHandler(p_event), 0);
  }
  EXPECT_EQ(p_game_over->getValue(), 0);
}

} // namespace
