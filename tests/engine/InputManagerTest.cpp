#include "InputManager.h"
#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "Spy.h"
#include "TestSupport.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using qm::InputManager;
using qm::translateKey;
namespace Keyboard = qm::Keyboard;
namespace Mouse = qm::Mouse;

sf::Event keyEvent(sf::Event::EventType type, sf::Keyboard::Key code) {
  sf::Event window_event{};
  window_event.type = type;
  window_event.key.code = code;
  return window_event;
}

sf::Event mouseMoved(int x, int y) {
  sf::Event window_event{};
  window_event.type = sf::Event::MouseMoved;
  window_event.mouseMove.x = x;
  window_event.mouseMove.y = y;
  return window_event;
}

sf::Event mouseButton(sf::Event::EventType type, sf::Mouse::Button button, int x, int y) {
  sf::Event window_event{};
  window_event.type = type;
  window_event.mouseButton.button = button;
  window_event.mouseButton.x = x;
  window_event.mouseButton.y = y;
  return window_event;
}

TEST(KeyTranslation, LettersDigitsAndFunctionKeysKeepTheirNames) {
  EXPECT_EQ(translateKey(sf::Keyboard::A), Keyboard::A);
  EXPECT_EQ(translateKey(sf::Keyboard::P), 46);
  EXPECT_EQ(translateKey(sf::Keyboard::Q), 47);
  EXPECT_EQ(translateKey(sf::Keyboard::Z), Keyboard::Z);
  EXPECT_EQ(translateKey(sf::Keyboard::Num0), Keyboard::NUM0);
  EXPECT_EQ(translateKey(sf::Keyboard::Num1), Keyboard::NUM1);
  EXPECT_EQ(translateKey(sf::Keyboard::Num9), Keyboard::NUM9);
  EXPECT_EQ(translateKey(sf::Keyboard::F1), Keyboard::F1);
  EXPECT_EQ(translateKey(sf::Keyboard::F12), Keyboard::F12);
}

TEST(KeyTranslation, NamedKeysMapOneToOne) {
  const std::map<sf::Keyboard::Key, Keyboard::Key> named = {
      {sf::Keyboard::Escape, Keyboard::ESCAPE},
      {sf::Keyboard::LControl, Keyboard::LEFTCONTROL},
      {sf::Keyboard::LShift, Keyboard::LEFTSHIFT},
      {sf::Keyboard::RControl, Keyboard::RIGHTCONTROL},
      {sf::Keyboard::RShift, Keyboard::RIGHTSHIFT},
      {sf::Keyboard::Comma, Keyboard::COMMA},
      {sf::Keyboard::Period, Keyboard::PERIOD},
      {sf::Keyboard::Slash, Keyboard::SLASH},
      {sf::Keyboard::Tilde, Keyboard::TILDE},
      {sf::Keyboard::Space, Keyboard::SPACE},
      {sf::Keyboard::Enter, Keyboard::RETURN},
      {sf::Keyboard::Tab, Keyboard::TAB},
      {sf::Keyboard::Add, Keyboard::PLUS},
      {sf::Keyboard::Subtract, Keyboard::MINUS},
      {sf::Keyboard::Left, Keyboard::LEFTARROW},
      {sf::Keyboard::Right, Keyboard::RIGHTARROW},
      {sf::Keyboard::Up, Keyboard::UPARROW},
      {sf::Keyboard::Down, Keyboard::DOWNARROW},
      {sf::Keyboard::Pause, Keyboard::PAUSE},
  };
  for (const auto &[sfml_key, engine_key] : named) {
    EXPECT_EQ(translateKey(sfml_key), engine_key) << "SFML key " << sfml_key;
  }
}

