#include "PerCellDrawing.h"

#include "CellRenderer.h"
#include "DisplayManager.h"
#include "LogManager.h"
#include "utility.h"

#include <SFML/Graphics.hpp>

#include <cstddef>
#include <string>

namespace qm_test {

int drawChPerCell(sf::RenderTarget &target, const qm::PictureFit &fit, qm::Vector world_pos,
                  char ch, qm::Color color) {
  // Shared by every call and kept to the end of the program, like the
  // display's own shapes were.
  static sf::Font font;
  static const bool font_loaded = font.loadFromFile(qm::FONT_FILE_DEFAULT);
  static sf::RectangleShape background(sf::Vector2f(0, 0));
  static sf::Text text("", font, 30);
  if (!font_loaded) {
    return -1;
  }
  const sf::Vector2f text_position = fit.textPosition(qm::worldToView(world_pos));
  background.setSize(fit.getCellSize());
  background.setFillColor(qm::WINDOW_BACKGROUND_COLOR_DEFAULT);
  background.setPosition(fit.backgroundPosition(text_position));
  target.draw(background);

  text.setString(std::string(1, ch));
  text.setStyle(sf::Text::Bold);
  text.setCharacterSize(fit.getCharSize());
  if (color < qm::BLACK || color > qm::WHITE) {
    qm::LogManager::getInstance().writeLog("Warning: Drawing with undefined color.\n");
  }
  text.setFillColor(qm::screenColor(color));
  text.setPosition(text_position);
  target.draw(text);
  return 0;
}

int drawChPerCell(qm::Vector world_pos, char ch, qm::Color color) {
  const qm::DisplayManager &display = qm::DisplayManager::getInstance();
  sf::RenderWindow *p_window = display.getWindow();
  if (p_window == nullptr) {
    qm::LogManager::getInstance().writeLog("Error! No window to draw to.\n");
    return -1;
  }
  const qm::PictureFit fit(p_window->getSize(),
                           sf::Vector2u(static_cast<unsigned int>(display.getHorizontalPixels()),
                                        static_cast<unsigned int>(display.getVerticalPixels())),
                           sf::Vector2u(static_cast<unsigned int>(display.getHorizontal()),
                                        static_cast<unsigned int>(display.getVertical())));
  return drawChPerCell(*p_window, fit, world_pos, ch, color);
}

void drawStringPerCell(const DrawCh &draw_ch, qm::Vector pos, const std::string &str,
                       qm::Justification just, qm::Color color) {
  const int length = static_cast<int>(str.size());
  float start_x = pos.getX();
  if (just == qm::CENTER_JUSTIFIED) {
    start_x -= static_cast<float>(length / 2);
  } else if (just == qm::RIGHT_JUSTIFIED) {
    start_x -= static_cast<float>(length);
  }
  for (std::size_t i = 0; i < str.size(); i++) {
    draw_ch(qm::Vector(start_x + static_cast<float>(i), pos.getY()), str[i], color);
  }
}

void drawFramePerCell(const DrawCh &draw_ch, const qm::Frame &frame, qm::Vector position,
                      qm::Color color) {
  const std::string cells = frame.getString();
  const int width = frame.getWidth();
  for (int i = 0; i < static_cast<int>(cells.size()); i++) {
    draw_ch(
        qm::Vector(position.getX() + static_cast<float>(i % width) - static_cast<float>(width / 2),
                   position.getY() + static_cast<float>(i / width) -
                       static_cast<float>(frame.getHeight() / 2)),
        cells[static_cast<std::size_t>(i)], color);
  }
}

} // namespace qm_test
