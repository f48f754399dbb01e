// What must hold in the game's world between any two passes, whatever the
// player did: something that leads on (a start screen, a game, or an end
// screen), never two start screens or two games on top of each other, and a
// registry whose type queries agree with it.
#pragma once

#include "GameFixture.h"
#include "WorldManager.h"

#include <set>
#include <string>

namespace qm_test {

// Every type the game gives its objects.
inline const char *const GAME_TYPES[] = {"GameStart", "GameOver", "Win",     "Platform", "Ball",
                                         "Border",    "Corner",   "PowerUp", "points"};

// What is wrong with the world; empty when nothing is.
inline std::string worldFault() {
  const qm::ObjectList all_objects = qm::WorldManager::getInstance().getAllObjects();
  if (all_objects.getCount() > qm::MAX_OBJECTS) {
    return "more objects than the world holds";
  }
  std::set<const qm::Object *> registry;
  for (const qm::Object *p_o : listed(all_objects)) {
    if (!registry.insert(p_o).second) {
      return "an object stands twice in the world";
    }
  }
  for (const char *type : GAME_TYPES) {
    for (const qm::Object *p_o : listed(qm::WorldManager::getInstance().objectsOfType(type))) {
      if (registry.count(p_o) == 0 || p_o->getType() != type) {
        return std::string("objectsOfType(\"") + type + "\") holds a stranger";
      }
    }
  }
  const int screens = countOf("GameStart") + countOf("GameOver") + countOf("Win");
  if (screens == 0 && countOf("Platform") != 1) {
    return "a world that no key can end";
  }
  if (countOf("GameStart") > 1) {
    return "two start screens";
  }
  if (countOf("Platform") > 1 || countOf("Ball") > 1) {
    return "two games at once";
  }
  return "";
}

} // namespace qm_test
