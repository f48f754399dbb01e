#include "Animation.h"

#include "LogManager.h"
#include "Sprite.h"

#include <utility>

namespace qm {

Animation::Animation() : m_p_sprite(nullptr), m_name(), m_index(0), m_slowdown_count(0) {}

void Animation::setSprite(Sprite *p_new_sprite) {
  m_p_sprite = p_new_sprite;
}

Sprite *Animation::getSprite() const {
  return m_p_sprite;
}

void Animation::setName(std::string new_name) {
  m_name = std::move(new_name);
}

std::string Animation::getName() const {
  return m_name;
}

void Animation::setIndex(int new_index) {
  m_index = new_index;
}

int Animation::getIndex() const {
  return m_index;
}

void Animation::setSlowdownCount(int new_slowdown_count) {
  m_slowdown_count = new_slowdown_count;
}

int Animation::getSlowdownCount() const {
  return m_slowdown_count;
}

int Animation::draw(Vector position) {
  if (m_p_sprite == nullptr) {
    LogManager::getInstance().writeLog("Error! No Sprite defined for Animation\n");
    return -1;
  }
  m_p_sprite->draw(m_index, position);
  if (m_slowdown_count == -1) {
    return 0;
  }
  // Counted in a wider type: index and count can be set to anything, and the
  // step past the largest int must wrap like any other, not overflow.
  const long long next_count = static_cast<long long>(m_slowdown_count) + 1;
  if (next_count >= m_p_sprite->getSlowdown()) {
    m_slowdown_count = 0;
    const long long next_index = static_cast<long long>(m_index) + 1;
    m_index = next_index >= m_p_sprite->getFrameCount() ? 0 : static_cast<int>(next_index);
  } else {
    m_slowdown_count = static_cast<int>(next_count);
  }
  return 0;
}

Box Animation::getBox() const {
  if (m_p_sprite == nullptr) {
    // Just under one cell, so that a sprite-less object at a whole position
    // does not touch its neighbours' cells.
    return Box(Vector(-0.5f, -0.5f), 0.99f, 0.99f);
  }
  const float width = static_cast<float>(m_p_sprite->getWidth());
  const float height = static_cast<float>(m_p_sprite->getHeight());
  return Box(Vector(-width / 2, -height / 2), width, height);
}

} // namespace qm
