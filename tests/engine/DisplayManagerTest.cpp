// Everything of the display, input and game loop that needs a window: the
// display itself, view objects drawn on it, the game manager's start, stop and
// loop, and the smoke test of the machine's stand-ins (a window opens under
// Xvfb, the font loads, OpenAL's null device plays).
//
// This binary opens a window and an audio device: GL and audio drivers are
// unloaded before the leak check runs, so their allocations would show as
// leaks from "<unknown module>".
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

#include "DisplayManager.h"
#include "EventStep.h"
#include "GameManager.h"
#include "InputManager.h"
#include "LogManager.h"
#include "ResourceManager.h"
#include "Screen.h"
#include "Spy.h"
#include "TestSupport.h"
#include "ViewObject.h"
#include "Wav.h"
#include "WorldManager.h"

#include <SFML/Audio.hpp>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::string>;

// Every test starts with the display running on a black back buffer, an
// 80 x 24 view at (0, 0) and an empty, flushing log.
class Display : public ::testing::Test {
protected:
  void SetUp() override {
    qm_test::resetWorld();
    ASSERT_EQ(qm_test::startDisplay(), 0);
  }
  // Keeps row_count rows of col_count cells from (first_col, first_row) of the
  // picture drawn so far, in screen, and starts a cleared picture.
  Rows shown(int first_row, int row_count, int first_col, int col_count) {
    screen = qm_test::Screen::capture();
    display.swapBuffers();
    Rows ink_rows;
    for (int row = first_row; row < first_row + row_count; row++) {
      ink_rows.push_back(screen.inkRow(row, first_col, col_count));
    }
    return ink_rows;
  }

  qm::DisplayManager &display = qm::DisplayManager::getInstance();
  qm_test::Screen screen;
};

TEST_F(Display, OpensOneWindowOfTwelveByThirtyTwoPixelCellsAndKeepsItWithoutTheFont) {
  sf::RenderWindow *p_window = display.getWindow();
  EXPECT_EQ(p_window->getSize(), sf::Vector2u(1024, 768));
  EXPECT_EQ(qm_test::xy(qm::spacesToPixels(qm::Vector(79, 23))), qm_test::XY(948, 736));
  // Not rounded to whole cells.
  EXPECT_EQ(qm_test::xy(qm::pixelsToSpaces(qm::Vector(100, 100))),
            qm_test::XY(100.0f / 12, 3.125f));
  EXPECT_EQ(display.startUp(), 0);
  EXPECT_EQ(display.getWindow(), p_window);

  display.shutDown();
  std::remove(qm::FONT_FILE_DEFAULT.c_str());
  EXPECT_EQ(display.startUp(), -1);

  EXPECT_FALSE(display.isStarted());
  EXPECT_EQ(display.getWindow(), p_window);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Unable to load font.\n");
  // With the font back, a new start really starts, in the window it kept.
  ASSERT_EQ(qm_test::startDisplay(), 0);
  EXPECT_TRUE(display.isStarted());
  EXPECT_EQ(display.getWindow(), p_window);
}

TEST_F(Display, DrawsCharactersInTheirCellsAndColoursUntilTheSwap) {
  EXPECT_EQ(display.drawCh(qm::Vector(37, 3), 'W', qm::RED), 0);
  display.drawCh(qm::Vector(39, 3), 'M', qm::UNDEFINED_COLOR);
  display.drawCh(qm::Vector(41, 3), 'M', static_cast<qm::Color>(8));
  display.drawString(qm::Vector(40, 5), "ABCDE", qm::CENTER_JUSTIFIED, qm::WHITE);
  display.drawString(qm::Vector(40, 6), "ABCD", qm::CENTER_JUSTIFIED, qm::WHITE);
  display.drawString(qm::Vector(40, 7), "ABC", qm::RIGHT_JUSTIFIED, qm::WHITE);

  // Columns 35 to 44: the strings are justified about column 40.
  EXPECT_EQ(shown(2, 6, 35, 10), (Rows{"..........", "..#.#.#...", "..........", "...#####..",
                                       "...####...", "..###....."}));
  EXPECT_EQ(screen.inkColor(37, 3), sf::Color::Red);
  // An undefined colour draws white and warns once per character.
  EXPECT_EQ(screen.inkColor(39, 3), sf::Color::White);
  EXPECT_EQ(screen.inkColor(41, 3), sf::Color::White);
  const std::string warning = "Message : Warning: Drawing with undefined color.\n";
  EXPECT_EQ(qm_test::readLog(), warning + warning);
  EXPECT_EQ(shown(3, 1, 35, 10), Rows{".........."});
}

TEST_F(Display, ViewObjectIsFramedForEvenAndOddLengthsAndBareWithoutBorder) {
  auto *p_view = new qm::ViewObject;
  p_view->setViewString("Points");
  p_view->setLocation(qm::CENTER_CENTER);
  p_view->setValue(5);
  p_view->draw();
  // " Points 5 " covers columns 35 to 44, the frame 34 to 45.
  EXPECT_EQ(shown(11, 3, 33, 14), (Rows{".############.", ".#.######.#.#.", ".############."}));
  p_view->setValue(12);
  p_view->draw();
  // " Points 12 " covers columns 35 to 45, the frame 34 to 46.
  EXPECT_EQ(shown(11, 3, 33, 15), (Rows{".#############.", ".#.######.##.#.", ".#############."}));
  p_view->setBorder(false);
  p_view->setDrawValue(false);
  p_view->draw();
  // "Points 12" covers columns 36 to 44; the value shows whatever the flag says.
  EXPECT_EQ(shown(11, 3, 33, 14), (Rows{"..............", "...######.##..", ".............."}));
}

TEST(Smoke, TestWavePlaysOnTheAudioDevice) {
  // The test runner chooses the null device; so does a run by hand.
  setenv("ALSOFT_DRIVERS", "null", 0);
  sf::SoundBuffer buffer;
  ASSERT_TRUE(buffer.loadFromFile(qm_test::writeWav("smoke.wav", 22050)));
  sf::Sound sound(buffer);

  sound.play();

  EXPECT_EQ(sound.getStatus(), sf::Sound::Playing);
}

TEST(FrameSleepTime, IsWhatIsLeftOfTheFrameAndNeverNegativeNorMoreThanAFrame) {
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
class Game : public ::testing::Test {
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

TEST_F(Game, StartsEveryManagerAndShutsDownTheWorldAfterTheOthersBeforeTheLog) {
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

TEST_F(Game, DisplayFailureStopsTheStartBeforeTheWorldIsSized) {
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
TEST_F(Game, PassRunsStepUpdateAndDrawThenShows) {
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

TEST_F(Game, RunFinishesThePassInWhichGameOverIsSetAndStops) {
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
