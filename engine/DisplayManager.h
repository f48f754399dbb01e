// Owns the one window and everything that reaches the screen: a grid of
// character cells, each drawn as one coloured character on a cell-sized
// background. A singleton started by the game manager.
#pragma once

#include "Color.h"
#include "Manager.h"
#include "Vector.h"

#include <SFML/Graphics.hpp>

#include <array>
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

enum Justification : int {
  LEFT_JUSTIFIED = 0,
  CENTER_JUSTIFIED = 1,
  RIGHT_JUSTIFIED = 2,
};

class DisplayManager : public Manager {
public:
  static DisplayManager &getInstance();
  ~DisplayManager() override;

  // Opens the window and loads the font; -1 when either fails.
  int startUp() override;
  void shutDown() override;

  // Drawing is batched: drawCh and drawString only add cells to the frame
  // being built, and the whole frame reaches the window at swapBuffers, in
  // one draw, painted in call order (a later cell covers an earlier one where
  // they overlap). Nothing else in this system draws to the window between
  // drawCh and swapBuffers, nor between two swapBuffers, so the picture is
  // the one that drawing every cell at once would give, and a repeated frame
  // can leave the last picture on the window.

  // One character in the cell at world_pos; -1 when there is no window.
  int drawCh(Vector world_pos, char ch, Color color) const;
  // One row of characters, justified about pos.
  int drawString(Vector pos, std::string str, Justification just, Color color) const;
  // Draws the frame built since the last call, shows it and clears the back
  // buffer; -1 without a window. A frame of exactly the cells of the one
  // before, in an unchanged window, leaves the picture that the window shows.
  int swapBuffers();

  int getHorizontal() const;
  int getVertical() const;
  int getHorizontalPixels() const;
  int getVerticalPixels() const;
  sf::RenderWindow *getWindow() const;

private:
  DisplayManager();
  DisplayManager(const DisplayManager &);
  void operator=(const DisplayManager &);

  sf::Font m_font;
  std::unique_ptr<sf::RenderWindow> m_p_window;
  int m_window_horizontal_pixels;
  int m_window_vertical_pixels;
  int m_window_horizontal_chars;
  int m_window_vertical_chars;

  // One drawCh waiting for swapBuffers: the pixel where its text goes, the
  // character and its screen colour.
  struct Cell {
    sf::Vector2f pixel_pos;
    char ch;
    sf::Color color;
    bool operator==(const Cell &other) const;
  };

  // The bold glyph that the text of one char value shows at the cells'
  // character size; not drawn for the blanks that a text skips.
  struct CellGlyph {
    bool looked_up = false;
    bool drawn = false;
    sf::Glyph glyph;
  };

  const CellGlyph &cellGlyph(char ch);
  unsigned int cellCharSize() const;
  void buildFrame();
  bool isRepeat() const;
  void forgetFrames();

  // The frame being built, in call order.
  mutable std::vector<Cell> m_frame_cells;
  // The frame last drawn and its vertices, with the window's size and view
  // then, and how many repeats of it since it was last shown.
  std::vector<Cell> m_shown_cells;
  sf::VertexArray m_frame_vertices;
  sf::Vector2u m_drawn_window_size;
  sf::View m_drawn_view;
  int m_repeats_unshown = 0;
  // Valid until the font is loaded again.
  std::array<CellGlyph, 256> m_cell_glyphs;
};

// Cell size in pixels, from the window and grid sizes in whole numbers.
float charHeight();
float charWidth();
Vector spacesToPixels(Vector spaces);
// Not rounded.
Vector pixelsToSpaces(Vector pixels);

} // namespace qm
