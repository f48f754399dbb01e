// The world's free helper functions: box overlap, an object's box in the
// world, conversions between world and view positions, and number text.
#pragma once

#include "Box.h"
#include "Vector.h"

#include <string>

namespace qm {

class Object;

// Inclusive: boxes that only touch along an edge or at a corner intersect.
bool boxIntersectsBox(Box A, Box B);

// The object's relative box moved by where (or by its position).
Box getWorldBox(const Object *p_o, Vector where);
Box getWorldBox(const Object *p_o);

// World to view subtracts the view's corner; view to world adds the
// boundary's corner. They are inverses only while the two corners agree.
Vector worldToView(Vector world_pos);
Vector viewToWorld(Vector view_pos);

// Both axes within one cell of each other, inclusive.
bool positionsIntersect(Vector p1, Vector p2);

std::string toString(int i);

} // namespace qm
