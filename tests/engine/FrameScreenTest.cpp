// This binary opens a window: GL drivers are unloaded before the leak check
// runs, so their allocations would show as leaks from "<unknown module>".
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

#include "DisplayManager.h"
#include "Frame.h"
#include "Screen.h"
#include "Sprite.h"
#include "Spy.h"
#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using qm_test::Screen;

// Frames drawn into a running display on a black back buffer, with the view
// at (0, 0), so that world cells are screen cells.
class FrameOnScreen : public ::testing::Test {
protected:
  void SetUp() override {
    qm_test::resetWorld();
    std::filesystem::copy_file(qm_test::sourcePath("qm-font.ttf"), qm::FONT_FILE_DEFAULT,
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_EQ(display.startUp(), 0);
    ASSERT_EQ(display.swapBuffers(), 0);
  }

  qm::DisplayManager &display = qm::DisplayManager::getInstance();
};

TEST_F(FrameOnScreen, OddSizeIsCentredOnThePosition) {
  ASSERT_EQ(qm::Frame(3, 3, "#########").draw(qm::Vector(10, 5), qm::RED), 0);

  const Screen screen = Screen::capture();
  EXPECT_EQ(screen.inkRow(3, 7, 6), "......");
  EXPECT_EQ(screen.inkRow(4, 7, 6), "..###.");
  EXPECT_EQ(screen.inkRow(5, 7, 6), "..###.");
  EXPECT_EQ(screen.inkRow(6, 7, 6), "..###.");
  EXPECT_EQ(screen.inkRow(7, 7, 6), "......");
  EXPECT_EQ(screen.inkColor(9, 4), sf::Color::Red);
  EXPECT_EQ(screen.inkColor(11, 6), sf::Color::Red);
}

TEST_F(FrameOnScreen, EvenSizePutsThePositionRightOfTheMiddle) {
  ASSERT_EQ(qm::Frame(4, 2, "########").draw(qm::Vector(10, 5), qm::WHITE), 0);

  const Screen screen = Screen::capture();
  EXPECT_EQ(screen.inkRow(3, 6, 8), "........");
  EXPECT_EQ(screen.inkRow(4, 6, 8), "..####..");
  EXPECT_EQ(screen.inkRow(5, 6, 8), "..####..");
  EXPECT_EQ(screen.inkRow(6, 6, 8), "........");
}

TEST_F(FrameOnScreen, CharactersKeepTheirPlaceInTheString) {
  // A blank in the middle row leaves its cell without ink.
  ASSERT_EQ(qm::Frame(3, 2, "#W# # ").draw(qm::Vector(1, 1), qm::WHITE), 0);

  const Screen screen = Screen::capture();
  EXPECT_EQ(screen.inkRow(0, 0, 3), "###");
  EXPECT_EQ(screen.inkRow(1, 0, 3), ".#.");
}

TEST_F(FrameOnScreen, SpriteDrawsInItsOwnColour) {
  qm::Sprite sprite(1);
  sprite.setColor(qm::GREEN);
  sprite.addFrame(qm::Frame(1, 1, "#"));
  ASSERT_EQ(sprite.draw(0, qm::Vector(20, 10)), 0);

  const Screen screen = Screen::capture();
  EXPECT_EQ(screen.inkColor(20, 10), sf::Color::Green);
}

} // namespace
