// Pixel checks for drawing tests: the picture the display's window shows,
// read cell by cell on the display's character grid (cells of 12 x 32 pixels).
//
// The display draws a frame when swapBuffers shows it, so capture shows the
// frame drawn so far and reads it back from the X server. Start from a shown
// empty frame, since a new window's picture is undefined: startDisplay does it.
//
//   ASSERT_EQ(qm_test::startDisplay(), 0);
//   qm::DisplayManager::getInstance().drawCh(qm::Vector(3, 2), 'A', qm::RED);
//   qm_test::Screen screen = qm_test::Screen::capture();
//   EXPECT_EQ(screen.inkColor(3, 2), sf::Color::Red);
//   EXPECT_EQ(screen.inkRow(2, 0, 6), "...#..");
//
// Needs a window, so only for tests under Xvfb.
#pragma once

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

#include <string>

namespace qm_test {

// Copies the game's font into the working directory, starts the display and
// clears its back buffer: 0, or -1 when the display does not start.
int startDisplay();

class Screen {
public:
  // Shows the frame drawn so far (swapBuffers) and reads the picture.
  static Screen capture();
  // The picture that the display manager's window shows now.
  static Screen shown();
  // The picture drawn so far in the window's back buffer, which is left as
  // it is and never shown: a reference drawn there does not reach the
  // window, where the display puts its own frames.
  static Screen drawn(sf::RenderWindow &window);

  const sf::Image &image() const { return m_image; }

  // The brightest pixel in the inner part of the cell, where the glyph of the
  // cell's own character falls: the character's colour where its stroke is
  // solid; black when the cell has no ink. Glyphs overhang their cell by a
  // pixel, so the cell's outer pixels are ignored and a neighbour's glyph
  // never counts.
  sf::Color inkColor(int col, int row) const;
  // One character per cell from first_col, count cells: '#' with ink, '.'
  // without. Easy to compare with a picture of the expected row.
  std::string inkRow(int row, int first_col, int count) const;

private:
  sf::Image m_image;
};

} // namespace qm_test
