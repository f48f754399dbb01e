#include "PowerUp.h"

#include "EventOut.h"
#include "SoundEffect.h"
#include "WorldManager.h"

#include <cstdlib>
#include <ctime>

float startColumn(int r, float h) {
  // A world less than one cell wide has no column to draw from (and the
  // remainder would divide by zero): it takes remainder 0, so column 0.
  const int width = int(h);
  const int remainder = width < 1 ? 0 : r % width;
  float x = float(remainder - 1);
  if (x <= 3.0f) {
    x = x + 1.0f;
  } else if (x >= h - 3.0f) {
    x = x - 4.0f;
  }
  return x;
}

qm::Vector randomStartPosition() {
  // Deliberate: reseeded on every call from the time in whole seconds, so
  // within one second the draw repeats, and a ball's start column and its
  // velocity (seeded the same way) come from one number.
  srand(static_cast<unsigned>(time(NULL) % 100));
  const int r = rand();
  const float h = qm::WorldManager::getInstance().getBoundary().getHorizontal();
  return qm::Vector(startColumn(r, h), 3.0f);
}

PowerUp::PowerUp() {
  setType(POWER_UP_TYPE);
  setSprite("power_up");
  setPosition(randomStartPosition());
  setVelocity(qm::Vector(0.0f, 0.25f));
  setSolidness(qm::SOFT);
  const int kind = rand() % 3;
  if (kind == 0) {
    setPower("points");
  } else if (kind == 1) {
    setPower("speed");
  } else {
    setPower("platform");
  }
  playSoundEffect("power_up_spawn");
}

int PowerUp::eventHandler(const qm::Event *p_e) {
  if (p_e->getType() == qm::OUT_EVENT) {
    out();
    return 1;
  }
  return 0;
}

std::string PowerUp::getPower() const {
  return power;
}

void PowerUp::setPower(std::string new_type) {
  power = new_type;
}

void PowerUp::out() {
  qm::WorldManager::getInstance().markForDelete(this);
}
