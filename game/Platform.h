// The paddle on row 21: follows the mouse, catches the falling power-ups and
// applies them, and ends the program on Q. One per game, owned by the world.
#pragma once

#include "Object.h"

#include <string>

namespace qm {
class Event;
class EventCollision;
} // namespace qm

// Steps that a long or short platform keeps its size.
inline constexpr int PLATFORM_POWER_UP_TIME = 330;

inline const std::string PLATFORM_TYPE = "Platform";

class Platform : public qm::Object {
public:
  Platform();

  // 1 for a pointer move, any key, a collision or a step; 0 otherwise (a
  // click included).
  int eventHandler(const qm::Event *p_e) override;

private:
  void hit(const qm::EventCollision *p_c);
  void step();

  int platform_power_up_time = PLATFORM_POWER_UP_TIME;
  int platform_countdown = 0; // steps left at a changed size; 0: normal size
};
