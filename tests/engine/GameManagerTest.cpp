// This binary opens a window: GL drivers are unloaded before the leak check
// runs, so their allocations would show as leaks from "<unknown module>".
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

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
#include "WindowEvents.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

using qm::GameManager;
using qm::Vector;

qm::LogManager &logManager() {
  return qm::LogManager::getInstance();
}
qm::WorldManager &worldManager() {
  return qm::WorldManager::getInstance();
}
qm::DisplayManager &displayManager() {
  return qm::DisplayManager::getInstance();
}
qm::InputManager &inputManager() {
  return qm::InputManager::getInstance();
}
qm::ResourceManager &resourceManager() {
  return qm::ResourceManager::getInstance();
}

void expectScreenSized(qm::Box box) {
  EXPECT_FLOAT_EQ(box.getCorner().getX(), 0);
  EXPECT_FLOAT_EQ(box.getCorner().getY(), 0);
  EXPECT_FLOAT_EQ(box.getHorizontal(), 80);
  EXPECT_FLOAT_EQ(box.getVertical(), 24);
}

TEST(FrameSleepTime, SleepsWhatIsLeftOfTheFrame) {
  EXPECT_EQ(qm::frameSleepTime(33000, 10000), 23000);
  EXPECT_EQ(qm::frameSleepTime(33000, 0), 33000);
}

TEST(FrameSleepTime, OverlongPassIsNotCaughtUp) {
  EXPECT_EQ(qm::frameSleepTime(33000, 33000), 0);
  EXPECT_EQ(qm::frameSleepTime(33000, 250000), 0);
}

TEST(FrameSleepTime, ClockSetBackNeverSleepsMoreThanAFrame) {
  EXPECT_EQ(qm::frameSleepTime(33000, -1), 33000);
  EXPECT_EQ(qm::frameSleepTime(33000, -3600L * 1000000), 33000);
}

// Every manager is stopped, the font is in the working directory and the log
// will flush each line once the game manager starts it.
class GameStartUp : public ::testing::Test {
protected:
  void SetUp() override {
    game.shutDown();
    game.setGameOver(false);
    logManager().setFlush(true);
    std::filesystem::copy_file(qm_test::sourcePath("qm-font.ttf"), qm::FONT_FILE_DEFAULT,
                               std::filesystem::copy_options::overwrite_existing);
  }
  void TearDown() override {
    game.shutDown();
    game.setGameOver(false);
  }

  GameManager &game = GameManager::getInstance();
};

TEST_F(GameStartUp, StartsEveryManagerAndSizesTheWorldToTheScreen) {
  EXPECT_EQ(game.startUp(), 0);

  EXPECT_EQ(game.getType(), "GameManager");
  EXPECT_EQ(game.getFrameTime(), 33);
  for (const qm::Manager *p_manager :
       {static_cast<qm::Manager *>(&logManager()), static_cast<qm::Manager *>(&worldManager()),
        static_cast<qm::Manager *>(&displayManager()), static_cast<qm::Manager *>(&inputManager()),
        static_cast<qm::Manager *>(&resourceManager()), static_cast<qm::Manager *>(&game)}) {
    EXPECT_TRUE(p_manager->isStarted()) << p_manager->getType();
  }
  expectScreenSized(worldManager().getBoundary());
  expectScreenSized(worldManager().getView());
  EXPECT_EQ(qm_test::readLog(), "");
}

TEST_F(GameStartUp, DisplayFailureStopsBeforeTheWorldIsSized) {
  std::remove(qm::FONT_FILE_DEFAULT.c_str());
  worldManager().setBoundary(qm::Box(Vector(0, 0), 5, 5));

  EXPECT_EQ(game.startUp(), -1);

  EXPECT_EQ(qm_test::readLog(), "Message : Error! Unable to load font.\n"
                                "Message : Error!: Unable to start up DisplayManager\n");
  EXPECT_TRUE(worldManager().isStarted());
  EXPECT_FALSE(inputManager().isStarted());
  EXPECT_FALSE(resourceManager().isStarted());
  EXPECT_FALSE(game.isStarted());
  EXPECT_FLOAT_EQ(worldManager().getBoundary().getHorizontal(), 5);
}

TEST_F(GameStartUp, WorldFailureIsReported) {
  worldManager().startUp();

  EXPECT_EQ(game.startUp(), -1);

  EXPECT_EQ(qm_test::readLog(), "Message : Error!: Unable to start up WorldManager\n");
  EXPECT_FALSE(displayManager().isStarted());
}

