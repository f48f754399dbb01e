#include "PlainWorld.h"

#include "EventCollision.h"
#include "EventOut.h"
#include "Object.h"
#include "ObjectListIterator.h"
#include "WorldManager.h"
#include "utility.h"

namespace qm_test {

qm::ObjectList plainCollisions(const qm::Object *p_o, qm::Vector where) {
  const qm::ObjectList all_objects = qm::WorldManager::getInstance().getAllObjects();
  const qm::Box mover_box = qm::getWorldBox(p_o, where);
  qm::ObjectList collisions;
  qm::ObjectListIterator li(&all_objects);
  for (li.first(); !li.isDone(); li.next()) {
    qm::Object *p_other = li.currentObject();
    if (p_other != p_o && qm::boxIntersectsBox(mover_box, qm::getWorldBox(p_other)) &&
        p_other->isSolid()) {
      collisions.insert(p_other);
    }
  }
  return collisions;
}

int plainMoveObject(qm::Object *p_o, qm::Vector where) {
  if (p_o->isSolid()) {
    const qm::ObjectList collisions = plainCollisions(p_o, where);
    bool do_move = true;
    qm::ObjectListIterator li(&collisions);
    for (li.first(); !li.isDone(); li.next()) {
      qm::EventCollision collision(p_o, li.currentObject(), where);
      p_o->eventHandler(&collision);
      li.currentObject()->eventHandler(&collision);
      if (p_o->getSolidness() == qm::HARD && li.currentObject()->getSolidness() == qm::HARD) {
        do_move = false;
      }
    }
    if (!do_move) {
      return -1;
    }
  }
  const qm::Box boundary = qm::WorldManager::getInstance().getBoundary();
  const bool was_in = qm::boxIntersectsBox(qm::getWorldBox(p_o), boundary);
  p_o->setPosition(where);
  if (was_in && !qm::boxIntersectsBox(qm::getWorldBox(p_o), boundary)) {
    const qm::EventOut out;
    p_o->eventHandler(&out);
  }
  return 0;
}

} // namespace qm_test
