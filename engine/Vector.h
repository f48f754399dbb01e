// A point or a direction on the character grid, in cells; x grows to the
// right and y downwards. A plain value, small enough to copy freely.
#pragma once

namespace qm {

class Vector {
public:
  Vector();
  Vector(float init_x, float init_y);

  void setX(float new_x);
  float getX() const;
  void setY(float new_y);
  float getY() const;
  void setXY(float new_x, float new_y);

  // Computed in single precision throughout.
  float getMagnitude() const;
  // Leaves the zero vector (and a NaN magnitude) unchanged.
  void normalize();
  void scale(float s);
  Vector operator+(const Vector &other) const;

private:
  float m_x;
  float m_y;
};

} // namespace qm
