// The paddle on row 21: follows the mouse, catches the falling power-ups and
// applies them, and ends the program on Q. One per game, owned by the world.
#pragma once

#include "Object.h"

namespace qm {
class Event;
class EventCollision;
} // namespace qm

class Platform : public qm::Object {
public:
  Platform();

  // 1 for a pointer move, any key, a collision or a step; 0 otherwise (a
  // click included).
  int eventHandler(const qm::Event *p_e) override;

private:
  void hit(const qm::EventCollision *p_c);
  void step();

  int platform_power_up_time = 330;
  int platform_countdown = 0;
};
