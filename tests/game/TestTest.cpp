// The set-up routines and the program's entry: a normal run ends with 0, and
// an engine that cannot start ends them at once with a message instead of a
// loop that nothing could stop.
#include "Test.h"
#include "GameManager.h"
#include "LogManager.h"
#include "Object.h"
#include "ObjectListIterator.h"
#include "TestSupport.h"
#include "WorldManager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

// The resource manager opens the audio device, and GL and audio drivers are
// unloaded before the leak check runs, so their allocations would show as
// leaks from "<unknown module>".
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

namespace {

namespace fs = std::filesystem;

const std::string START_FAILURE_LINE =
    "quillmoth: could not start the engine (no window or no font); see quillmoth.log for "
    "details\n";

// Runs in a folder of its own: without the font there (the test's working
// folder), or with links to the font and the game's data files.
class SetUpRoutines : public ::testing::Test {
protected:
  void SetUp() override {
    home = fs::current_path();
    qm::GameManager::getInstance().setGameOver(false);
    if (std::getenv("DISPLAY") == nullptr) {
      GTEST_SKIP() << "opens a window: run under xvfb-run";
    }
  }
  void TearDown() override {
    fs::current_path(home);
    qm::GameManager::getInstance().setGameOver(false);
  }
  void enter(const std::string &folder, bool with_data) {
    fs::create_directories(folder);
    fs::current_path(folder);
    if (with_data) {
      for (const char *name : {"qm-font.ttf", "Sprites", "Sounds"}) {
        if (!fs::exists(fs::symlink_status(name))) {
          fs::create_symlink(qm_test::sourcePath(name), name);
        }
      }
    }
  }
  // Whether the log that the routine left behind reports any error.
  static bool logHasErrors() { return qm_test::readLog().find("Error") != std::string::npos; }

  fs::path home;
  qm::Test test;
};

TEST_F(SetUpRoutines, GameWithoutFontSaysSoAndReturnsMinusOne) {
  enter("no-font", false);
  testing::internal::CaptureStderr();
  EXPECT_EQ(test.testGame(), -1);
  EXPECT_THAT(testing::internal::GetCapturedStderr(), testing::EndsWith(START_FAILURE_LINE));
  EXPECT_NE(qm_test::readLog().find("Message : Error! Unable to load font.\n"), std::string::npos);
  EXPECT_FALSE(qm::GameManager::getInstance().isStarted());
  EXPECT_FALSE(qm::WorldManager::getInstance().isStarted());
}

TEST_F(SetUpRoutines, LoopingScenariosWithoutFontReturnMinusOne) {
  enter("no-font", false);
  for (int (qm::Test::*p_scenario)() :
       {&qm::Test::testBall, &qm::Test::testPlatform, &qm::Test::testBounce, &qm::Test::testBorder,
        &qm::Test::testPower}) {
    testing::internal::CaptureStderr();
    EXPECT_EQ((test.*p_scenario)(), -1);
    EXPECT_THAT(testing::internal::GetCapturedStderr(), testing::EndsWith(START_FAILURE_LINE));
  }
}

TEST_F(SetUpRoutines, GameLoadsEverythingAndReturnsZeroWhenTheLoopEnds) {
  enter("with-data", true);
  // Set before the start, so that the loop ends after no pass at all.
  qm::GameManager::getInstance().setGameOver(true);
  EXPECT_EQ(test.testGame(), 0);
  EXPECT_FALSE(logHasErrors()) << qm_test::readLog();
  EXPECT_NE(qm_test::readLog().find("Message : 0x"), std::string::npos);
  EXPECT_FALSE(qm::GameManager::getInstance().isStarted());
}

TEST_F(SetUpRoutines, LoopingScenariosLoadTheirSpritesAndReturnZero) {
  enter("with-data", true);
  for (int (qm::Test::*p_scenario)() :
       {&qm::Test::testBall, &qm::Test::testPlatform, &qm::Test::testBounce, &qm::Test::testBorder,
        &qm::Test::testPower}) {
    qm::GameManager::getInstance().setGameOver(true);
    EXPECT_EQ((test.*p_scenario)(), 0);
    EXPECT_FALSE(logHasErrors()) << qm_test::readLog();
  }
}

TEST_F(SetUpRoutines, DelBallLeavesTheBallMarkedAndMoveToStartPutsItOnRowThree) {
  enter("with-data", true);
  qm::WorldManager &world_manager = qm::WorldManager::getInstance();
  EXPECT_EQ(test.testDelBall(), 0);
  ASSERT_EQ(world_manager.objectsOfType("Ball").getCount(), 1);
  world_manager.update();
  EXPECT_EQ(world_manager.objectsOfType("Ball").getCount(), 0);
  qm::GameManager::getInstance().shutDown();

  EXPECT_EQ(test.testMoveToStart(), 0);
  const qm::ObjectList balls = world_manager.objectsOfType("Ball");
  ASSERT_EQ(balls.getCount(), 1);
  qm::ObjectListIterator it(&balls);
  it.first();
  EXPECT_EQ(it.currentObject()->getPosition().getY(), 3.0f);
  qm::GameManager::getInstance().shutDown();
}

TEST(RandomNumbers, TenLinesFromThreeToTwelve) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(qm::Test().testRand(), 0);
  std::istringstream lines(testing::internal::GetCapturedStdout());
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    count++;
    const float value = std::stof(line);
    EXPECT_GE(value, 3.0f);
    EXPECT_LE(value, 12.0f);
    EXPECT_EQ(line, std::to_string(value)) << "not printed as %f";
  }
  EXPECT_EQ(count, 10);
}

TEST_F(SetUpRoutines, ProgramExitsWithStatusOneWhenTheEngineCannotStart) {
  const char *binary_dir = std::getenv("QM_BINARY_DIR");
  const fs::path program = fs::path(binary_dir ? binary_dir : ".") / "quillmoth";
  if (!fs::exists(program)) {
    GTEST_SKIP() << program << " is not built";
  }
  enter("program-no-font", false);
  // The program has no leak-check opt-out of its own.
  const std::string command =
      "ASAN_OPTIONS=detect_leaks=0 '" + program.string() + "' 2> stderr.txt";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(qm_test::readLog().find("Error! Unable to load font."), std::string::npos);
  std::ifstream error_file("stderr.txt");
  std::stringstream error_text;
  error_text << error_file.rdbuf();
  EXPECT_THAT(error_text.str(), testing::EndsWith(START_FAILURE_LINE));
}

} // namespace
