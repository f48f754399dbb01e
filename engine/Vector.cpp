#include "Vector.h"

#include <cmath>

namespace qm {

Vector::Vector() : Vector(0.0f, 0.0f) {}

Vector::Vector(float init_x, float init_y) : m_x(init_x), m_y(init_y) {}

void Vector::setX(float new_x) {
  m_x = new_x;
}

float Vector::getX() const {
  return m_x;
}

void Vector::setY(float new_y) {
  m_y = new_y;
}

float Vector::getY() const {
  return m_y;
}

void Vector::setXY(float new_x, float new_y) {
  m_x = new_x;
  m_y = new_y;
}

float Vector::getMagnitude() const {
  return sqrtf(m_x * m_x + m_y * m_y);
}

void Vector::normalize() {
  const float length = getMagnitude();
  // Written so that a NaN length, like zero, leaves the vector alone.
  if (length > 0.0f) {
    m_x = m_x / length;
    m_y = m_y / length;
  }
}

void Vector::scale(float s) {
  m_x = m_x * s;
  m_y = m_y * s;
}

Vector Vector::operator+(const Vector &other) const {
  return Vector(m_x + other.m_x, m_y + other.m_y);
}

} // namespace qm
