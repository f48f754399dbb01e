#include "PictureFit.h"

#include <algorithm>
#include <cmath>

namespace qm {

PictureFit::PictureFit(sf::Vector2u window_size, sf::Vector2u picture_size, sf::Vector2u grid_size)
    : m_window_size(std::max(window_size.x, 1u), std::max(window_size.y, 1u)),
      m_picture_size(picture_size), m_grid_size(grid_size),
      m_char_width(static_cast<float>(picture_size.x / grid_size.x)),
      m_char_height(static_cast<float>(picture_size.y / grid_size.y)) {
  const auto window_width = static_cast<float>(m_window_size.x);
  const auto window_height = static_cast<float>(m_window_size.y);
  m_scale = std::min(window_width / static_cast<float>(picture_size.x),
                     window_height / static_cast<float>(picture_size.y));
  // One side fills the window exactly; the other is rounded to a whole
  // pixel and its bars split what is left, the odd pixel going right or
  // below.
  const int width =
      std::min(static_cast<int>(m_window_size.x),
               static_cast<int>(std::lround(static_cast<float>(picture_size.x) * m_scale)));
  const int height =
      std::min(static_cast<int>(m_window_size.y),
               static_cast<int>(std::lround(static_cast<float>(picture_size.y) * m_scale)));
  m_picture_rect = sf::IntRect((static_cast<int>(m_window_size.x) - width) / 2,
                               (static_cast<int>(m_window_size.y) - height) / 2, width, height);
}

float PictureFit::getScale() const {
  return m_scale;
}

sf::Vector2u PictureFit::getGridSize() const {
  return m_grid_size;
}

sf::IntRect PictureFit::getPictureRect() const {
  return m_picture_rect;
}

sf::View PictureFit::getView() const {
  const auto width = static_cast<float>(m_picture_rect.width);
  const auto height = static_cast<float>(m_picture_rect.height);
  sf::View view(sf::FloatRect(0, 0, width, height));
  const auto window_width = static_cast<float>(m_window_size.x);
  const auto window_height = static_cast<float>(m_window_size.y);
  view.setViewport(sf::FloatRect(static_cast<float>(m_picture_rect.left) / window_width,
                                 static_cast<float>(m_picture_rect.top) / window_height,
                                 width / window_width, height / window_height));
  return view;
}

Vector PictureFit::windowToPicture(Vector window_pixel) const {
  return Vector((window_pixel.getX() - static_cast<float>(m_picture_rect.left)) / m_scale,
                (window_pixel.getY() - static_cast<float>(m_picture_rect.top)) / m_scale);
}

Vector PictureFit::pictureToCells(Vector picture_pixel) const {
  return Vector(picture_pixel.getX() / m_char_width, picture_pixel.getY() / m_char_height);
}

Vector PictureFit::windowToCells(Vector window_pixel) const {
  return pictureToCells(windowToPicture(window_pixel));
}

Vector PictureFit::cellsToPicture(Vector cells) const {
  return Vector(cells.getX() * m_char_width, cells.getY() * m_char_height);
}

sf::Vector2f PictureFit::getCellSize() const {
  return sf::Vector2f(m_char_width * m_scale, m_char_height * m_scale);
}

sf::Vector2f PictureFit::textPosition(Vector cells) const {
  const Vector picture_pixel = cellsToPicture(cells);
  if (m_scale == 1) {
    return sf::Vector2f(picture_pixel.getX(), picture_pixel.getY());
  }
  return sf::Vector2f(std::round(picture_pixel.getX() * m_scale),
                      std::round(picture_pixel.getY() * m_scale));
}

sf::Vector2f PictureFit::backgroundPosition(sf::Vector2f text_position) const {
  const sf::Vector2f cell = getCellSize();
  return sf::Vector2f(text_position.x - cell.x / 10, text_position.y + cell.y / 5);
}

unsigned int PictureFit::getCharSize() const {
  const sf::Vector2f cell = getCellSize();
  return static_cast<unsigned int>(cell.y > cell.x ? 2 * cell.x : 2 * cell.y);
}

bool PictureFit::operator==(const PictureFit &other) const {
  return m_window_size == other.m_window_size && m_picture_size == other.m_picture_size &&
         m_grid_size == other.m_grid_size;
}

} // namespace qm
