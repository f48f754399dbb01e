// This binary opens a window: GL drivers are unloaded before the leak check
// runs, so their allocations would show as leaks from "<unknown module>".
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

#include "DisplayManager.h"
#include "LogManager.h"
#include "Screen.h"
#include "Spy.h"
#include "TestSupport.h"
#include "WindowEvents.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using qm::DisplayManager;
using qm::Vector;
using qm_test::Screen;

const std::string UNDEFINED_COLOR_LINE = "Message : Warning: Drawing with undefined color.\n";

void copyFontHere() {
  std::filesystem::copy_file(qm_test::sourcePath("qm-font.ttf"), qm::FONT_FILE_DEFAULT,
                             std::filesystem::copy_options::overwrite_existing);
}

TEST(DisplayGeometry, CellsAreTwelveByThirtyTwoPixels) {
  const DisplayManager &display = DisplayManager::getInstance();
  EXPECT_EQ(display.getHorizontal(), 80);
  EXPECT_EQ(display.getVertical(), 24);
  EXPECT_EQ(display.getHorizontalPixels(), 1024);
  EXPECT_EQ(display.getVerticalPixels(), 768);
  EXPECT_FLOAT_EQ(qm::charWidth(), 12.0f);
  EXPECT_FLOAT_EQ(qm::charHeight(), 32.0f);

  const Vector last_cell = qm::spacesToPixels(Vector(79, 23));
  EXPECT_FLOAT_EQ(last_cell.getX(), 948.0f);
  EXPECT_FLOAT_EQ(last_cell.getY(), 736.0f);
  const Vector cells = qm::pixelsToSpaces(Vector(100, 100));
  EXPECT_FLOAT_EQ(cells.getX(), 100.0f / 12);
  EXPECT_FLOAT_EQ(cells.getY(), 3.125f);
}

// Every test starts with the display running on a black back buffer, an
// 80 x 24 view at (0, 0) and an empty, flushing log.
class Display : public ::testing::Test {
protected:
  void SetUp() override {
    qm_test::resetWorld();
    copyFontHere();
    ASSERT_EQ(display.startUp(), 0);
    ASSERT_EQ(display.swapBuffers(), 0);
    qm_test::restartLog();
  }

  DisplayManager &display = DisplayManager::getInstance();
};

TEST_F(Display, StartUpOpensTheWindowOnceAndLoadsTheFont) {
  sf::RenderWindow *p_window = display.getWindow();
  ASSERT_NE(p_window, nullptr);
  EXPECT_TRUE(p_window->isOpen());
  EXPECT_EQ(p_window->getSize(), sf::Vector2u(1024, 768));
  EXPECT_TRUE(display.isStarted());

  EXPECT_EQ(display.startUp(), 0);
  EXPECT_EQ(display.getWindow(), p_window);
  EXPECT_EQ(qm_test::readLog(), "");
}

