// The ball: flies at its own velocity, bounces off the platform, the walls and
// the corners, scores through view events, speeds up with time, spawns the
// power-ups and ends the game when it leaves the world. Owned by the world.
#pragma once

#include "Object.h"
#include "Vector.h"

namespace qm {
class Event;
class EventCollision;
} // namespace qm

inline constexpr int BALL_BOUNCE_SLOWDOWN = 3; // steps of lock-out after a bounce
// Steps before the ball starts to speed up at every step (about 49 s).
inline constexpr int BALL_SPEED_SLOWDOWN = 1485;
// Steps between power-ups: one falls at every 331st step.
inline constexpr int BALL_POWER_UP_SLOWDOWN = 330;

class Ball : public qm::Object {
public:
  Ball();

  // 1 for step, out, collision and speed events; 0 for any other.
  int eventHandler(const qm::Event *p_e) override;

  // Hides Object's version; the world never calls it, so acceleration does
  // not change how the ball moves.
  qm::Vector predictPosition();

  // A random column on row 3, reached through the world so that whatever
  // stands there is reported as for any move.
  void moveToStart();

private:
  void bounce();
  void bounceTop();
  void bounceSide();
  void out();
  void hit(const qm::EventCollision *p_c);
  void step();
  void speed();
  void scorePoint();
  // false while platform and wall hits are locked out; otherwise starts a
  // new lock-out and returns true.
  bool startLockOut();

  qm::Vector acceleration;
  // Given here and not only in the constructor: the constructor's move to the
  // start may already report a collision, which reads bounce_countdown and is
  // then ignored as a lock-out.
  int bounce_slowdown = BALL_BOUNCE_SLOWDOWN;
  int bounce_countdown = BALL_BOUNCE_SLOWDOWN;
  int speed_slowdown = BALL_SPEED_SLOWDOWN;
  int speed_countdown = BALL_SPEED_SLOWDOWN;
  int power_up_slowdown = BALL_POWER_UP_SLOWDOWN;
  int power_up_countdown = BALL_POWER_UP_SLOWDOWN;
};
