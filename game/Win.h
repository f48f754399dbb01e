// The win screen, made by the score display once the score has passed 99:
// plays its animation once, then clears the world and puts up a new start
// screen. Owned by the world.
#pragma once

#include "ViewObject.h"

namespace qm {
class Event;
}

class Win : public qm::ViewObject {
public:
  Win();

  // 1 for a step event; every other event is ignored with 0.
  int eventHandler(const qm::Event *p_e) override;
  // The sprite, as a plain object draws it; no text.
  int draw() override;

private:
  void step();

  int time_to_live = 0;
};
