// One ASCII-art picture: width x height characters, row after row, in one
// string without line breaks. Held by value in its sprite's slots.
#pragma once

#include "Color.h"
#include "Vector.h"

#include <string>

namespace qm {

class Frame {
public:
  Frame();
  Frame(int new_width, int new_height, std::string frame_str);

  void setWidth(int new_width);
  int getWidth() const;
  void setHeight(int new_height);
  int getHeight() const;
  void setString(std::string new_frame_string);
  std::string getString() const;

  // Draws the frame centred on position; -1 when there is nothing to draw.
  int draw(Vector position, Color color) const;

private:
  int m_width;
  int m_height;
  std::string m_frame_str;
};

} // namespace qm
