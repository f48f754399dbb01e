// Input read from a real window: key events sent through the X server.
//
// This binary opens a window: GL drivers are unloaded before the leak check
// runs, so their allocations would show as leaks from "<unknown module>".
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

#include "DisplayManager.h"
#include "EventKeyboard.h"
#include "InputManager.h"
#include "Spy.h"
#include "TestSupport.h"
#include "WindowEvents.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr unsigned long KEYSYM_P = 0x70; // XK_p

// The display runs with an empty event queue and a spy that notes each key
// event as "pressed <key>" or "released <key>".
class InputFromWindow : public ::testing::Test {
protected:
  void SetUp() override {
    qm_test::resetWorld();
    std::filesystem::copy_file(qm_test::sourcePath("qm-font.ttf"), qm::FONT_FILE_DEFAULT,
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_EQ(qm::DisplayManager::getInstance().startUp(), 0);
    input.shutDown();
    input.getInput();
    auto *p_spy = new qm_test::SpyObject("spy", &journal);
    p_spy->on_event = [this](const qm::Event *p_e) {
      if (const auto *p_key = dynamic_cast<const qm::EventKeyboard *>(p_e)) {
        keys.push_back((p_key->getKeyboardAction() == qm::KEY_PRESSED ? "pressed " : "released ") +
                       std::to_string(p_key->getKey()));
      }
    };
  }
  void TearDown() override {
    input.shutDown();
    qm::WorldManager::getInstance().shutDown();
  }

  // P held for about a second: the window system repeats it as release and
  // press pairs with one time stamp each.
  void holdP() {
    const sf::Window &window = *qm::DisplayManager::getInstance().getWindow();
    ASSERT_TRUE(qm_test::sendKey(window, KEYSYM_P, true, 1000));
    for (unsigned long repeat_time = 1500; repeat_time < 2000; repeat_time += 100) {
      ASSERT_TRUE(qm_test::sendKey(window, KEYSYM_P, false, repeat_time));
      ASSERT_TRUE(qm_test::sendKey(window, KEYSYM_P, true, repeat_time));
    }
    ASSERT_TRUE(qm_test::sendKey(window, KEYSYM_P, false, 2050));
  }

  qm::InputManager &input = qm::InputManager::getInstance();
  qm_test::Journal journal;
  std::vector<std::string> keys;
};

TEST_F(InputFromWindow, HeldKeyGivesOnePressAndOneReleaseWhileInputRuns) {
  ASSERT_EQ(input.startUp(), 0);

  holdP();
  input.getInput();

  EXPECT_EQ(keys, (std::vector<std::string>{"pressed 46", "released 46"}));
}

TEST_F(InputFromWindow, StoppedInputLetsTheKeyRepeatAgain) {
  ASSERT_EQ(input.startUp(), 0);
  input.shutDown();

  holdP();
  input.getInput();

  EXPECT_EQ(keys, (std::vector<std::string>{"pressed 46", "pressed 46", "pressed 46", "pressed 46",
                                            "pressed 46", "pressed 46", "released 46"}));
}

} // namespace
