// Power-ups: where they appear, how they fall, their kind, and leaving the
// world.
#include "PowerUp.h"
#include "EventCollision.h"
#include "EventKeyboard.h"
#include "EventOut.h"
#include "EventStep.h"
#include "GameFixture.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

// The resource manager opens the audio device, and GL and audio drivers are
// unloaded before the leak check runs, so their allocations would show as
// leaks from "<unknown module>".
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

namespace {

using PowerUpRules = qm_test::GameFixture;

TEST_F(PowerUpRules, AppearsOnRowThreeInTheArenaFallingAQuarterCellPerStep) {
  PowerUp *p_power_up = new PowerUp;
  EXPECT_EQ(p_power_up->getType(), "PowerUp");
  EXPECT_EQ(p_power_up->getSolidness(), qm::SOFT);
  EXPECT_EQ(p_power_up->getAltitude(), 2);
  EXPECT_EQ(p_power_up->getPosition().getY(), 3.0f);
  EXPECT_GE(p_power_up->getPosition().getX(), 0.0f);
  EXPECT_LE(p_power_up->getPosition().getX(), 76.0f);
  EXPECT_EQ(p_power_up->getVelocity().getX(), 0.0f);
  EXPECT_EQ(p_power_up->getVelocity().getY(), 0.25f);
  const std::string power = p_power_up->getPower();
  EXPECT_TRUE(power == "points" || power == "speed" || power == "platform") << power;
  runFrame(0);
  EXPECT_EQ(p_power_up->getPosition().getY(), 3.25f);
}

TEST_F(PowerUpRules, WorldUnderOneCellWidePutsItInColumnZero) {
  setWorldSize(0.5f, 24);
  PowerUp *p_power_up = new PowerUp;
  EXPECT_EQ(p_power_up->getPosition().getX(), 0.0f);
  EXPECT_EQ(p_power_up->getPosition().getY(), 3.0f);
}

TEST_F(PowerUpRules, OutEventRemovesItAndOtherEventsAreIgnored) {
  PowerUp *p_power_up = new PowerUp;
  const qm::EventStep step(5);
  const qm::EventKeyboard key;
  const qm::EventCollision collision(p_power_up, p_power_up, qm::Vector(1, 1));
  EXPECT_EQ(p_power_up->eventHandler(&step), 0);
  EXPECT_EQ(p_power_up->eventHandler(&key), 0);
  EXPECT_EQ(p_power_up->eventHandler(&collision), 0);
  qm::WorldManager::getInstance().update();
  ASSERT_EQ(countOfType("PowerUp"), 1);
  const qm::EventOut out;
  EXPECT_EQ(p_power_up->eventHandler(&out), 1);
  qm::WorldManager::getInstance().update();
  EXPECT_EQ(countOfType("PowerUp"), 0);
}

TEST_F(PowerUpRules, FallingOutOfTheBottomRemovesIt) {
  PowerUp *p_power_up = new PowerUp;
  p_power_up->setPosition(qm::Vector(40, 24.5f));
  runFrame(0);
  runFrame(1);
  EXPECT_EQ(countOfType("PowerUp"), 0);
}

} // namespace
