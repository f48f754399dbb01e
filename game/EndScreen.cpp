#include "EndScreen.h"

#include "GameStart.h"
#include "Object.h"
#include "ObjectList.h"
#include "ObjectListIterator.h"
#include "Sprite.h"
#include "WorldManager.h"

#include <string>

int animationLength(const qm::Object &screen) {
  const qm::Sprite *p_sprite = screen.getAnimation().getSprite();
  if (p_sprite == nullptr) {
    return 0;
  }
  return p_sprite->getFrameCount() * p_sprite->getSlowdown();
}

void clearAllButStartScreens(const qm::Object *p_screen) {
  qm::WorldManager &world_manager = qm::WorldManager::getInstance();
  const qm::ObjectList all_objects = world_manager.getAllObjects();
  qm::ObjectListIterator it(&all_objects);
  for (it.first(); !it.isDone(); it.next()) {
    qm::Object *p_o = it.currentObject();
    const std::string type = p_o->getType();
    // The score can still reach 100 while the game-over screen is up; the win
    // screen it raises marks that screen in the same pass. Clearing the new
    // win screen too would leave an empty world that no key can end, so an
    // end screen spares any other: that one brings the start screen back.
    const bool is_other_end_screen = p_o != p_screen && (type == "Win" || type == "GameOver");
    if (type != "GameStart" && !is_other_end_screen) {
      world_manager.markForDelete(p_o);
    }
  }
}

void countDown(qm::Object *p_screen, int &time_to_live) {
  time_to_live -= 1;
  if (time_to_live <= 0) {
    // Deleted in this pass's update, so no second step reaches it and only
    // one start screen is made.
    qm::WorldManager::getInstance().markForDelete(p_screen);
    new GameStart;
  }
}
