// The score display in the top right corner, and the keeper of the win: once
// the score has passed 99 it clears the world and puts up the win screen.
// One per game, owned by the world.
#pragma once

#include "ViewObject.h"

#include <string>

namespace qm {
class Event;
}

// The view string that the score display answers to in view events.
inline const std::string POINTS_STRING = "Points";

class Points : public qm::ViewObject {
public:
  Points();

  // 1 for a view event that changed the score and for every step event.
  int eventHandler(const qm::Event *p_e) override;
};
