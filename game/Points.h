// The score display in the top right corner, and the keeper of the win: once
// the score has passed 99 it clears the world and puts up the win screen.
// One per game, owned by the world.
#pragma once

#include "ViewObject.h"

namespace qm {
class Event;
}

class Points : public qm::ViewObject {
public:
  Points();

  // 1 for a view event that changed the score and for every step event.
  int eventHandler(const qm::Event *p_e) override;
};
