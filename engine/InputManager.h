// Turns the window's keyboard and mouse events into engine events and hands
// each to every object. A singleton started by the game manager after the
// display.
#pragma once

#include "EventKeyboard.h"
#include "EventMouse.h"
#include "Manager.h"

#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>

namespace qm {

class InputManager : public Manager {
public:
  static InputManager &getInstance();

  // -1 when the display is not started; turns key repetition off.
  int startUp() override;
  // Turns key repetition back on.
  void shutDown() override;

  // Reads and dispatches every pending window event.
  void getInput() const;
  // Dispatches one window event: keys and the mouse are broadcast, a close
  // request sets game over, the rest is dropped.
  void dispatch(const sf::Event &window_event) const;

private:
  InputManager();
  InputManager(const InputManager &);
  void operator=(const InputManager &);
};

// UNDEFINED_KEY / UNDEFINED_MOUSE_BUTTON for anything without a translation.
Keyboard::Key translateKey(sf::Keyboard::Key sfml_key);
Mouse::Button translateButton(sf::Mouse::Button sfml_button);

} // namespace qm
