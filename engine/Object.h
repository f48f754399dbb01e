// Base of everything that lives in the world. An object enters the world in
// its constructor and leaves it in its destructor; it is made with new by game
// code and deleted only by the world.
#pragma once

#include "Animation.h"
#include "Box.h"
#include "Vector.h"

#include <string>

namespace qm {

class Event;

inline constexpr int MAX_ALTITUDE = 4;

enum Solidness : int {
  HARD = 0,     // collides and blocks hard movers
  SOFT = 1,     // collides, never blocks
  SPECTRAL = 2, // never collides
};

class Object {
public:
  Object();
  // A copy is not in the world (only the default constructor enters it).
  Object(const Object &other) = default;
  virtual ~Object();
  // Takes every member of other but stays in the world where it was in the
  // world's order.
  Object &operator=(const Object &other);

  virtual void Update();
  // 1 when the event was handled, 0 otherwise; senders ignore it.
  virtual int eventHandler(const Event *p_e);
  // Draws the animation at the position; -1 without a sprite.
  virtual int draw();

  void setID(int new_id);
  int getID() const;
  void setType(std::string new_type);
  std::string getType() const;

  // Places the object at once, with no collision test. This, setBox and
  // setSprite tell the world, whose collision grid files objects by box.
  void setPosition(Vector new_pos);
  Vector getPosition() const;

  // -1 (and a log line) outside 0..MAX_ALTITUDE.
  int setAltitude(int new_altitude);
  int getAltitude() const;

  void setSpeed(float speed);
  float getSpeed() const;
  void setDirection(Vector new_direction);
  Vector getDirection() const;
  // Speed becomes the magnitude, direction the normalised vector.
  void setVelocity(Vector new_velocity);
  Vector getVelocity() const;
  // Position plus velocity. Not virtual: the world always moves by this one.
  Vector predictPosition();

  bool isSolid() const;
  int setSolidness(Solidness new_solid);
  Solidness getSolidness() const;

  // Looks the sprite up by label and takes its box; -1 when there is none.
  int setSprite(std::string sprite_label);
  void setAnimation(Animation new_animation);
  Animation getAnimation() const;

  void setBox(Box new_box);
  Box getBox() const;

private:
  int m_id;
  std::string m_type;
  Vector m_position;
  int m_altitude;
  Vector m_direction;
  float m_speed;
  Solidness m_solidness;
  Animation m_animation;
  Box m_box;
};

} // namespace qm
