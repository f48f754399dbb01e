// What the game's tests share: look-ups in the world, a steerable random draw,
// and the fixture of the rule tests. That fixture loads no sprites or sounds,
// so no device opens, objects keep 1 x 1 boxes and end screens end at once.
#pragma once

#include "EventStep.h"
#include "GameManager.h"
#include "ObjectListIterator.h"
#include "Spy.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace qm_test {

inline int countOf(const std::string &type) {
  return qm::WorldManager::getInstance().objectsOfType(type).getCount();
}

inline int worldCount() {
  return qm::WorldManager::getInstance().getAllObjects().getCount();
}

// The first object of the type in world order, or nullptr.
template <typename T = qm::Object> T *firstOf(const std::string &type) {
  const qm::ObjectList objects = qm::WorldManager::getInstance().objectsOfType(type);
  qm::ObjectListIterator it(&objects);
  it.first();
  return it.isDone() ? nullptr : dynamic_cast<T *>(it.currentObject());
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

// An empty 80 x 24 world, a fresh log and the game-over flag, which key tests
// set, cleared.
class GameFixture : public ::testing::Test {
protected:
  void SetUp() override {
    resetWorld();
    qm::GameManager::getInstance().setGameOver(false);
  }
  // Empties the world, so that no object outlives its test.
  void TearDown() override { qm::WorldManager::getInstance().shutDown(); }

  // One pass of the loop without drawing: the step event, then the update.
  static void runFrame(int step_count) {
    const qm::EventStep step(step_count);
    qm::WorldManager::getInstance().onEvent(&step);
    qm::WorldManager::getInstance().update();
  }
};

} // namespace qm_test
