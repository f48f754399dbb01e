// What must hold in the game's world between any two passes, whatever the
// player did: something that leads on (a start screen, a game, or an end
// screen), never two start screens or two games on top of each other, and a
// registry whose type queries agree with it.
#pragma once

#include "GameFixture.h"
#include "ObjectListIterator.h"
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
  qm::ObjectListIterator it(&all_objects);
  for (it.first(); !it.isDone(); it.next()) {
    if (!registry.insert(it.currentObject()).second) {
      return "an object stands twice in the world";
    }
  }
  for (const char *type : GAME_TYPES) {
    const qm::ObjectList of_type = qm::WorldManager::getInstance().objectsOfType(type);
    qm::ObjectListIterator type_it(&of_type);
    for (type_it.first(); !type_it.isDone(); type_it.next()) {
      if (registry.count(type_it.currentObject()) == 0 ||
          type_it.currentObject()->getType() != type) {
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
