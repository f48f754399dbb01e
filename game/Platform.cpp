#include "Platform.h"

#include "DisplayManager.h"
#include "EventCollision.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventSpeed.h"
#include "EventStep.h"
#include "EventView.h"
#include "GameManager.h"
#include "Points.h"
#include "PowerUp.h"
#include "SoundEffect.h"
#include "WorldManager.h"

#include <cstdlib>
#include <string>

namespace {

// Only a real power-up can be applied: an object that merely carries the type
// name has no power to read.
PowerUp *asPowerUp(qm::Object *p_o) {
  if (p_o == nullptr || p_o->getType() != POWER_UP_TYPE) {
    return nullptr;
  }
  return dynamic_cast<PowerUp *>(p_o);
}

} // namespace

Platform::Platform() {
  setType(PLATFORM_TYPE);
  setSprite("platform");
  const qm::DisplayManager &display_manager = qm::DisplayManager::getInstance();
  const int columns = display_manager.getHorizontal();
  const int rows = display_manager.getVertical();
  setPosition(qm::Vector(float(columns / 2), float(rows * 7 / 8)));
  setAltitude(qm::MAX_ALTITUDE);
  platform_power_up_time = PLATFORM_POWER_UP_TIME;
  platform_countdown = 0;
}

int Platform::eventHandler(const qm::Event *p_e) {
  const std::string type = p_e->getType();
  if (type == qm::MSE_EVENT) {
    const qm::EventMouse *p_mouse = static_cast<const qm::EventMouse *>(p_e);
    if (p_mouse->getMouseAction() == qm::MOVED) {
      // Not clamped: the platform may follow the pointer out of the arena.
      setPosition(qm::Vector(p_mouse->getMousePosition().getX(), getPosition().getY()));
      return 1;
    }
  }
  if (type == qm::KEYBOARD_EVENT) {
    const qm::EventKeyboard *p_keyboard = static_cast<const qm::EventKeyboard *>(p_e);
    if (p_keyboard->getKey() == qm::Keyboard::Q) {
      qm::GameManager::getInstance().setGameOver(true);
    }
    return 1;
  }
  if (type == qm::COLLISION_EVENT) {
    hit(static_cast<const qm::EventCollision *>(p_e));
    return 1;
  }
  if (type == qm::STEP_EVENT) {
    step();
    return 1;
  }
  return 0;
}

void Platform::hit(const qm::EventCollision *p_c) {
  PowerUp *p_power_up = asPowerUp(p_c->getObject1());
  if (p_power_up != nullptr) {
    // Deliberate: heard only when the falling power-up is the mover; a catch
    // reported the other way round applies it silently.
    playSoundEffect("power_up_catch");
  } else {
    p_power_up = asPowerUp(p_c->getObject2());
  }
  if (p_power_up == nullptr) {
    return;
  }
  qm::WorldManager &world_manager = qm::WorldManager::getInstance();
  const std::string power = p_power_up->getPower();
  if (power == "platform") {
    world_manager.markForDelete(p_power_up);
    if ((rand() & 1) == 0) {
      setSprite("long_platform");
    } else {
      setSprite("short_platform");
    }
    platform_countdown = platform_power_up_time;
  } else if (power == "points") {
    world_manager.markForDelete(p_power_up);
    // A bonus adds 2; the other draw sets the score to -2 (delta off).
    const qm::EventView points = (rand() & 1) == 0 ? qm::EventView(POINTS_STRING, 2, true)
                                                   : qm::EventView(POINTS_STRING, -2, false);
    world_manager.onEvent(&points);
  } else if (power == "speed") {
    world_manager.markForDelete(p_power_up);
    const EventSpeed speed;
    world_manager.onEvent(&speed);
  }
}

void Platform::step() {
  if (platform_countdown <= 0) {
    return;
  }
  platform_countdown -= 1;
  if (platform_countdown == 0) {
    setSprite("platform");
  }
}