TEST_F(GameStartUp, InputFailureIsReportedAfterTheWorldIsSized) {
  displayManager().startUp();
  inputManager().startUp();

  EXPECT_EQ(game.startUp(), -1);

  EXPECT_EQ(qm_test::readLog(), "Message : Error!: Unable to start up InputManager\n");
  expectScreenSized(worldManager().getView());
  EXPECT_FALSE(resourceManager().isStarted());
}

TEST_F(GameStartUp, ResourceFailureIsReported) {
  resourceManager().startUp();

  EXPECT_EQ(game.startUp(), -1);

  EXPECT_EQ(qm_test::readLog(), "Message : Error! Unable to start up ResourceManager\n");
  EXPECT_FALSE(game.isStarted());
}

TEST_F(GameStartUp, LogAlreadyRunningFailsWithoutAWord) {
  logManager().startUp();

  EXPECT_EQ(game.startUp(), -1);

  EXPECT_FALSE(worldManager().isStarted());
  EXPECT_EQ(qm_test::readLog(), "");
}

TEST_F(GameStartUp, ShutDownDeletesTheWorldAfterTheOthersAndBeforeTheLog) {
  ASSERT_EQ(game.startUp(), 0);
  qm_test::Journal journal;
  std::vector<bool> started_while_deleted;
  auto *p_spy = new qm_test::SpyObject("spy", &journal);
  p_spy->on_destroy = [&] {
    started_while_deleted = {resourceManager().isStarted(), inputManager().isStarted(),
                             displayManager().isStarted(), logManager().isStarted()};
  };

  game.shutDown();

  EXPECT_EQ(started_while_deleted, (std::vector<bool>{false, false, false, true}));
  EXPECT_EQ(journal, qm_test::Journal{"spy deleted"});
  EXPECT_TRUE(game.getGameOver());
  EXPECT_FALSE(game.isStarted());
  EXPECT_FALSE(logManager().isStarted());
}

// The whole engine runs; the window's queue is empty.
class GameLoop : public GameStartUp {
protected:
  void SetUp() override {
    GameStartUp::SetUp();
    ASSERT_EQ(game.startUp(), 0);
    inputManager().getInput();
  }
  void TearDown() override {
    // The spies write into this fixture's journal.
    worldManager().shutDown();
    GameStartUp::TearDown();
  }

  qm_test::Journal journal;
};

TEST_F(GameLoop, PassRunsStepInputUpdateDrawThenShows) {
  auto *p_mover = new qm_test::SpyObject("mover", &journal);
  p_mover->setPosition(Vector(10, 5));
  p_mover->setVelocity(Vector(1, 0));
  p_mover->setSolidness(qm::SOFT);
  std::vector<int> step_counts;
  p_mover->on_event = [&](const qm::Event *p_e) {
    if (p_e->getType() == qm::STEP_EVENT) {
      step_counts.push_back(static_cast<const qm::EventStep *>(p_e)->getStepCount());
    }
  };
  auto *p_still = new qm_test::SpyObject("still", &journal);
  p_still->setPosition(Vector(12, 5));
  auto *p_label = new qm::ViewObject;
  p_label->setLocation(qm::CENTER_CENTER);
  ASSERT_TRUE(qm_test::sendPointerMove(*displayManager().getWindow(), 600, 384));

  game.runPass(7);

  const qm_test::Journal expected = {
      "mover qm::step",
      "still qm::step",
      "mover qm::mouse",
      "still qm::mouse",
      "mover qm::collision mover>still",
      "still qm::collision mover>still",
      "mover draw",
      "still draw",
  };
  EXPECT_EQ(journal, expected);
  EXPECT_EQ(step_counts, std::vector<int>{7});
  // The label was drawn and shown; the back buffer is clear for the next pass.
  EXPECT_FALSE(qm_test::Screen::capture().hasInk(40, 12));
  EXPECT_EQ(qm_test::readLog(), "");
}

TEST_F(GameLoop, RunFinishesThePassInWhichGameOverIsSet) {
  auto *p_spy = new qm_test::SpyObject("spy", &journal);
  std::vector<int> step_counts;
  p_spy->on_event = [&](const qm::Event *p_e) {
    if (p_e->getType() == qm::STEP_EVENT) {
      const int step_count = static_cast<const qm::EventStep *>(p_e)->getStepCount();
      step_counts.push_back(step_count);
      if (step_count == 1) {
        game.setGameOver(true);
      }
    }
  };

  game.run();

  EXPECT_EQ(step_counts, (std::vector<int>{0, 1}));
  EXPECT_EQ(journal.back(), "spy draw");
}

TEST_F(GameLoop, RunReturnsAtOnceWhenTheGameIsOver) {
  new qm_test::SpyObject("spy", &journal);
  game.setGameOver(true);

  game.run();

  EXPECT_TRUE(journal.empty());
}

} // namespace
