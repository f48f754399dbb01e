// The display with its window: cell geometry, start-up and drawing, checked
// on the pixels of the back buffer; and the display and input without one.
#include "DisplayManager.h"

#include "InputManager.h"
#include "Screen.h"
#include "Spy.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::string>;

// First: the window, once made, stays for the run.
TEST(DisplayWithoutAWindowSystem, RefusesAndInputIsHarmless) {
  const std::string display_name = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
  unsetenv("DISPLAY");
  qm_test::resetWorld();

  EXPECT_EQ(qm::DisplayManager::getInstance().startUp(), -1);
  EXPECT_EQ(qm::DisplayManager::getInstance().drawCh(qm::Vector(1, 1), 'A', qm::WHITE), -1);
  EXPECT_EQ(qm::DisplayManager::getInstance().swapBuffers(), -1);
  EXPECT_EQ(qm::InputManager::getInstance().startUp(), -1);
  qm::InputManager::getInstance().getInput();
  qm::InputManager::getInstance().shutDown();

  EXPECT_EQ(qm_test::readLog(), "Message : Error! Unable to generate display window.\n"
                                "Message : Error! No window to draw to.\n"
                                "Message : Error: No window to display to.\n");
  setenv("DISPLAY", display_name.c_str(), 1);
}

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

TEST_F(Display, OpensOneWindowOfTwelveByThirtyTwoPixelCells) {
  EXPECT_EQ(display.getWindow()->getSize(), sf::Vector2u(1024, 768));
  EXPECT_EQ(qm_test::xy(qm::spacesToPixels(qm::Vector(79, 23))), qm_test::XY(948, 736));
  // Not rounded to whole cells.
  EXPECT_EQ(qm_test::xy(qm::pixelsToSpaces(qm::Vector(100, 100))),
            qm_test::XY(100.0f / 12, 3.125f));
}

TEST_F(Display, StartingWhileRunningKeepsTheWindow) {
  sf::RenderWindow *p_window = display.getWindow();
  EXPECT_EQ(display.startUp(), 0);
  EXPECT_EQ(display.getWindow(), p_window);
}

TEST_F(Display, AStartWithoutTheFontFailsButKeepsTheWindowForTheNextStart) {
  sf::RenderWindow *p_window = display.getWindow();
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
  for (int color = qm::RED; color <= qm::WHITE; color++) {
    display.drawCh(qm::Vector(static_cast<float>(2 * color), 10), 'W',
                   static_cast<qm::Color>(color));
  }

  // Columns 35 to 44: the strings are justified about column 40.
  EXPECT_EQ(shown(2, 6, 35, 10), (Rows{"..........", "..#.#.#...", "..........", "...#####..",
                                       "...####...", "..###....."}));
  // Every engine colour as the player sees it.
  const unsigned char EXPECTED_RGB[][3] = {{255, 0, 0},    {0, 255, 0},   {255, 255, 0},
                                           {0, 0, 255},    {255, 0, 255}, {0, 255, 255},
                                           {255, 255, 255}};
  for (int color = qm::RED; color <= qm::WHITE; color++) {
    const unsigned char *rgb = EXPECTED_RGB[color - qm::RED];
    EXPECT_EQ(screen.inkColor(2 * color, 10), sf::Color(rgb[0], rgb[1], rgb[2])) << color;
  }
  // An undefined colour draws white and warns once per character.
  EXPECT_EQ(screen.inkColor(39, 3), sf::Color::White);
  EXPECT_EQ(screen.inkColor(41, 3), sf::Color::White);
  const std::string warning = "Message : Warning: Drawing with undefined color.\n";
  EXPECT_EQ(qm_test::readLog(), warning + warning);
  EXPECT_EQ(shown(3, 1, 35, 10), Rows{".........."});
}

} // namespace
