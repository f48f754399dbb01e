// Sent to an object whose move took its box out of the world. Built by the
// world on the stack for one delivery, to the mover alone.
#pragma once

#include "Event.h"

namespace qm {

inline const std::string OUT_EVENT = "qm::out";

class EventOut : public Event {
public:
  EventOut();
};

} // namespace qm