TEST(KeyTranslation, MainBlockMinusAndOtherKeysAreUndefined) {
  EXPECT_EQ(translateKey(sf::Keyboard::Hyphen), Keyboard::UNDEFINED_KEY);
  EXPECT_EQ(translateKey(sf::Keyboard::Equal), Keyboard::UNDEFINED_KEY);
  EXPECT_EQ(translateKey(sf::Keyboard::LAlt), Keyboard::UNDEFINED_KEY);
  EXPECT_EQ(translateKey(sf::Keyboard::Numpad5), Keyboard::UNDEFINED_KEY);
  EXPECT_EQ(translateKey(sf::Keyboard::F13), Keyboard::UNDEFINED_KEY);
  EXPECT_EQ(translateKey(sf::Keyboard::Unknown), Keyboard::UNDEFINED_KEY);
}

TEST(KeyTranslation, EveryEngineKeyHasExactlyOneSfmlKey) {
  std::multiset<int> engine_keys;
  for (int code = sf::Keyboard::Unknown; code < sf::Keyboard::KeyCount; code++) {
    const Keyboard::Key engine_key = translateKey(static_cast<sf::Keyboard::Key>(code));
    if (engine_key != Keyboard::UNDEFINED_KEY) {
      engine_keys.insert(engine_key);
    }
  }
  ASSERT_EQ(engine_keys.size(), static_cast<size_t>(Keyboard::NUM0 + 1));
  for (int engine_key = Keyboard::SPACE; engine_key <= Keyboard::NUM0; engine_key++) {
    EXPECT_EQ(engine_keys.count(engine_key), 1u) << "engine key " << engine_key;
  }
}

TEST(ButtonTranslation, ThreeButtonsAreKnownAndExtrasUndefined) {
  EXPECT_EQ(qm::translateButton(sf::Mouse::Left), Mouse::LEFT);
  EXPECT_EQ(qm::translateButton(sf::Mouse::Right), Mouse::RIGHT);
  EXPECT_EQ(qm::translateButton(sf::Mouse::Middle), Mouse::MIDDLE);
  EXPECT_EQ(qm::translateButton(sf::Mouse::XButton1), Mouse::UNDEFINED_MOUSE_BUTTON);
  EXPECT_EQ(qm::translateButton(sf::Mouse::XButton2), Mouse::UNDEFINED_MOUSE_BUTTON);
}

// What a spy saw of each input event, in order.
struct Received {
  std::string type;
  int action;
  int code; // key or button
  float x;
  float y;
};

class InputDispatch : public ::testing::Test {
protected:
  void SetUp() override {
    qm_test::resetWorld();
    p_spy = new qm_test::SpyObject("spy", &journal);
    p_spy->on_event = [this](const qm::Event *p_e) { record(p_e); };
  }
  // The spies write into this fixture's journal, so they go with it.
  void TearDown() override { qm::WorldManager::getInstance().shutDown(); }

  void record(const qm::Event *p_e) {
    if (p_e->getType() == qm::KEYBOARD_EVENT) {
      const auto *p_key = dynamic_cast<const qm::EventKeyboard *>(p_e);
      received.push_back({p_e->getType(), p_key->getKeyboardAction(), p_key->getKey(), 0, 0});
    } else if (p_e->getType() == qm::MSE_EVENT) {
      const auto *p_mouse = dynamic_cast<const qm::EventMouse *>(p_e);
      received.push_back({p_e->getType(), p_mouse->getMouseAction(), p_mouse->getMouseButton(),
                          p_mouse->getMousePosition().getX(), p_mouse->getMousePosition().getY()});
    }
  }

  const InputManager &input = InputManager::getInstance();
  qm_test::Journal journal;
  qm_test::SpyObject *p_spy = nullptr;
  std::vector<Received> received;
};

TEST_F(InputDispatch, KeyPressAndReleaseBecomeKeyboardEvents) {
  input.dispatch(keyEvent(sf::Event::KeyPressed, sf::Keyboard::P));
  input.dispatch(keyEvent(sf::Event::KeyReleased, sf::Keyboard::P));

  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].type, "qm::keyboard");
  EXPECT_EQ(received[0].action, qm::KEY_PRESSED);
  EXPECT_EQ(received[0].code, 46);
  EXPECT_EQ(received[1].action, qm::KEY_RELEASED);
  EXPECT_EQ(received[1].code, 46);
}

