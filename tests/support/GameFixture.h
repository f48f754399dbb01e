// The fixture of the game's class tests: a fresh flushing log, an empty world
// of 80 x 24 cells, every sprite label of the game loaded from small files of
// known sizes, and the game's sounds and tracks from short test WAV files.
// Frames run without a window or pacing: the step event, then the update.
#pragma once

#include "Object.h"

#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <gtest/gtest.h>

#include <string>

namespace qm_test {

// The test sprites' sizes, for the tests that depend on them.
inline constexpr int PLATFORM_WIDTH = 9;
inline constexpr int LONG_PLATFORM_WIDTH = 15;
inline constexpr int SHORT_PLATFORM_WIDTH = 5;
// Frames times slowdown of "game_over" (4 x 5) and "win" (2 x 3).
inline constexpr int GAME_OVER_STEPS = 20;
inline constexpr int WIN_STEPS = 6;

class GameFixture : public ::testing::Test {
protected:
  void SetUp() override;
  // Empties the world (so that no object outlives its test) and clears the
  // game-over flag that key tests set.
  void TearDown() override;

  // Boundary and view both horizontal x vertical with their corner at (0, 0).
  static void setWorldSize(float horizontal, float vertical);

  // One pass of the loop without drawing: the step event to every object,
  // then the world's update.
  static void runFrame(int step_count);

  static int countOfType(const std::string &type);
  // The first object of the type in world order, or nullptr.
  static qm::Object *firstOfType(const std::string &type);
  // The label of the object's current sprite; empty without one.
  static std::string spriteLabel(const qm::Object *p_o);

  // Whether the log holds the line that an object writes with its address.
  static bool addressLogged(const void *p_o);

  // A window's key event, to go through InputManager::dispatch.
  static sf::Event keyEvent(sf::Event::EventType type, sf::Keyboard::Key code);
};

} // namespace qm_test
