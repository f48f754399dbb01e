// A corner piece at the arena's upper "left" or "right" end: hard and passive,
// it scores a point for every ball that meets it. Owned by the world.
#pragma once

#include "Object.h"

#include <string>

inline const std::string CORNER_TYPE = "Corner";

class Corner : public qm::Object {
public:
  // Any other place leaves the corner at (0, 0).
  explicit Corner(std::string place);
};
