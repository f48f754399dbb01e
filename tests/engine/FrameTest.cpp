#include "Frame.h"

#include "LogLines.h"
#include "Screen.h"
#include "Sprite.h"
#include "Spy.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>

namespace {

// No window is open, so every drawn cell writes one log line: their count is
// the number of cells drawn.
TEST(Frame, DrawsEachCellOnceAndNothingPastItsString) {
  // Width and height are set apart from the string and may claim more cells.
  const std::tuple<int, int, std::string, int> frames[] = {
      {3, 2, "      ", 6},    {3, 3, "abcd", 4},    {INT_MAX, INT_MAX, "ab", 2},
      {1, INT_MAX, "xyz", 3}, {-3, 2, "abcdef", 0}, {3, -2, "abcdef", 0},
      {-1, INT_MAX, "ab", 0}};
  for (const auto &[width, height, frame_str, cells] : frames) {
    qm_test::restartLog();
    EXPECT_EQ(qm::Frame(width, height, frame_str).draw(qm::Vector(0, 0), qm::RED), 0);
    EXPECT_EQ(qm_test::countLogLines(qm_test::NO_WINDOW_LINE), cells) << width << " x " << height;
  }
}

TEST(Frame, AFrameWithoutCharactersRefusesWithoutAWord) {
  qm_test::restartLog();
  EXPECT_EQ(qm::Frame(3, 2, "").draw(qm::Vector(10, 5), qm::RED), -1);
  EXPECT_EQ(qm_test::readLog(), "");
}

// Drawn on a cleared picture; the view starts at (0, 0), so world cells are
// screen cells.
TEST(FrameOnScreen, IsCentredOnItsPositionInItsColour) {
  qm_test::resetWorld();
  ASSERT_EQ(qm_test::startDisplay(), 0);

  // Odd sizes centre exactly, and a blank keeps its cell empty; even sizes put
  // the position right of the middle. A sprite draws in its own colour.
  ASSERT_EQ(qm::Frame(3, 3, "#### ####").draw(qm::Vector(10, 5), qm::RED), 0);
  qm::Sprite sprite(1);
  sprite.setColor(qm::GREEN);
  sprite.addFrame(qm::Frame(4, 2, "########"));
  ASSERT_EQ(sprite.draw(0, qm::Vector(20, 5)), 0);
  const qm_test::Screen screen = qm_test::Screen::capture();
  EXPECT_EQ(screen.inkRow(3, 7, 17), ".................");
  EXPECT_EQ(screen.inkRow(4, 7, 17), "..###......####..");
  EXPECT_EQ(screen.inkRow(5, 7, 17), "..#.#......####..");
  EXPECT_EQ(screen.inkRow(6, 7, 17), "..###............");
  EXPECT_EQ(screen.inkRow(7, 7, 17), ".................");
  EXPECT_EQ(screen.inkColor(9, 4), sf::Color::Red);
  EXPECT_EQ(screen.inkColor(18, 5), sf::Color::Green);
}

} // namespace
