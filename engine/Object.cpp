#include "Object.h"

#include "LogManager.h"
#include "ResourceManager.h"
#include "WorldManager.h"

#include <utility>

namespace qm {

Object::Object()
    : m_type("Object"), m_altitude(2), m_speed(0.0f), m_solidness(HARD),
      m_box(Vector(), 1.0f, 1.0f) {
  // Numbers are never reused; the counter moves on only once the object is
  // in the world.
  static int next_id = 0;
  m_id = next_id;
  WorldManager::getInstance().insertObject(this);
  next_id++;
}

Object::~Object() {
  WorldManager::getInstance().removeObject(this);
}

Object &Object::operator=(const Object &other) {
  m_id = other.m_id;
  m_type = other.m_type;
  m_position = other.m_position;
  m_altitude = other.m_altitude;
  m_direction = other.m_direction;
  m_speed = other.m_speed;
  m_solidness = other.m_solidness;
  m_animation = other.m_animation;
  m_box = other.m_box;
  WorldManager::getInstance().refile(this);
  return *this;
}

void Object::Update() {}

int Object::eventHandler(const Event *) {
  return 0;
}

int Object::draw() {
  return m_animation.draw(getPosition());
}

void Object::setID(int new_id) {
  m_id = new_id;
}

int Object::getID() const {
  return m_id;
}

void Object::setType(std::string new_type) {
  m_type = std::move(new_type);
}

std::string Object::getType() const {
  return m_type;
}

void Object::setPosition(Vector new_pos) {
  m_position = new_pos;
  WorldManager::getInstance().refile(this);
}

Vector Object::getPosition() const {
  return m_position;
}

int Object::setAltitude(int new_altitude) {
  if (new_altitude < 0 || new_altitude > MAX_ALTITUDE) {
    LogManager::getInstance().writeLog("Error! Given altitude not in range.\n");
    return -1;
  }
  m_altitude = new_altitude;
  return 0;
}

int Object::getAltitude() const {
  return m_altitude;
}

void Object::setSpeed(float speed) {
  m_speed = speed;
}

float Object::getSpeed() const {
  return m_speed;
}

void Object::setDirection(Vector new_direction) {
  m_direction = new_direction;
}

Vector Object::getDirection() const {
  return m_direction;
}

void Object::setVelocity(Vector new_velocity) {
  m_speed = new_velocity.getMagnitude();
  new_velocity.normalize();
  m_direction = new_velocity;
}

Vector Object::getVelocity() const {
  Vector velocity = m_direction;
  velocity.scale(m_speed);
  return velocity;
}

Vector Object::predictPosition() {
  return m_position + getVelocity();
}

bool Object::isSolid() const {
  return m_solidness == HARD || m_solidness == SOFT;
}

int Object::setSolidness(Solidness new_solid) {
  if (new_solid != HARD && new_solid != SOFT && new_solid != SPECTRAL) {
    return -1;
  }
  m_solidness = new_solid;
  return 0;
}

Solidness Object::getSolidness() const {
  return m_solidness;
}

int Object::setSprite(std::string sprite_label) {
  Sprite *p_sprite = ResourceManager::getInstance().getSprite(sprite_label);
  if (!p_sprite) {
    LogManager::getInstance().writeLog("Error! Sprite does not exist\n");
    return -1;
  }
  m_animation.setSprite(p_sprite);
  m_box = m_animation.getBox();
  WorldManager::getInstance().refile(this);
  return 0;
}

void Object::setAnimation(Animation new_animation) {
  m_animation = new_animation;
}

Animation Object::getAnimation() const {
  return m_animation;
}

void Object::setBox(Box new_box) {
  m_box = new_box;
  WorldManager::getInstance().refile(this);
}

Box Object::getBox() const {
  return m_box;
}

} // namespace qm
