#include "Win.h"

#include "EventStep.h"
#include "LogManager.h"
#include "endScreens.h"

Win::Win() {
  setType("Win");
  // Without the sprite the length is 0, and the screen ends at its first step.
  setSprite("win");
  time_to_live = animationLength(*this);
  setLocation(qm::CENTER_CENTER);
  // Deliberate: a line with nothing but the address.
  qm::LogManager::getInstance().writeLog("%p\n", static_cast<void *>(this));
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
  countDown(time_to_live);
}
