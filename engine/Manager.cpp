#include "Manager.h"

#include "Object.h"
#include "ObjectList.h"
#include "ObjectListIterator.h"
#include "WorldManager.h"

#include <utility>

namespace qm {

Manager::Manager() : m_type("Manager"), m_is_started(false) {}

// Only the base part can be shut down here: the derived part is gone already.
Manager::~Manager() {
  Manager::shutDown();
}

int Manager::startUp() {
  if (m_is_started) {
    return -1;
  }
  m_is_started = true;
  return 0;
}

void Manager::shutDown() {
  m_is_started = false;
}

std::string Manager::getType() const {
  return m_type;
}

bool Manager::isStarted() const {
  return m_is_started;
}

int Manager::onEvent(const Event *p_event) const {
  int count = 0;
  const ObjectList all_objects = WorldManager::getInstance().getAllObjects();
  ObjectListIterator li(&all_objects);
  for (li.first(); !li.isDone(); li.next()) {
    li.currentObject()->eventHandler(p_event);
    count++;
  }
  return count;
}

void Manager::setType(std::string type) {
  m_type = std::move(type);
}

} // namespace qm
