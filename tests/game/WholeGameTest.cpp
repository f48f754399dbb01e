// Whole games, pass by pass, through the real engine start-up (the window
// opens), the game's own sprites and sounds and injected window events; and
// the program's set-up routine when the engine cannot start.
#include "EventView.h"
#include "GameFixture.h"
#include "GameStart.h"
#include "InputManager.h"
#include "Points.h"
#include "ResourceManager.h"
#include "Test.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using qm::Vector;
using namespace qm_test;

TEST(SetUpRoutine, FailedEngineStartReturnsMinusOneWithOneLineOnStandardError) {
  // Folders without the font, which the engine needs to start. In the second
  // a folder takes the log's place: that is said first, and the last line
  // must not send anyone to a log that is not there.
  const fs::path home = fs::current_path();
  const std::string no_log =
      "No log: cannot create quillmoth.log here (Is a directory); running without a log.\n";
  const std::string cannot_start = "quillmoth: could not start the engine (no window or no font)";
  for (const bool log_is_folder : {false, true}) {
    const fs::path folder = log_is_folder ? "no-font-no-log" : "no-font";
    fs::create_directories(log_is_folder ? folder / "quillmoth.log" : folder);
    fs::current_path(folder);
    testing::internal::CaptureStderr();
    EXPECT_EQ(qm::Test().testGame(), -1);
    const std::string standard_error = testing::internal::GetCapturedStderr();
    EXPECT_THAT(standard_error,
                testing::EndsWith(cannot_start +
                                  (log_is_folder ? "" : "; see quillmoth.log for details") +
                                  "; to play in this terminal instead, run it with "
                                  "QUILLMOTH_DISPLAY=terminal\n"));
    EXPECT_EQ(standard_error.find(no_log) != std::string::npos, log_is_folder);
    EXPECT_FALSE(qm::GameManager::getInstance().isStarted());
    fs::current_path(home);
  }
}

// The game as the program starts it, on the start screen after one pass; its
// data files are linked into the scratch folder, where it reads them.
class WholeGame : public ::testing::Test {
protected:
  void SetUp() override {
    if (std::getenv("DISPLAY") == nullptr) {
      GTEST_SKIP() << "opens a window: run under xvfb-run";
    }
    for (const char *name : {"qm-font.ttf", "Sprites", "Sounds"}) {
      if (!fs::exists(fs::symlink_status(name))) {
        fs::create_symlink(sourcePath(name), name);
      }
    }
    game.setGameOver(false);
    ASSERT_EQ(game.startUp(), 0);
    qm::Test().loadGameResources();
    EXPECT_EQ(readLog().find("Error"), std::string::npos) << readLog();
    new GameStart;
    runPasses(1);
  }
  void TearDown() override { game.shutDown(); }

  void runPasses(int count) {
    for (int i = 0; i < count; i++) {
      game.runPass(step++);
    }
  }
  // P pressed and released within one pass, as a quick tap arrives.
  void startGame() {
    for (const auto type : {sf::Event::KeyPressed, sf::Event::KeyReleased}) {
      qm::InputManager::getInstance().dispatch(key(type, sf::Keyboard::P));
    }
    runPasses(1);
  }
  static void movePointerTo(int x_pixels) {
    sf::Event mouse_event;
    mouse_event.type = sf::Event::MouseMoved;
    mouse_event.mouseMove = {x_pixels, 500};
    qm::InputManager::getInstance().dispatch(mouse_event);
  }
  // Steers the platform far off the arena, where no ball can meet it (it is
  // not clamped and keeps to its row), and plays until the ball is lost.
  void loseTheBall() {
    movePointerTo(-1200);
    ASSERT_EQ(xy(firstOf("Platform")->getPosition()), XY(-100, 21));
    while (step < 300 && countOf("GameOver") == 0) {
      runPasses(1);
    }
    ASSERT_EQ(countOf("GameOver"), 1);
  }
  static void setScore(int value) {
    const qm::EventView set_score("Points", value, false);
    qm::WorldManager::getInstance().onEvent(&set_score);
  }
  void runToTheNextThirtiethStep() {
    while (step % 30 != 0) {
      runPasses(1);
      ASSERT_EQ(countOf("Win"), 0) << "step " << step - 1;
    }
    runPasses(1);
  }

  static int score() { return firstOf<Points>("points")->getValue(); }
  static sf::SoundSource::Status musicStatus(const std::string &label) {
    return qm::ResourceManager::getInstance().getMusic(label)->getMusic()->getStatus();
  }

  qm::GameManager &game = qm::GameManager::getInstance();
  int step = 0;
};

// That the tap builds one game and no more is the end screens' test.
TEST_F(WholeGame, PressingPBuildsTheGameAndSilencesTheStartScreen) {
  ASSERT_EQ(countOf("GameStart"), 1);
  EXPECT_EQ(musicStatus("game_music"), sf::SoundSource::Playing);
  startGame();
  runPasses(1);
  EXPECT_EQ(countOf("GameStart"), 0);
  EXPECT_EQ(worldCount(), 8);
  EXPECT_EQ(musicStatus("game_music"), sf::SoundSource::Stopped);
}

TEST_F(WholeGame, MissingTheBallShowsGameOverWithItsMusicThenOnlyAStartScreen) {
  startGame();
  loseTheBall();
  EXPECT_EQ(musicStatus("lose_music"), sf::SoundSource::Playing);

  // The ball goes in the next pass; the rest of the game stays while the
  // screen is up.
  runPasses(1);
  EXPECT_EQ(countOf("Ball"), 0);
  EXPECT_EQ(worldCount(), 8);
  while (step < 600 && countOf("GameOver") == 1) {
    EXPECT_EQ(worldCount(), 8);
    EXPECT_EQ(musicStatus("lose_music"), sf::SoundSource::Playing);
    runPasses(1);
  }
  EXPECT_EQ(worldCount(), 1);
  EXPECT_EQ(countOf("GameStart"), 1);
  EXPECT_EQ(musicStatus("lose_music"), sf::SoundSource::Stopped);
  EXPECT_EQ(musicStatus("game_music"), sf::SoundSource::Playing);
}

TEST_F(WholeGame, HundredthPointFromAPlatformBounceWinsAtTheNextThirtiethStep) {
  startGame();
  qm::Object *p_ball = firstOf("Ball");
  p_ball->setPosition(Vector(firstOf("Platform")->getPosition().getX(), 17));
  p_ball->setVelocity(Vector(0, 0.5f));
  setScore(99);
  for (int pass = 0; pass < 20 && score() < 100; pass++) {
    runPasses(1);
  }
  ASSERT_EQ(score(), 100);
  EXPECT_LT(p_ball->getVelocity().getY(), 0.0f);

  runToTheNextThirtiethStep();
  EXPECT_EQ(worldCount(), 1);
  EXPECT_EQ(countOf("Win"), 1);
}

} // namespace
