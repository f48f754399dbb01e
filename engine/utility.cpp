#include "utility.h"

#include "Object.h"
#include "WorldManager.h"

#include <cmath>
#include <sstream>

namespace qm {

namespace {

// Closed ranges [a1, a2] and [b1, b2]; any NaN makes them miss.
bool rangesOverlap(float a1, float a2, float b1, float b2) {
  return (b1 <= a1 && a1 <= b2) || (a1 <= b1 && b1 <= a2);
}

} // namespace

bool boxIntersectsBox(Box A, Box B) {
  const float ax1 = A.getCorner().getX();
  const float ay1 = A.getCorner().getY();
  const float bx1 = B.getCorner().getX();
  const float by1 = B.getCorner().getY();
  return rangesOverlap(ax1, ax1 + A.getHorizontal(), bx1, bx1 + B.getHorizontal()) &&
         rangesOverlap(ay1, ay1 + A.getVertical(), by1, by1 + B.getVertical());
}

Box getWorldBox(const Object *p_o, Vector where) {
  Box world_box = p_o->getBox();
  world_box.setCorner(world_box.getCorner() + where);
  return world_box;
}

Box getWorldBox(const Object *p_o) {
  return getWorldBox(p_o, p_o->getPosition());
}

Vector worldToView(Vector world_pos) {
  const Vector view_corner = WorldManager::getInstance().getView().getCorner();
  return Vector(world_pos.getX() - view_corner.getX(), world_pos.getY() - view_corner.getY());
}

Vector viewToWorld(Vector view_pos) {
  return view_pos + WorldManager::getInstance().getBoundary().getCorner();
}

bool positionsIntersect(Vector p1, Vector p2) {
  return fabsf(p1.getX() - p2.getX()) <= 1.0f && fabsf(p1.getY() - p2.getY()) <= 1.0f;
}

std::string toString(int i) {
  std::stringstream text;
  text << i;
  return text.str();
}

} // namespace qm
