#include "Win.h"

#include "EndScreen.h"
#include "EventStep.h"
#include "LogManager.h"
#include "WorldManager.h"

Win::Win() {
  setType("Win");
  if (setSprite("win") == 0) {
    time_to_live = animationLength(*this);
  } else {
    time_to_live = 0;
  }
  setLocation(qm::CENTER_CENTER);
  qm::LogManager::getInstance().writeLog("%p\n", static_cast<void *>(this));
}

Win::~Win() {
  clearAllButStartScreens(this);
}

int Win::eventHandler(const qm::Event *p_e) {
  if (p_e->getType() == qm::STEP_EVENT) {
    step();
    return 1;
  }
  return 0;
}

int Win::draw() {
  return Object::draw();
}

void Win::step() {
  countDown(this, time_to_live);
}
