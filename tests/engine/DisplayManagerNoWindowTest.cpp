// The display without a window system: every operation that needs the window
// refuses with its log line instead of reaching for it.
#include "DisplayManager.h"
#include "Spy.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using qm::DisplayManager;
using qm::Vector;

class DisplayWithoutWindow : public ::testing::Test {
protected:
  void SetUp() override {
    unsetenv("DISPLAY");
    qm_test::resetWorld();
  }

  DisplayManager &display = DisplayManager::getInstance();
};

TEST_F(DisplayWithoutWindow, StartUpReportsTheMissingWindow) {
  EXPECT_EQ(display.startUp(), -1);

  EXPECT_EQ(display.getWindow(), nullptr);
  EXPECT_FALSE(display.isStarted());
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Unable to generate display window.\n");
}

TEST_F(DisplayWithoutWindow, DrawingIsRefusedWithOneLinePerCharacter) {
  EXPECT_EQ(display.drawCh(Vector(1, 1), 'A', qm::WHITE), -1);
  EXPECT_EQ(display.drawString(Vector(1, 2), "ab", qm::LEFT_JUSTIFIED, qm::WHITE), 0);

  const std::string refused = "Message : Error! No window to draw to.\n";
  EXPECT_EQ(qm_test::readLog(), refused + refused + refused);
}

TEST_F(DisplayWithoutWindow, SwapBuffersIsRefused) {
  EXPECT_EQ(display.swapBuffers(), -1);

  EXPECT_EQ(qm_test::readLog(), "Message : Error: No window to display to.\n");
}

TEST_F(DisplayWithoutWindow, ShutDownOnlyStops) {
  display.shutDown();

  EXPECT_FALSE(display.isStarted());
  EXPECT_EQ(display.getWindow(), nullptr);
  EXPECT_EQ(qm_test::readLog(), "");
}

} // namespace
