#include "endScreens.h"

#include "GameStart.h"
#include "Object.h"
#include "ObjectList.h"
#include "ObjectListIterator.h"
#include "Sprite.h"
#include "WorldManager.h"

#include <algorithm>
#include <limits>

int animationLength(const qm::Object &screen) {
  const qm::Sprite *p_sprite = screen.getAnimation().getSprite();
  if (p_sprite == nullptr) {
    return 0;
  }
  // A sprite file may give a slowdown in the hundreds of millions.
  const long long length =
      static_cast<long long>(p_sprite->getFrameCount()) * p_sprite->getSlowdown();
  return static_cast<int>(std::min<long long>(length, std::numeric_limits<int>::max()));
}

void clearAllButStartScreens() {
  qm::WorldManager &world_manager = qm::WorldManager::getInstance();
  const qm::ObjectList all_objects = world_manager.getAllObjects();
  qm::ObjectListIterator it(&all_objects);
  for (it.first(); !it.isDone(); it.next()) {
    qm::Object *p_o = it.currentObject();
    if (p_o->getType() != GAME_START_TYPE) {
      world_manager.markForDelete(p_o);
    }
  }
}

namespace {

bool startScreenWaiting() {
  const qm::ObjectList start_screens =
      qm::WorldManager::getInstance().objectsOfType(GAME_START_TYPE);
  qm::ObjectListIterator it(&start_screens);
  for (it.first(); !it.isDone(); it.next()) {
    if (!static_cast<const GameStart *>(it.currentObject())->hasStarted()) {
      return true;
    }
  }
  return false;
}

} // namespace

void countDown(int &time_to_live) {
  time_to_live -= 1;
  if (time_to_live > 0) {
    return;
  }
  // The clearing happens now, not when the screen is deleted later in the
  // pass: by then the start screen may have taken a P and built a new game,
  // which must survive. Another end screen still up goes too, so that only
  // one screen ever brings the start screen back.
  clearAllButStartScreens();
  if (!startScreenWaiting()) {
    new GameStart;
  }
}