TEST_F(Display, MissingFontFailsStartUpAndKeepsTheWindow) {
  sf::RenderWindow *p_window = display.getWindow();
  display.shutDown();
  std::remove(qm::FONT_FILE_DEFAULT.c_str());

  EXPECT_EQ(display.startUp(), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Unable to load font.\n");
  EXPECT_FALSE(display.isStarted());
  EXPECT_EQ(display.getWindow(), p_window);

  // Once the font is back, the same window is taken up again.
  copyFontHere();
  EXPECT_EQ(display.startUp(), 0);
  EXPECT_TRUE(display.isStarted());
  EXPECT_EQ(display.getWindow(), p_window);
}

TEST_F(Display, CharacterIsDrawnInItsCellOnly) {
  EXPECT_EQ(display.drawCh(Vector(5, 3), 'W', qm::WHITE), 0);
  EXPECT_EQ(display.drawCh(Vector(79, 23), 'M', qm::WHITE), 0);

  const Screen screen = Screen::capture();
  EXPECT_EQ(screen.inkRow(3, 3, 5), "..#..");
  EXPECT_FALSE(screen.hasInk(5, 2));
  EXPECT_FALSE(screen.hasInk(5, 4));
  EXPECT_EQ(screen.inkRow(23, 77, 3), "..#");
}

TEST_F(Display, WorldPositionsAreDrawnRelativeToTheView) {
  qm::WorldManager::getInstance().setView(qm::Box(Vector(10, 5), 80, 24));

  display.drawCh(Vector(12, 6), 'W', qm::WHITE);

  const Screen screen = Screen::capture();
  EXPECT_TRUE(screen.hasInk(2, 1));
  EXPECT_FALSE(screen.hasInk(12, 6));
}

TEST_F(Display, EachColourHasItsScreenColour) {
  const sf::Color expected[] = {sf::Color::Black,  sf::Color::Red,  sf::Color::Green,
                                sf::Color::Yellow, sf::Color::Blue, sf::Color::Magenta,
                                sf::Color::Cyan,   sf::Color::White};
  for (int color = qm::BLACK; color <= qm::WHITE; color++) {
    display.drawCh(Vector(2 * color, 1), 'M', static_cast<qm::Color>(color));
  }

  const Screen screen = Screen::capture();
  for (int color = qm::BLACK; color <= qm::WHITE; color++) {
    EXPECT_EQ(screen.inkColor(2 * color, 1), expected[color]) << "colour " << color;
  }
  EXPECT_EQ(qm_test::readLog(), "");
}

TEST_F(Display, UndefinedColourDrawsWhiteAndWarnsEachTime) {
  EXPECT_EQ(display.drawCh(Vector(1, 1), 'M', qm::UNDEFINED_COLOR), 0);
  EXPECT_EQ(display.drawCh(Vector(3, 1), 'M', static_cast<qm::Color>(8)), 0);

  const Screen screen = Screen::capture();
  EXPECT_EQ(screen.inkColor(1, 1), sf::Color::White);
  EXPECT_EQ(screen.inkColor(3, 1), sf::Color::White);
  EXPECT_EQ(qm_test::readLog(), UNDEFINED_COLOR_LINE + UNDEFINED_COLOR_LINE);
}

TEST_F(Display, CharacterBlanksItsOwnCellFirst) {
  display.drawCh(Vector(10, 5), '#', qm::RED);
  display.drawCh(Vector(10, 5), ' ', qm::RED);

  EXPECT_FALSE(Screen::capture().hasInk(10, 5));
}

TEST_F(Display, BackgroundSitsATenthLeftAndAFifthDown) {
  // Cell (10, 5) is placed at pixel (120, 160); its background spans
  // x 118.8 to 130.8 and y 166.4 to 198.4.
  display.getWindow()->clear(sf::Color::White);
  display.drawCh(Vector(10, 5), ' ', qm::WHITE);

  const Screen screen = Screen::capture();
  EXPECT_EQ(screen.pixel(119, 180), sf::Color::Black);
  EXPECT_EQ(screen.pixel(117, 180), sf::Color::White);
  EXPECT_EQ(screen.pixel(130, 180), sf::Color::Black);
  EXPECT_EQ(screen.pixel(132, 180), sf::Color::White);
  EXPECT_EQ(screen.pixel(125, 167), sf::Color::Black);
  EXPECT_EQ(screen.pixel(125, 165), sf::Color::White);
  EXPECT_EQ(screen.pixel(125, 197), sf::Color::Black);
  EXPECT_EQ(screen.pixel(125, 199), sf::Color::White);
}

TEST_F(Display, StringsAreJustifiedAboutTheirPosition) {
  display.drawString(Vector(10, 2), "abc", qm::LEFT_JUSTIFIED, qm::WHITE);
  display.drawString(Vector(40, 4), "ABCDE", qm::CENTER_JUSTIFIED, qm::WHITE);
  display.drawString(Vector(40, 6), "ABCD", qm::CENTER_JUSTIFIED, qm::WHITE);
  display.drawString(Vector(40, 8), "ABC", qm::RIGHT_JUSTIFIED, qm::WHITE);
  EXPECT_EQ(display.drawString(Vector(40, 10), "", qm::CENTER_JUSTIFIED, qm::WHITE), 0);

  const Screen screen = Screen::capture();
  EXPECT_EQ(screen.inkRow(2, 8, 7), "..###..");
  // Columns 35 to 44.
  EXPECT_EQ(screen.inkRow(4, 35, 10), "...#####..");
  EXPECT_EQ(screen.inkRow(6, 35, 10), "...####...");
  EXPECT_EQ(screen.inkRow(8, 35, 10), "..###.....");
  EXPECT_EQ(screen.inkRow(10, 35, 10), "..........");
}

TEST_F(Display, SwapBuffersClearsTheNextPicture) {
  display.drawCh(Vector(5, 3), 'W', qm::WHITE);

  EXPECT_EQ(display.swapBuffers(), 0);

  EXPECT_FALSE(Screen::capture().hasInk(5, 3));
}

TEST_F(Display, ShutDownWithoutCloseRequestKeepsTheWindow) {
  sf::RenderWindow *p_window = display.getWindow();

  display.shutDown();

  EXPECT_FALSE(display.isStarted());
  EXPECT_EQ(display.getWindow(), p_window);
  EXPECT_TRUE(p_window->isOpen());
}

TEST_F(Display, ShutDownHonoursACloseRequest) {
  ASSERT_TRUE(qm_test::sendCloseRequest(*display.getWindow()));

  display.shutDown();

  EXPECT_FALSE(display.isStarted());
  EXPECT_EQ(display.getWindow(), nullptr);
  // Without a window, drawing is refused rather than attempted.
  EXPECT_EQ(display.drawCh(Vector(1, 1), 'A', qm::WHITE), -1);
  EXPECT_EQ(display.swapBuffers(), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! No window to draw to.\n"
                                "Message : Error: No window to display to.\n");
}

} // namespace
