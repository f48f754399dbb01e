#include "Screen.h"

#include "DisplayManager.h"
#include "TestSupport.h"

#include <SFML/Graphics/Texture.hpp>

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
  const sf::RenderWindow &window = *qm::DisplayManager::getInstance().getWindow();
  sf::Texture texture;
  texture.create(window.getSize().x, window.getSize().y);
  texture.update(window);
  Screen screen;
  screen.m_image = texture.copyToImage();
  return screen;
}

sf::Color Screen::inkColor(int col, int row) const {
  const auto left = static_cast<unsigned int>(col * qm::charWidth());
  const auto top = static_cast<unsigned int>(row * qm::charHeight());
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
