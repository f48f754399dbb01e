// A wall of the arena: "top", "left" or "right", placed from the world's
// boundary. Passive and hard; the ball recognises it by its type and bounces
// by itself. Owned by the world.
#pragma once

#include "Object.h"

#include <string>

inline const std::string BORDER_TYPE = "Border";

class Border : public qm::Object {
public:
  // Any other place gives a spriteless wall at (0, 0).
  explicit Border(std::string place);
};
