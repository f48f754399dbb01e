// A mouse button pressed or the pointer moved, with the pointer's position in
// character cells of the window (not rounded). Built by the input manager on
// the stack for one delivery.
#pragma once

#include "Event.h"
#include "Vector.h"

namespace qm {

inline const std::string MSE_EVENT = "qm::mouse";

enum EventMouseAction : int {
  UNDEFINED_MOUSE_ACTION = -1,
  CLICKED = 0,
  MOVED = 1,
};

namespace Mouse {
enum Button : int {
  UNDEFINED_MOUSE_BUTTON = -1,
  LEFT = 0,
  RIGHT = 1,
  MIDDLE = 2,
};
} // namespace Mouse

class EventMouse : public Event {
public:
  EventMouse();

  void setMouseAction(EventMouseAction new_mouse_action);
  EventMouseAction getMouseAction() const;
  void setMouseButton(Mouse::Button new_mouse_button);
  Mouse::Button getMouseButton() const;
  void setMousePosition(Vector new_mouse_xy);
  Vector getMousePosition() const;

private:
  EventMouseAction m_mouse_action;
  Mouse::Button m_mouse_button;
  Vector m_mouse_xy;
};

} // namespace qm
