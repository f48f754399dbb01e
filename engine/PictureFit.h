// Where the display's picture sits in a window of any size: scaled by the
// largest factor that fits, centred, black bars around it. The one mapping
// between window pixels, picture pixels and cells that input and drawing
// share. A small value, made afresh whenever the window's size changes.
#pragma once

#include "Vector.h"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/System/Vector2.hpp>

namespace qm {

class PictureFit {
public:
  // A picture of picture_size pixels showing a grid of grid_size cells, in a
  // window of window_size pixels.
  PictureFit(sf::Vector2u window_size, sf::Vector2u picture_size, sf::Vector2u grid_size);

  // The smaller of the window's width over the picture's and its height over
  // the picture's: 1 when the window has the picture's size.
  float getScale() const;
  sf::Vector2u getGridSize() const;
  // The picture's place in the window, in whole window pixels.
  sf::IntRect getPictureRect() const;
  // Draws into the picture's place pixel for pixel, from its top left corner,
  // and nothing onto the bars.
  sf::View getView() const;

  // A window pixel in the picture's own pixels, and those in cells; neither
  // is rounded nor clamped, so a point over a bar falls outside the grid.
  Vector windowToPicture(Vector window_pixel) const;
  Vector pictureToCells(Vector picture_pixel) const;
  Vector windowToCells(Vector window_pixel) const;
  Vector cellsToPicture(Vector cells) const;

  // Drawing at the window's scale, in the pixels of getView. A cell's size,
  // and its text position, the pixel where its character is placed: at scale
  // 1 exactly cellsToPicture, as the grid has always been drawn; scaled, on
  // a whole pixel, so that the glyphs rasterised at the scaled size land
  // texel on pixel and stay crisp.
  sf::Vector2f getCellSize() const;
  sf::Vector2f textPosition(Vector cells) const;
  // The cell's black background: a cell in size, a tenth of a cell left of
  // the text position and a fifth of a cell below it.
  sf::Vector2f backgroundPosition(sf::Vector2f text_position) const;
  // Twice the cell's smaller side, cut to a whole number: 24 at scale 1.
  unsigned int getCharSize() const;

  bool operator==(const PictureFit &other) const;

private:
  sf::Vector2u m_window_size;
  sf::Vector2u m_picture_size;
  sf::Vector2u m_grid_size;
  float m_scale;
  sf::IntRect m_picture_rect;
  // A cell in picture pixels: the picture's size over the grid's in whole
  // numbers, so that the grid may leave a strip of the picture unused.
  float m_char_width;
  float m_char_height;
};

} // namespace qm
