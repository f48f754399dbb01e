// A falling bonus of one kind ("points", "speed" or "platform"), made by the
// ball at a random column near the top. The platform applies it when it
// catches it; otherwise it removes itself once it has left the world. Owned by
// the world.
#pragma once

#include "Object.h"

#include <string>

namespace qm {
class Event;
}

inline const std::string POWER_UP_TYPE = "PowerUp";

class PowerUp : public qm::Object {
public:
  PowerUp();

  // 1 for an out event, 0 for any other.
  int eventHandler(const qm::Event *p_e) override;

  std::string getPower() const;
  void setPower(std::string new_type);

private:
  void out();

  std::string power;
};

// The starting column of the ball and of a power-up for a random number r on a
// world h cells wide: r % int(h) - 1, then moved in from the edges.
float startColumn(int r, float h);

// Where the ball and the power-ups start: the generator reseeded from the
// clock, then a random column on row 3 of the world.
qm::Vector randomStartPosition();
