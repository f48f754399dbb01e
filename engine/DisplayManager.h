// Owns the one window and everything that reaches the screen: a grid of
// character cells, each drawn as one coloured character on a cell-sized
// background. A singleton started by the game manager.
#pragma once

#include "Color.h"
#include "Manager.h"
#include "Vector.h"

#include <SFML/Graphics.hpp>

#include <memory>
#include <string>

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

  // One character in the cell at world_pos; -1 when there is no window.
  int drawCh(Vector world_pos, char ch, Color color) const;
  // One row of characters, justified about pos.
  int drawString(Vector pos, std::string str, Justification just, Color color) const;
  // Shows the finished picture and clears the next one; -1 without a window.
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
  // Reused by every drawCh, made on the first call.
  mutable std::unique_ptr<sf::RectangleShape> m_p_background;
  mutable std::unique_ptr<sf::Text> m_p_text;
};

// Cell size in pixels, from the window and grid sizes in whole numbers.
float charHeight();
float charWidth();
Vector spacesToPixels(Vector spaces);
// Not rounded.
Vector pixelsToSpaces(Vector pixels);

} // namespace qm
