#include "Screen.h"

#include "DisplayManager.h"
#include "TestSupport.h"

#include <SFML/Graphics/RenderWindow.hpp>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <filesystem>

namespace qm_test {

// The inner part of a cell, relative to the pixel where its character is
// placed. With the game's font at size 24, glyphs span about x 0..11 and
// y 6..27 and reach a pixel into their neighbours on either side.
constexpr unsigned int INNER_LEFT = 2, INNER_RIGHT = 10, INNER_TOP = 6, INNER_BOTTOM = 30;

int startDisplay() {
  std::filesystem::copy_file(sourcePath("qm-font.ttf"), qm::FONT_FILE_DEFAULT,
                             std::filesystem::copy_options::overwrite_existing);
  qm::DisplayManager &display = qm::DisplayManager::getInstance();
  return display.startUp() == 0 ? display.swapBuffers() : -1;
}

Screen Screen::capture() {
  qm::DisplayManager::getInstance().swapBuffers();
  return shown();
}

// Read from the X server: the window's front buffer reads back black under
// Mesa. The window's position is asked through SFML's own connection, a round
// trip after which the server has the picture that display sent.
Screen Screen::shown() {
  sf::RenderWindow &window = *qm::DisplayManager::getInstance().getWindow();
  window.getPosition();
  const sf::Vector2u size = window.getSize();
  Screen screen;
  screen.m_image.create(size.x, size.y);
  ::Display *p_x_display = XOpenDisplay(nullptr);
  if (p_x_display == nullptr) {
    return screen;
  }
  XImage *p_x_image =
      XGetImage(p_x_display, window.getSystemHandle(), 0, 0, size.x, size.y, AllPlanes, ZPixmap);
  if (p_x_image != nullptr) {
    for (unsigned int y = 0; y < size.y; y++) {
      for (unsigned int x = 0; x < size.x; x++) {
        const unsigned long pixel = XGetPixel(p_x_image, static_cast<int>(x), static_cast<int>(y));
        screen.m_image.setPixel(
            x, y,
            sf::Color(static_cast<sf::Uint8>((pixel & p_x_image->red_mask) >> 16),
                      static_cast<sf::Uint8>((pixel & p_x_image->green_mask) >> 8),
                      static_cast<sf::Uint8>(pixel & p_x_image->blue_mask)));
      }
    }
    XDestroyImage(p_x_image);
  }
  XCloseDisplay(p_x_display);
  return screen;
}

Screen Screen::drawn(sf::RenderWindow &window) {
  sf::Texture copy;
  Screen screen;
  if (copy.create(window.getSize().x, window.getSize().y)) {
    copy.update(window);
    screen.m_image = copy.copyToImage();
  }
  return screen;
}

sf::Color Screen::inkColor(int col, int row) const {
  const auto left = static_cast<unsigned int>(static_cast<float>(col) * qm::charWidth());
  const auto top = static_cast<unsigned int>(static_cast<float>(row) * qm::charHeight());
  sf::Color brightest = sf::Color::Black;
  for (unsigned int y = top + INNER_TOP; y < top + INNER_BOTTOM; y++) {
    for (unsigned int x = left + INNER_LEFT; x < left + INNER_RIGHT; x++) {
      const sf::Color here = m_image.getPixel(x, y);
      if (here.r + here.g + here.b > brightest.r + brightest.g + brightest.b) {
        brightest = sf::Color(here.r, here.g, here.b);
      }
    }
  }
  return brightest;
}

std::string Screen::inkRow(int row, int first_col, int count) const {
  std::string cells;
  for (int col = first_col; col < first_col + count; col++) {
    cells += inkColor(col, row) == sf::Color::Black ? '.' : '#';
  }
  return cells;
}

} // namespace qm_test
