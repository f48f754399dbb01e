#include "Spy.h"

#include "EventCollision.h"
#include "TestSupport.h"
#include "WorldManager.h"

#include <utility>

namespace qm_test {

SpyObject::SpyObject(std::string init_name, Journal *p_init_journal)
    : name(std::move(init_name)), p_journal(p_init_journal) {
  setType(this->name);
}

SpyObject::~SpyObject() {
  if (on_destroy) {
    on_destroy();
  }
  p_journal->push_back(name + " deleted");
}

int SpyObject::eventHandler(const qm::Event *p_e) {
  std::string entry = name + " " + p_e->getType();
  if (p_e->getType() == qm::COLLISION_EVENT) {
    const auto *p_collision = static_cast<const qm::EventCollision *>(p_e);
    entry +=
        " " + p_collision->getObject1()->getType() + ">" + p_collision->getObject2()->getType();
  }
  p_journal->push_back(entry);
  if (on_event) {
    on_event(p_e);
  }
  return 1;
}

int SpyObject::draw() {
  p_journal->push_back(name + " draw");
  return 0;
}

SpyViewObject::SpyViewObject(std::string init_name, Journal *p_init_journal)
    : name(std::move(init_name)), p_journal(p_init_journal) {}

int SpyViewObject::draw() {
  p_journal->push_back(name + " draw");
  return 0;
}

void resetWorld() {
  restartLog();
  qm::WorldManager &world_manager = qm::WorldManager::getInstance();
  world_manager.shutDown();
  world_manager.startUp();
  world_manager.setBoundary(qm::Box(qm::Vector(0, 0), 80, 24));
  world_manager.setView(qm::Box(qm::Vector(0, 0), 80, 24));
  world_manager.setViewFollowing(nullptr);
}

XY xy(qm::Vector v) {
  return XY(v.getX(), v.getY());
}

XY cornerOf(const qm::Box &box) {
  return xy(box.getCorner());
}

} // namespace qm_test
