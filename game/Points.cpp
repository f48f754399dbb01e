#include "Points.h"

#include "EventStep.h"
#include "LogManager.h"
#include "ObjectList.h"
#include "ObjectListIterator.h"
#include "Win.h"
#include "WorldManager.h"

Points::Points() {
  setType("points");
  setLocation(qm::TOP_RIGHT);
  setViewString(POINTS_STRING);
  setColor(qm::YELLOW);
  // Deliberate: a line with nothing but the address.
  qm::LogManager::getInstance().writeLog("%p\n", static_cast<void *>(this));
}

int Points::eventHandler(const qm::Event *p_e) {
  if (ViewObject::eventHandler(p_e) == 1) {
    return 1;
  }
  if (p_e->getType() == qm::STEP_EVENT) {
    const int step_count = static_cast<const qm::EventStep *>(p_e)->getStepCount();
    if (step_count % 30 == 0 && getValue() > 99) {
      qm::WorldManager &world_manager = qm::WorldManager::getInstance();
      // This display goes too, so the win is raised only once; the win
      // screen comes after the list was taken and survives.
      const qm::ObjectList all_objects = world_manager.getAllObjects();
      qm::ObjectListIterator it(&all_objects);
      for (it.first(); !it.isDone(); it.next()) {
        world_manager.markForDelete(it.currentObject());
      }
      new Win;
    }
    return 1;
  }
  return 0;
}
