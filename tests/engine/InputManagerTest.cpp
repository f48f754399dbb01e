// Input from window events built in the test. Nothing here opens a window.
#include "InputManager.h"

#include "GameManager.h"
#include "Spy.h"
#include "TestSupport.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

namespace {

// Short names keep the translation table readable: SFML's keys and ours.
using Sf = sf::Keyboard;
namespace Qm = qm::Keyboard;

TEST(InputManager, TranslatesKeysAndButtonsToTheEngineNames) {
  // -1 is UNDEFINED_KEY. Only the keypad's plus and minus are translated: the
  // main block's hyphen is not.
  const std::pair<Sf::Key, int> keys[] = {
      {Sf::A, Qm::A},       {Sf::P, 46},          {Sf::Q, 47},
      {Sf::Z, Qm::Z},       {Sf::Num0, Qm::NUM0}, {Sf::Num1, Qm::NUM1},
      {Sf::Num9, Qm::NUM9}, {Sf::F1, Qm::F1},     {Sf::F12, Qm::F12},
      {Sf::F13, -1},        {Sf::Add, Qm::PLUS},  {Sf::Subtract, Qm::MINUS},
      {Sf::Hyphen, -1},     {Sf::Tab, Qm::TAB},   {Sf::Enter, Qm::RETURN},
  };
  for (const auto &[sfml_key, engine_key] : keys) {
    EXPECT_EQ(qm::translateKey(sfml_key), engine_key) << "SFML key " << sfml_key;
  }
  // Every engine key, from SPACE to NUM0, has an SFML key.
  int translated_count = 0;
  for (int code = Sf::Unknown; code < Sf::KeyCount; code++) {
    translated_count += qm::translateKey(static_cast<Sf::Key>(code)) != Qm::UNDEFINED_KEY;
  }
  EXPECT_EQ(translated_count, Qm::NUM0 + 1);
  EXPECT_EQ(qm::translateButton(sf::Mouse::Right), qm::Mouse::RIGHT);
  EXPECT_EQ(qm::translateButton(sf::Mouse::Middle), qm::Mouse::MIDDLE);
  EXPECT_EQ(qm::translateButton(sf::Mouse::XButton1), qm::Mouse::UNDEFINED_MOUSE_BUTTON);
}

// A window event of the type: for keys, code is the key; for the mouse, code
// is the button and (x, y) the pixel.
sf::Event windowEvent(sf::Event::EventType type, int code = 0, int x = 0, int y = 0) {
  sf::Event window_event{};
  window_event.type = type;
  if (type == sf::Event::KeyPressed || type == sf::Event::KeyReleased) {
    window_event.key.code = static_cast<Sf::Key>(code);
  } else if (type == sf::Event::MouseMoved) {
    window_event.mouseMove = {x, y};
  } else {
    window_event.mouseButton = {static_cast<sf::Mouse::Button>(code), x, y};
  }
  return window_event;
}

TEST(InputManager, DispatchesKeysAndTheMouseToObjectsInOrderAndAClosedWindowEndsTheGame) {
  qm_test::resetWorld();
  qm::GameManager::getInstance().setGameOver(false);
  qm_test::Journal journal;
  // Each input event as "<type> <action> <key>" or "<type> <action> <button>
  // at <x>,<y>", with actions and codes as numbers.
  std::ostringstream received;
  (new qm_test::SpyObject("spy", &journal))->on_event = [&received](const qm::Event *p_e) {
    received << p_e->getType();
    if (const auto *p_key = dynamic_cast<const qm::EventKeyboard *>(p_e)) {
      received << " " << p_key->getKeyboardAction() << " " << p_key->getKey() << "; ";
    } else if (const auto *p_mouse = dynamic_cast<const qm::EventMouse *>(p_e)) {
      const qm::Vector at = p_mouse->getMousePosition();
      received << " " << p_mouse->getMouseAction() << " " << p_mouse->getMouseButton() << " at "
               << at.getX() << "," << at.getY() << "; ";
    }
  };

  for (const sf::Event &window_event :
       {windowEvent(sf::Event::KeyPressed, Sf::P), windowEvent(sf::Event::Closed),
        windowEvent(sf::Event::KeyReleased, Sf::P), windowEvent(sf::Event::TextEntered),
        windowEvent(sf::Event::MouseMoved, 0, 600, 384),
        windowEvent(sf::Event::MouseButtonReleased, sf::Mouse::Left, 606, 400),
        windowEvent(sf::Event::MouseButtonPressed, sf::Mouse::Left, 606, 400),
        windowEvent(sf::Event::MouseWheelScrolled), windowEvent(sf::Event::Resized),
        windowEvent(sf::Event::KeyPressed, Sf::Hyphen)}) {
    qm::InputManager::getInstance().dispatch(window_event);
  }

  // Key actions: 0 pressed, 1 released; mouse actions: 0 clicked, 1 moved.
  EXPECT_EQ(received.str(), "qm::keyboard 0 46; qm::keyboard 1 46; qm::mouse 1 -1 at 50,12; "
                            "qm::mouse 0 0 at 50.5,12.5; qm::keyboard 0 -1; ");
  EXPECT_TRUE(qm::GameManager::getInstance().getGameOver());
  qm::WorldManager::getInstance().shutDown();
}

} // namespace
