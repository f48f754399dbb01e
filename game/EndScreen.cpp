#include "EndScreen.h"

#include "GameStart.h"
#include "Object.h"
#include "ObjectList.h"
#include "ObjectListIterator.h"
#include "Sprite.h"
#include "WorldManager.h"

int animationLength(const qm::Object &screen) {
  const qm::Sprite *p_sprite = screen.getAnimation().getSprite();
  if (p_sprite == nullptr) {
    return 0;
  }
  return p_sprite->getFrameCount() * p_sprite->getSlowdown();
}

void clearAllButStartScreens() {
  qm::WorldManager &world_manager = qm::WorldManager::getInstance();
  const qm::ObjectList all_objects = world_manager.getAllObjects();
  qm::ObjectListIterator it(&all_objects);
  for (it.first(); !it.isDone(); it.next()) {
    if (it.currentObject()->getType() != "GameStart") {
      world_manager.markForDelete(it.currentObject());
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
