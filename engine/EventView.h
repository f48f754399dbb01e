// Sets or changes the number of the view objects whose view string equals the
// event's tag. Built by the sender on the stack for one delivery.
#pragma once

#include "Event.h"

#include <string>

namespace qm {

inline const std::string VIEW_EVENT = "qm :: view";

class EventView : public Event {
public:
  EventView();
  EventView(std::string new_tag, int new_value, bool new_delta);

  void setTag(std::string new_tag);
  std::string getTag() const;
  void setValue(int new_value);
  int getValue() const;
  // true adds the value; false replaces the number with it.
  void setDelta(bool new_delta);
  bool getDelta() const;

private:
  std::string m_tag;
  int m_value;
  bool m_delta;
};

} // namespace qm
