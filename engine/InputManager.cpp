#include "InputManager.h"

#include "DisplayManager.h"

namespace qm {

namespace {

// The screen knows where its picture sits: for a window, how it is scaled and
// where its bars are.
Vector pointerCells(int x, int y) {
  return DisplayManager::getInstance().pointerCells(x, y);
}

} // namespace

InputManager::InputManager() {
  setType("InputManager");
}

InputManager &InputManager::getInstance() {
  static InputManager input_manager;
  return input_manager;
}

int InputManager::startUp() {
  DisplayManager &display_manager = DisplayManager::getInstance();
  if (!display_manager.isStarted()) {
    return -1;
  }
  // A key held down must give one press and one release: the game reacts
  // to presses, and repeats would read as fresh ones.
  if (sf::RenderWindow *p_window = display_manager.getWindow()) {
    p_window->setKeyRepeatEnabled(false);
  }
  return Manager::startUp();
}

void InputManager::shutDown() {
  if (sf::RenderWindow *p_window = DisplayManager::getInstance().getWindow()) {
    p_window->setKeyRepeatEnabled(true);
  }
  Manager::shutDown();
}

void InputManager::getInput() const {
  DisplayManager &display_manager = DisplayManager::getInstance();
  sf::Event window_event;
  while (display_manager.pollEvent(&window_event)) {
    dispatch(window_event);
  }
}

void InputManager::dispatch(const sf::Event &window_event) const {
  switch (window_event.type) {
  case sf::Event::KeyPressed:
  case sf::Event::KeyReleased: {
    EventKeyboard keyboard_event;
    keyboard_event.setKeyboardAction(window_event.type == sf::Event::KeyPressed ? KEY_PRESSED
                                                                                : KEY_RELEASED);
    keyboard_event.setKey(translateKey(window_event.key.code));
    onEvent(&keyboard_event);
    break;
  }
  case sf::Event::MouseMoved: {
    EventMouse mouse_event;
    mouse_event.setMouseAction(MOVED);
    mouse_event.setMousePosition(pointerCells(window_event.mouseMove.x, window_event.mouseMove.y));
    onEvent(&mouse_event);
    break;
  }
  case sf::Event::MouseButtonPressed: {
    EventMouse mouse_event;
    mouse_event.setMouseAction(CLICKED);
    mouse_event.setMousePosition(
        pointerCells(window_event.mouseButton.x, window_event.mouseButton.y));
    mouse_event.setMouseButton(translateButton(window_event.mouseButton.button));
    onEvent(&mouse_event);
    break;
  }
  default:
    // Close requests included: the game is ended from the keyboard.
    break;
  }
}

Keyboard::Key translateKey(sf::Keyboard::Key sfml_key) {
  if (sfml_key >= sf::Keyboard::A && sfml_key <= sf::Keyboard::Z) {
    return static_cast<Keyboard::Key>(Keyboard::A + (sfml_key - sf::Keyboard::A));
  }
  if (sfml_key >= sf::Keyboard::Num1 && sfml_key <= sf::Keyboard::Num9) {
    return static_cast<Keyboard::Key>(Keyboard::NUM1 + (sfml_key - sf::Keyboard::Num1));
  }
  if (sfml_key >= sf::Keyboard::F1 && sfml_key <= sf::Keyboard::F12) {
    return static_cast<Keyboard::Key>(Keyboard::F1 + (sfml_key - sf::Keyboard::F1));
  }
  switch (sfml_key) {
  case sf::Keyboard::Num0:
    return Keyboard::NUM0;
  case sf::Keyboard::Escape:
    return Keyboard::ESCAPE;
  case sf::Keyboard::LControl:
    return Keyboard::LEFTCONTROL;
  case sf::Keyboard::LShift:
    return Keyboard::LEFTSHIFT;
  case sf::Keyboard::RControl:
    return Keyboard::RIGHTCONTROL;
  case sf::Keyboard::RShift:
    return Keyboard::RIGHTSHIFT;
  case sf::Keyboard::Comma:
    return Keyboard::COMMA;
  case sf::Keyboard::Period:
    return Keyboard::PERIOD;
  case sf::Keyboard::Slash:
    return Keyboard::SLASH;
  case sf::Keyboard::Tilde:
    return Keyboard::TILDE;
  case sf::Keyboard::Space:
    return Keyboard::SPACE;
  case sf::Keyboard::Enter:
    return Keyboard::RETURN;
  case sf::Keyboard::Tab:
    return Keyboard::TAB;
  // Only the keypad's plus and minus: the main block's hyphen stays undefined.
  case sf::Keyboard::Add:
    return Keyboard::PLUS;
  case sf::Keyboard::Subtract:
    return Keyboard::MINUS;
  case sf::Keyboard::Left:
    return Keyboard::LEFTARROW;
  case sf::Keyboard::Right:
    return Keyboard::RIGHTARROW;
  case sf::Keyboard::Up:
    return Keyboard::UPARROW;
  case sf::Keyboard::Down:
    return Keyboard::DOWNARROW;
  case sf::Keyboard::Pause:
    return Keyboard::PAUSE;
  default:
    return Keyboard::UNDEFINED_KEY;
  }
}

Mouse::Button translateButton(sf::Mouse::Button sfml_button) {
  switch (sfml_button) {
  case sf::Mouse::Left:
    return Mouse::LEFT;
  case sf::Mouse::Right:
    return Mouse::RIGHT;
  case sf::Mouse::Middle:
    return Mouse::MIDDLE;
  default:
    return Mouse::UNDEFINED_MOUSE_BUTTON;
  }
}

} // namespace qm
