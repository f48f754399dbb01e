// The game's own event: the platform sends it to every object when it catches
// a "speed" power-up, and the ball answers by changing speed at random. Built
// on the stack for one broadcast.
#pragma once

#include "Event.h"

#include <string>

inline const std::string SPEED_EVENT = "speed";

class EventSpeed : public qm::Event {
public:
  EventSpeed();
};
