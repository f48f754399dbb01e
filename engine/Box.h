// An axis-aligned rectangle in cells: the closed ranges
// [corner.x, corner.x + horizontal] and [corner.y, corner.y + vertical].
// A plain value, small enough to copy freely.
#pragma once

#include "Vector.h"

namespace qm {

class Box {
public:
  Box();
  Box(Vector init_corner, float init_horizontal, float init_vertical);

  void setCorner(Vector new_corner);
  Vector getCorner() const;
  void setHorizontal(float new_horizontal);
  float getHorizontal() const;
  void setVertical(float new_vertical);
  float getVertical() const;

private:
  Vector m_corner;
  float m_horizontal;
  float m_vertical;
};

} // namespace qm