TEST_F(InputDispatch, UntranslatedKeyIsStillSent) {
  input.dispatch(keyEvent(sf::Event::KeyPressed, sf::Keyboard::Hyphen));
  input.dispatch(keyEvent(sf::Event::KeyPressed, sf::Keyboard::Subtract));

  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].code, Keyboard::UNDEFINED_KEY);
  EXPECT_EQ(received[1].code, Keyboard::MINUS);
}

TEST_F(InputDispatch, PointerMoveIsInCellsAndNotRounded) {
  input.dispatch(mouseMoved(600, 384));
  input.dispatch(mouseMoved(100, 100));

  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].type, "qm::mouse");
  EXPECT_EQ(received[0].action, qm::MOVED);
  EXPECT_EQ(received[0].code, Mouse::UNDEFINED_MOUSE_BUTTON);
  EXPECT_FLOAT_EQ(received[0].x, 50.0f);
  EXPECT_FLOAT_EQ(received[0].y, 12.0f);
  EXPECT_FLOAT_EQ(received[1].x, 100.0f / 12);
  EXPECT_FLOAT_EQ(received[1].y, 3.125f);
}

TEST_F(InputDispatch, ButtonPressIsAClickWithButtonAndPosition) {
  input.dispatch(mouseButton(sf::Event::MouseButtonPressed, sf::Mouse::Left, 606, 400));
  input.dispatch(mouseButton(sf::Event::MouseButtonPressed, sf::Mouse::XButton1, 0, 0));

  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].action, qm::CLICKED);
  EXPECT_EQ(received[0].code, Mouse::LEFT);
  EXPECT_FLOAT_EQ(received[0].x, 50.5f);
  EXPECT_FLOAT_EQ(received[0].y, 12.5f);
  EXPECT_EQ(received[1].action, qm::CLICKED);
  EXPECT_EQ(received[1].code, Mouse::UNDEFINED_MOUSE_BUTTON);
}

TEST_F(InputDispatch, OtherWindowEventsAreDropped) {
  sf::Event window_event{};
  for (sf::Event::EventType type :
       {sf::Event::Closed, sf::Event::Resized, sf::Event::LostFocus, sf::Event::GainedFocus,
        sf::Event::TextEntered, sf::Event::MouseWheelScrolled, sf::Event::MouseEntered,
        sf::Event::MouseLeft}) {
    window_event.type = type;
    input.dispatch(window_event);
  }
  input.dispatch(mouseButton(sf::Event::MouseButtonReleased, sf::Mouse::Left, 606, 400));

  EXPECT_TRUE(journal.empty());
}

TEST_F(InputDispatch, EveryObjectGetsEachEventInWorldOrder) {
  new qm_test::SpyObject("second", &journal);

  input.dispatch(keyEvent(sf::Event::KeyPressed, sf::Keyboard::Q));
  input.dispatch(mouseMoved(12, 32));

  const qm_test::Journal expected = {"spy qm::keyboard", "second qm::keyboard", "spy qm::mouse",
                                     "second qm::mouse"};
  EXPECT_EQ(journal, expected);
}

// Nothing in this binary opens a window.
class InputWithoutWindow : public InputDispatch {};

TEST_F(InputWithoutWindow, StartUpNeedsAStartedDisplayAndLogsNothing) {
  ASSERT_FALSE(qm::DisplayManager::getInstance().isStarted());

  EXPECT_EQ(InputManager::getInstance().startUp(), -1);

  EXPECT_FALSE(InputManager::getInstance().isStarted());
  EXPECT_EQ(qm_test::readLog(), "");
}

TEST_F(InputWithoutWindow, ReadingAndStoppingAreHarmless) {
  ASSERT_EQ(qm::DisplayManager::getInstance().getWindow(), nullptr);

  input.getInput();
  InputManager::getInstance().shutDown();

  EXPECT_TRUE(journal.empty());
  EXPECT_FALSE(InputManager::getInstance().isStarted());
  EXPECT_EQ(qm_test::readLog(), "");
}

} // namespace
