// Sent to every object once per pass of the game loop, numbered from 0.
// Built by the game manager on the stack for one delivery.
#pragma once

#include "Event.h"

namespace qm {

inline const std::string STEP_EVENT = "qm::step";

class EventStep : public Event {
public:
  EventStep();
  explicit EventStep(int init_step_count);

  void setStepCount(int new_step_count);
  int getStepCount() const;

private:
  int m_step_count;
};

} // namespace qm
