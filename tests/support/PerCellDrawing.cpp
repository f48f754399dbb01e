#include "PerCellDrawing.h"

#include "DisplayManager.h"
#include "LogManager.h"
#include "utility.h"

#include <SFML/Graphics.hpp>

#include <cstddef>
#include <string>

namespace qm_test {

namespace {

sf::Color screenColor(qm::Color color) {
  static const sf::Color SCREEN_COLORS[] = {sf::Color::Black,  sf::Color::Red,  sf::Color::Green,
                                            sf::Color::Yellow, sf::Color::Blue, sf::Color::Magenta,
                                            sf::Color::Cyan,   sf::Color::White};
  if (color < qm::BLACK || color > qm::WHITE) {
    qm::LogManager::getInstance().writeLog("Warning: Drawing with undefined color.\n");
    return sf::Color::White;
  }
  return SCREEN_COLORS[color];
}

} // namespace

int drawChPerCell(qm::Vector world_pos, char ch, qm::Color color) {
  sf::RenderWindow *p_window = qm::DisplayManager::getInstance().getWindow();
  if (p_window == nullptr) {
    qm::LogManager::getInstance().writeLog("Error! No window to draw to.\n");
    return -1;
  }
  // Shared by every call and kept to the end of the program, like the
  // display's own shapes were.
  static sf::Font font;
  static const bool font_loaded = font.loadFromFile(qm::FONT_FILE_DEFAULT);
  static sf::RectangleShape background(sf::Vector2f(0, 0));
  static sf::Text text("", font, 30);
  if (!font_loaded) {
    return -1;
  }
  const qm::Vector pixel_pos = qm::spacesToPixels(qm::worldToView(world_pos));
  const float char_width = qm::charWidth();
  const float char_height = qm::charHeight();
  background.setSize(sf::Vector2f(char_width, char_height));
  background.setFillColor(qm::WINDOW_BACKGROUND_COLOR_DEFAULT);
  background.setPosition(pixel_pos.getX() - char_width / 10, pixel_pos.getY() + char_height / 5);
  p_window->draw(background);

  text.setString(std::string(1, ch));
  text.setStyle(sf::Text::Bold);
  const float char_size = char_height > char_width ? 2 * char_width : 2 * char_height;
  text.setCharacterSize(static_cast<unsigned int>(char_size));
  text.setFillColor(screenColor(color));
  text.setPosition(pixel_pos.getX(), pixel_pos.getY());
  p_window->draw(text);
  return 0;
}

void drawStringPerCell(qm::Vector pos, const std::string &str, qm::Justification just,
                       qm::Color color) {
  const int length = static_cast<int>(str.size());
  float start_x = pos.getX();
  if (just == qm::CENTER_JUSTIFIED) {
    start_x -= static_cast<float>(length / 2);
  } else if (just == qm::RIGHT_JUSTIFIED) {
    start_x -= static_cast<float>(length);
  }
  for (std::size_t i = 0; i < str.size(); i++) {
    drawChPerCell(qm::Vector(start_x + static_cast<float>(i), pos.getY()), str[i], color);
  }
}

void drawFramePerCell(const qm::Frame &frame, qm::Vector position, qm::Color color) {
  const std::string cells = frame.getString();
  const int width = frame.getWidth();
  for (int i = 0; i < static_cast<int>(cells.size()); i++) {
    drawChPerCell(
        qm::Vector(position.getX() + static_cast<float>(i % width) - static_cast<float>(width / 2),
                   position.getY() + static_cast<float>(i / width) -
                       static_cast<float>(frame.getHeight() / 2)),
        cells[static_cast<std::size_t>(i)], color);
  }
}

} // namespace qm_test
