// The game manager: its start and stop order, one pass of the loop, the loop
// itself and the pacing arithmetic.
#include "GameManager.h"

#include "DisplayManager.h"
#include "EventStep.h"
#include "InputManager.h"
#include "LogManager.h"
#include "ResourceManager.h"
#include "Screen.h"
#include "Spy.h"
#include "TestSupport.h"
#include "ViewObject.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

TEST(GameManager, SleepsWhatIsLeftOfTheFrameNeverNegativeNorMoreThanAFrame) {
  EXPECT_EQ(qm::frameSleepTime(33000, 10000), 23000);
  EXPECT_EQ(qm::frameSleepTime(33000, 250000), 0);
  // The wall clock was set back during the pass.
  EXPECT_EQ(qm::frameSleepTime(33000, -3600L * 1000000), 33000);
}

// Whether resources, input, display and log run, in the order they stop.
std::vector<bool> othersStarted() {
  return {qm::ResourceManager::getInstance().isStarted(),
          qm::InputManager::getInstance().isStarted(),
          qm::DisplayManager::getInstance().isStarted(), qm::LogManager::getInstance().isStarted()};
}

std::vector<float> extent(const qm::Box &box) {
  return {box.getCorner().getX(), box.getCorner().getY(), box.getHorizontal(), box.getVertical()};
}

// Every manager is stopped, with the font in the working directory and the
// window open to be taken up again; the log will flush each line once the
// game manager starts it.
class GameManagerRun : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(qm_test::startDisplay(), 0);
    game.shutDown();
    game.setGameOver(false);
    qm::LogManager::getInstance().setFlush(true);
  }
  // Before the journal goes: the world's spies write into it as they are deleted.
  void TearDown() override { game.shutDown(); }

  qm::GameManager &game = qm::GameManager::getInstance();
  qm::WorldManager &world = qm::WorldManager::getInstance();
  qm_test::Journal journal;
};

TEST_F(GameManagerRun, StartsEveryManagerAndShutsDownTheWorldAfterTheOthersBeforeTheLog) {
  EXPECT_EQ(game.startUp(), 0);
  EXPECT_EQ(othersStarted(), (std::vector<bool>{true, true, true, true}));
  EXPECT_EQ(extent(world.getBoundary()), (std::vector<float>{0, 0, 80, 24}));
  EXPECT_EQ(extent(world.getView()), (std::vector<float>{0, 0, 80, 24}));
  std::vector<bool> started_while_deleted;
  (new qm_test::SpyObject("spy", &journal))->on_destroy = [&] {
    started_while_deleted = othersStarted();
  };

  game.shutDown();

  EXPECT_EQ(started_while_deleted, (std::vector<bool>{false, false, false, true}));
  EXPECT_FALSE(qm::LogManager::getInstance().isStarted());
}

TEST_F(GameManagerRun, DisplayFailureStopsTheStartBeforeTheWorldIsSized) {
  std::remove(qm::FONT_FILE_DEFAULT.c_str());
  world.setBoundary(qm::Box(qm::Vector(0, 0), 5, 5));

  EXPECT_EQ(game.startUp(), -1);

  EXPECT_EQ(qm_test::readLog(), "Message : Error! Unable to load font.\n"
                                "Message : Error!: Unable to start up DisplayManager\n");
  EXPECT_EQ(othersStarted(), (std::vector<bool>{false, false, false, true}));
  EXPECT_EQ(extent(world.getBoundary()), (std::vector<float>{0, 0, 5, 5}));
}

// Input is read between the step and the update; only real window-system
// events show that, and the end-to-end test plays the game with them.
TEST_F(GameManagerRun, PassRunsStepUpdateAndDrawThenShows) {
  ASSERT_EQ(game.startUp(), 0);
  auto *p_mover = new qm_test::SpyObject("mover", &journal);
  p_mover->setPosition(qm::Vector(10, 5));
  p_mover->setVelocity(qm::Vector(1, 0));
  (new qm_test::SpyObject("still", &journal))->setPosition(qm::Vector(12, 5));
  (new qm::ViewObject)->setLocation(qm::CENTER_CENTER);

  game.runPass(7);

  EXPECT_EQ(journal,
            (qm_test::Journal{"mover qm::step", "still qm::step", "mover qm::collision mover>still",
                              "still qm::collision mover>still", "mover draw", "still draw"}));
  // The label was drawn and shown; the back buffer is clear for the next pass.
  EXPECT_EQ(qm_test::Screen::capture().inkRow(12, 40, 1), ".");
}

TEST_F(GameManagerRun, RunFinishesThePassInWhichGameOverIsSetAndStops) {
  ASSERT_EQ(game.startUp(), 0);
  std::vector<int> step_counts;
  (new qm_test::SpyObject("spy", &journal))->on_event = [&](const qm::Event *p_e) {
    if (p_e->getType() == qm::STEP_EVENT) {
      step_counts.push_back(static_cast<const qm::EventStep *>(p_e)->getStepCount());
      game.setGameOver(step_counts.back() >= 1);
    }
  };

  game.run();

  EXPECT_EQ(step_counts, (std::vector<int>{0, 1}));
  EXPECT_EQ(journal.back(), "spy draw");
}

} // namespace
