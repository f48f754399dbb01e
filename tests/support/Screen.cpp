#include "Screen.h"

#include "DisplayManager.h"

#include <SFML/Graphics/Texture.hpp>

namespace qm_test {

namespace {

// The inner part of a cell, relative to the pixel where its character is
// placed. With the game's font at size 24, glyphs span about x 0..11 and
// y 6..27 and reach a pixel into their neighbours on either side.
constexpr int INNER_LEFT = 2;
constexpr int INNER_RIGHT = 10;
constexpr int INNER_TOP = 6;
constexpr int INNER_BOTTOM = 30;

int brightness(sf::Color color) {
  return color.r + color.g + color.b;
}

} // namespace

Screen Screen::capture() {
  const qm::DisplayManager &display = qm::DisplayManager::getInstance();
  sf::RenderWindow *p_window = display.getWindow();
  sf::Image image;
  if (!p_window) {
    image.create(display.getHorizontalPixels(), display.getVerticalPixels(), sf::Color::Black);
    return Screen(image);
  }
  const sf::Vector2u size = p_window->getSize();
  sf::Texture texture;
  texture.create(size.x, size.y);
  texture.update(*p_window);
  return Screen(texture.copyToImage());
}

Screen::Screen(const sf::Image &image) : m_image(image) {}

sf::Color Screen::pixel(int x, int y) const {
  const sf::Vector2u size = m_image.getSize();
  if (x < 0 || y < 0 || x >= static_cast<int>(size.x) || y >= static_cast<int>(size.y)) {
    return sf::Color::Black;
  }
  return m_image.getPixel(static_cast<unsigned int>(x), static_cast<unsigned int>(y));
}

sf::Color Screen::inkColor(int col, int row) const {
  const int left = col * static_cast<int>(qm::charWidth());
  const int top = row * static_cast<int>(qm::charHeight());
  sf::Color brightest = sf::Color::Black;
  for (int y = top + INNER_TOP; y < top + INNER_BOTTOM; y++) {
    for (int x = left + INNER_LEFT; x < left + INNER_RIGHT; x++) {
      const sf::Color here = pixel(x, y);
      if (brightness(here) > brightness(brightest)) {
        brightest = here;
      }
    }
  }
  return sf::Color(brightest.r, brightest.g, brightest.b);
}

bool Screen::hasInk(int col, int row) const {
  return brightness(inkColor(col, row)) > 0;
}

std::string Screen::inkRow(int row, int first_col, int count) const {
  std::string cells;
  for (int col = first_col; col < first_col + count; col++) {
    cells += hasInk(col, row) ? '#' : '.';
  }
  return cells;
}

} // namespace qm_test
