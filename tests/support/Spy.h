// Spies: objects that journal what happens to them into one list shared by
// the spies of a test, so that the order of events across objects shows.
#pragma once

#include "EventCollision.h"
#include "Object.h"
#include "TestSupport.h"
#include "WorldManager.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace qm_test {

using Journal = std::vector<std::string>;

// Its type is its name. Journals "<name> <event type>" (a collision adds
// " <mover>><other>"), "<name> draw" and "<name> deleted". on_event runs after
// the journalling, on_destroy first thing in the destructor.
template <class Base> class Spy : public Base {
public:
  Spy(std::string name, Journal *p_init_journal) : p_journal(p_init_journal) {
    this->setType(std::move(name));
  }
  ~Spy() override {
    on_destroy();
    note("deleted");
  }
  int eventHandler(const qm::Event *p_e) override {
    const auto *p_c = dynamic_cast<const qm::EventCollision *>(p_e);
    note(p_e->getType() +
         (p_c ? " " + p_c->getObject1()->getType() + ">" + p_c->getObject2()->getType() : ""));
    on_event(p_e);
    return 1;
  }
  int draw() override {
    note("draw");
    return 0;
  }
  void note(const std::string &what) { p_journal->push_back(this->getType() + " " + what); }

  std::function<void(const qm::Event *)> on_event = [](const qm::Event *) {};
  std::function<void()> on_destroy = [] {};
  Journal *const p_journal;
};
using SpyObject = Spy<qm::Object>;

// A started, empty world (so following nothing) with boundary and view 80 x 24
// at (0, 0), and a fresh, flushing log.
inline void resetWorld() {
  restartLog();
  qm::WorldManager &world_manager = qm::WorldManager::getInstance();
  world_manager.shutDown();
  world_manager.startUp();
  world_manager.setBoundary(qm::Box(qm::Vector(0, 0), 80, 24));
  world_manager.setView(qm::Box(qm::Vector(0, 0), 80, 24));
}

// A position as a pair, so that one comparison checks both coordinates.
using XY = std::pair<float, float>;
inline XY xy(qm::Vector v) {
  return {v.getX(), v.getY()};
}

} // namespace qm_test
