// The system's display: a grid of character cells, each drawn as one
// coloured character on a cell-sized background. Records each frame's cells
// and hands the finished frame to the screen that it owns, a window or a
// text terminal, which also gives the input its events. A singleton started
// by the game manager.
#pragma once

#include "CellScreen.h"
#include "Color.h"
#include "Manager.h"
#include "Vector.h"

#include <SFML/Graphics.hpp>

#include <memory>
#include <string>
#include <vector>

namespace qm {

inline constexpr int WINDOW_HORIZONTAL_PIXELS_DEFAULT = 1024;
inline constexpr int WINDOW_VERTICAL_PIXELS_DEFAULT = 768;
inline constexpr int WINDOW_HORIZONTAL_CHARS_DEFAULT = 80;
inline constexpr int WINDOW_VERTICAL_CHARS_DEFAULT = 24;
inline constexpr int WINDOW_STYLE_DEFAULT = 1;
// Spelled out rather than copied from sf::Color::Black, which may not be set
// up yet when this constant is.
inline const sf::Color WINDOW_BACKGROUND_COLOR_DEFAULT = sf::Color(0, 0, 0);
inline const std::string WINDOW_TITLE_DEFAULT = "Quillmoth";
inline const std::string FONT_FILE_DEFAULT = "qm-font.ttf";

// The screen is chosen at start-up by this environment variable: unset or
// "window" for a window, "terminal" for the text terminal that the program
// runs in; any other value starts no display.
inline const std::string DISPLAY_VARIABLE = "QUILLMOTH_DISPLAY";
enum DisplayKind : int {
  UNKNOWN_DISPLAY = -1,
  WINDOW_DISPLAY = 0,
  TERMINAL_DISPLAY = 1,
};
// The screen that the environment asks for now.
DisplayKind chosenDisplay();

enum Justification : int {
  LEFT_JUSTIFIED = 0,
  CENTER_JUSTIFIED = 1,
  RIGHT_JUSTIFIED = 2,
};

class DisplayManager : public Manager {
public:
  static DisplayManager &getInstance();
  ~DisplayManager() override;

  // Opens the chosen screen, and for a window loads the font; -1 when either
  // fails.
  int startUp() override;
  // Closes the window when it was asked to close (its close button); gives a
  // terminal back.
  void shutDown() override;

  // Drawing is batched: drawCh and drawString only add cells to the frame
  // being built, and the whole frame reaches the screen at swapBuffers,
  // painted in call order (a later cell covers an earlier one where they
  // overlap). Nothing else in this system draws to the window between drawCh
  // and swapBuffers, nor between two swapBuffers, so the picture is the one
  // that drawing every cell at once would give, and a repeated frame can
  // leave the last picture on the window.

  // One character in the cell at world_pos; -1 when there is no window.
  int drawCh(Vector world_pos, char ch, Color color) const;
  // One row of characters, justified about pos.
  int drawString(Vector pos, std::string str, Justification just, Color color) const;
  // Shows the frame built since the last call and clears the next; -1
  // without a window. A frame of exactly the cells of the one before, in an
  // unchanged window, leaves the picture that the window shows.
  int swapBuffers();

  // The next pending input event of the screen, which has dealt with its own
  // first; false when none is waiting or there is no screen.
  bool pollEvent(sf::Event *p_event);
  // Where a pointer position of those events falls on the grid, in cells,
  // neither rounded nor clamped; without a screen, as in a window of the
  // first size.
  Vector pointerCells(int x, int y) const;

  int getHorizontal() const;
  int getVertical() const;
  // The picture's size in pixels, which is the window's first size.
  int getHorizontalPixels() const;
  int getVerticalPixels() const;
  // The window, nullptr before startUp and in a terminal, which has none. It
  // is the same object from start to end, but F11 makes the window anew in
  // it, at the full screen or back: its size, view and settings change at
  // such a switch.
  sf::RenderWindow *getWindow() const;

private:
  DisplayManager();
  DisplayManager(const DisplayManager &);
  void operator=(const DisplayManager &);

  // Declared first so that it goes last: every frame is drawn from its pages.
  sf::Font m_font;
  std::unique_ptr<CellScreen> m_p_screen;
  int m_window_horizontal_pixels;
  int m_window_vertical_pixels;
  int m_window_horizontal_chars;
  int m_window_vertical_chars;
  // The frame being built, in call order.
  mutable std::vector<ScreenCell> m_frame_cells;
};

// Cell size in pixels, from the window and grid sizes in whole numbers.
float charHeight();
float charWidth();
Vector spacesToPixels(Vector spaces);
// Not rounded.
Vector pixelsToSpaces(Vector pixels);

} // namespace qm
