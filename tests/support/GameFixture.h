// What the game's tests share: look-ups in the world, a steerable random draw,
// and the fixture of the rule tests. That fixture loads no sprites or sounds,
// so no device opens, objects keep 1 x 1 boxes and end screens end at once.
#pragma once

#include "EventStep.h"
#include "GameManager.h"
#include "InputManager.h"
#include "ResourceManager.h"
#include "Spy.h"
#include "TestSupport.h"
#include "WorldManager.h"

#include <SFML/Window/Event.hpp>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace qm_test {

inline int countOf(const std::string &type) {
  return qm::WorldManager::getInstance().objectsOfType(type).getCount();
}

inline int worldCount() {
  return qm::WorldManager::getInstance().getAllObjects().getCount();
}

// The first object of the type in world order, or nullptr.
template <typename T = qm::Object> T *firstOf(const std::string &type) {
  const std::vector<qm::Object *> objects =
      listed(qm::WorldManager::getInstance().objectsOfType(type));
  return objects.empty() ? nullptr : dynamic_cast<T *>(objects.front());
}

// A seed after which the next rand() is even or odd as asked, to steer the
// game's 50/50 draws.
inline unsigned seedWithFirstDraw(bool even) {
  for (unsigned seed = 1;; seed++) {
    srand(seed);
    if (((rand() & 1) == 0) == even) {
      return seed;
    }
  }
}

// A key pressed or released, as the window reports it.
inline sf::Event key(sf::Event::EventType type, sf::Keyboard::Key code) {
  sf::Event key_event;
  key_event.type = type;
  key_event.key = {code, false, false, false, false};
  return key_event;
}

// End screens of two frames at slowdown 2, so that each stays up for
// END_SCREEN_STEPS steps and games end quickly.
inline constexpr int END_SCREEN_STEPS = 4;
inline void loadShortEndScreens() {
  for (const char *label : {"game_over", "win"}) {
    qm::ResourceManager::getInstance().loadSprite(writeFile("end.txt", "2\n1\n1\n2\nred\nA\nB\n"),
                                                  label);
  }
}

// An empty 80 x 24 world, a fresh log and the game-over flag, which key tests
// set, cleared.
class GameFixture : public ::testing::Test {
protected:
  void SetUp() override { reset(); }
  // Empties the world, so that no object outlives its test.
  void TearDown() override { qm::WorldManager::getInstance().shutDown(); }

  static void reset() {
    resetWorld();
    qm::GameManager::getInstance().setGameOver(false);
  }

  // One pass of the loop without drawing: the step event numbered step, the
  // window's events, then the update.
  void runPass(const std::vector<sf::Event> &input = {}) {
    const qm::EventStep step_event(step++);
    qm::WorldManager::getInstance().onEvent(&step_event);
    for (const sf::Event &window_event : input) {
      qm::InputManager::getInstance().dispatch(window_event);
    }
    qm::WorldManager::getInstance().update();
  }

  int step = 0;
};

} // namespace qm_test
