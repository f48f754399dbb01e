// A key pressed or released, as broadcast by the input manager, which builds
// it on the stack for one delivery.
#pragma once

#include "Event.h"

namespace qm {

inline const std::string KEYBOARD_EVENT = "qm::keyboard";

// The values are fixed: game code compares keys as numbers.
namespace Keyboard {
enum Key : int {
  UNDEFINED_KEY = -1,
  SPACE = 0,
  RETURN,
  ESCAPE,
  TAB,
  LEFTARROW,
  RIGHTARROW,
  UPARROW,
  DOWNARROW,
  PAUSE,
  MINUS,
  PLUS,
  TILDE,
  PERIOD,
  COMMA,
  SLASH,
  LEFTCONTROL,
  RIGHTCONTROL,
  LEFTSHIFT,
  RIGHTSHIFT,
  F1,
  F2,
  F3,
  F4,
  F5,
  F6,
  F7,
  F8,
  F9,
  F10,
  F11,
  F12,
  A,
  B,
  C,
  D,
  E,
  F,
  G,
  H,
  I,
  J,
  K,
  L,
  M,
  N,
  O,
  P,
  Q,
  R,
  S,
  T,
  U,
  V,
  W,
  X,
  Y,
  Z,
  NUM1,
  NUM2,
  NUM3,
  NUM4,
  NUM5,
  NUM6,
  NUM7,
  NUM8,
  NUM9,
  NUM0,
};
} // namespace Keyboard

enum EventKeyboardAction : int {
  UNDEFINED_KEYBOARD_ACTION = -1,
  KEY_PRESSED = 0,
  KEY_RELEASED = 1,
};

class EventKeyboard : public Event {
public:
  EventKeyboard();

  void setKey(Keyboard::Key new_key);
  Keyboard::Key getKey() const;
  void setKeyboardAction(EventKeyboardAction new_action);
  EventKeyboardAction getKeyboardAction() const;

private:
  Keyboard::Key m_key_val;
  EventKeyboardAction m_keyboard_action;
};

} // namespace qm
