#include "Ball.h"

#include "Border.h"
#include "Corner.h"
#include "EventCollision.h"
#include "EventOut.h"
#include "EventSpeed.h"
#include "EventStep.h"
#include "EventView.h"
#include "GameOver.h"
#include "Platform.h"
#include "Points.h"
#include "PowerUp.h"
#include "SoundEffect.h"
#include "WorldManager.h"

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

// The game's steps are double constants: a sum is taken in double and the
// result stored as float.
float addInDouble(float v, double step) {
  return static_cast<float>(static_cast<double>(v) + step);
}

// Each component 0.001 further from zero, or nearer to it; 0 counts as
// positive either way.
float faster(float v) {
  return v < 0 ? addInDouble(v, -0.001) : addInDouble(v, 0.001);
}
float slower(float v) {
  return v < 0 ? addInDouble(v, 0.001) : addInDouble(v, -0.001);
}
qm::Vector faster(qm::Vector v) {
  return qm::Vector(faster(v.getX()), faster(v.getY()));
}
qm::Vector slower(qm::Vector v) {
  return qm::Vector(slower(v.getX()), slower(v.getY()));
}

bool isType(const qm::Object *p_o, const std::string &type) {
  return p_o != nullptr && p_o->getType() == type;
}

bool eitherIs(const qm::EventCollision *p_c, const std::string &type) {
  return isType(p_c->getObject1(), type) || isType(p_c->getObject2(), type);
}

} // namespace

Ball::Ball() {
  setType("Ball");
  setSprite("ball");
  // Deliberate: reseeded from the time in whole seconds, so balls made within
  // one second start alike.
  srand(static_cast<unsigned>(time(NULL) % 100));
  const int r = rand() % 100;
  float vx = float(r + 0.05);
  vx = vx / 100.0f;
  acceleration = qm::Vector(-0.05f, -0.9f);
  setVelocity(qm::Vector(vx, 0.23f));
  moveToStart();
  setSolidness(qm::SOFT);
  // Set again after the move to the start, whose collisions may have started
  // a lock-out: every ball begins its game with the full countdowns.
  bounce_slowdown = BALL_BOUNCE_SLOWDOWN;
  bounce_countdown = bounce_slowdown;
  speed_slowdown = BALL_SPEED_SLOWDOWN;
  speed_countdown = speed_slowdown;
  power_up_slowdown = BALL_POWER_UP_SLOWDOWN;
  power_up_countdown = power_up_slowdown;
}

int Ball::eventHandler(const qm::Event *p_e) {
  const std::string type = p_e->getType();
  if (type == qm::STEP_EVENT) {
    step();
    return 1;
  }
  if (type == qm::OUT_EVENT) {
    out();
    return 1;
  }
  if (type == qm::COLLISION_EVENT) {
    hit(static_cast<const qm::EventCollision *>(p_e));
    return 1;
  }
  if (type == SPEED_EVENT) {
    speed();
    return 1;
  }
  return 0;
}

qm::Vector Ball::predictPosition() {
  const qm::Vector velocity = getVelocity();
  if (velocity.getMagnitude() > 0) {
    return getPosition() +
           qm::Vector(velocity.getX() + acceleration.getX(), velocity.getY() + acceleration.getY());
  }
  return getPosition();
}

void Ball::moveToStart() {
  qm::WorldManager::getInstance().moveObject(this, randomStartPosition());
}

void Ball::bounce() {
  const qm::Vector velocity = getVelocity();
  setVelocity(qm::Vector(addInDouble(velocity.getX(), 0.03), -velocity.getY()));
}

void Ball::bounceTop() {
  const qm::Vector velocity = getVelocity();
  setVelocity(qm::Vector(-addInDouble(velocity.getX(), 0.03), -velocity.getY()));
}

void Ball::bounceSide() {
  const qm::Vector velocity = getVelocity();
  setVelocity(qm::Vector(-velocity.getX(), addInDouble(velocity.getY(), 0.002)));
}

void Ball::out() {
  new GameOver;
  qm::WorldManager::getInstance().markForDelete(this);
}

void Ball::scorePoint() {
  const qm::EventView point(POINTS_STRING, 1, true);
  qm::WorldManager::getInstance().onEvent(&point);
}

bool Ball::startLockOut() {
  if (bounce_countdown > 0) {
    return false;
  }
  bounce_countdown = bounce_slowdown;
  return true;
}

void Ball::hit(const qm::EventCollision *p_c) {
  if (eitherIs(p_c, PLATFORM_TYPE)) {
    if (!startLockOut()) {
      return;
    }
    scorePoint();
    bounce();
    playSoundEffect("impact");
  }
  if (eitherIs(p_c, BORDER_TYPE)) {
    if (!startLockOut()) {
      return;
    }
    // The position before the move decides. Deliberate: the second test holds
    // anywhere inside the world, so every accepted wall hit turns the ball
    // sideways.
    const qm::Vector p = p_c->getObject1()->getPosition();
    const float h = qm::WorldManager::getInstance().getBoundary().getHorizontal();
    if (p.getX() <= 2.0f || p.getX() <= h + 1.0f) {
      bounceSide();
    }
    if (p.getY() <= 2.0f) {
      bounceTop();
    }
    playSoundEffect("impact");
  }
  if (eitherIs(p_c, CORNER_TYPE)) {
    // Corners are never locked out: every move that meets one scores.
    scorePoint();
    bounceSide();
    playSoundEffect("impact");
  }
}

void Ball::step() {
  bounce_countdown -= 1;
  if (bounce_countdown < 0) {
    bounce_countdown = 0;
  }
  speed_countdown -= 1;
  if (speed_countdown < 0) {
    setVelocity(faster(getVelocity()));
    // Left at 0, so from here on the ball speeds up at every step.
    speed_countdown = 0;
  }
  power_up_countdown -= 1;
  if (power_up_countdown < 0) {
    new PowerUp;
    power_up_countdown = power_up_slowdown;
  }
}

void Ball::speed() {
  if ((rand() & 1) == 0) {
    setVelocity(faster(getVelocity()));
  } else {
    setVelocity(slower(getVelocity()));
  }
}
