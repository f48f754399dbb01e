#include "Sprite.h"

#include "LogManager.h"

#include <new>
#include <utility>

namespace qm {

Sprite::Sprite(int max_frames)
    : m_width(0), m_height(0), m_max_frame_count(0), m_frame_count(0), m_color(COLOR_DEFAULT),
      m_slowdown(1), m_frame(), m_label() {
  if (max_frames >= 0 && max_frames <= MAX_SPRITE_FRAMES) {
    m_frame.reset(new (std::nothrow) Frame[static_cast<size_t>(max_frames)]);
  }
  if (!m_frame) {
    LogManager::getInstance().writeLog("Error! Memory allocation failed when initilizing Sprite\n");
    return;
  }
  m_max_frame_count = max_frames;
}

Sprite::~Sprite() = default;

void Sprite::setWidth(int new_width) {
  m_width = new_width;
}

int Sprite::getWidth() const {
  return m_width;
}

void Sprite::setHeight(int new_height) {
  m_height = new_height;
}

int Sprite::getHeight() const {
  return m_height;
}

void Sprite::setColor(Color new_color) {
  m_color = new_color;
}

Color Sprite::getColor() const {
  return m_color;
}

int Sprite::getFrameCount() const {
  return m_frame_count;
}

void Sprite::setLabel(std::string new_label) {
  m_label = std::move(new_label);
}

std::string Sprite::getLabel() const {
  return m_label;
}

void Sprite::setSlowdown(int new_sprite_slowdown) {
  m_slowdown = new_sprite_slowdown;
}

int Sprite::getSlowdown() const {
  return m_slowdown;
}

int Sprite::addFrame(Frame new_frame) {
  // A sprite whose slots could not be allocated has a slot count of 0, so it
  // is always full.
  if (m_frame_count == m_max_frame_count) {
    LogManager::getInstance().writeLog("Error! Sprite frame is full\n");
    return -1;
  }
  m_frame[static_cast<std::size_t>(m_frame_count)] = std::move(new_frame);
  m_frame_count++;
  return 0;
}

Frame Sprite::getFrame(int frame_number) const {
  if (frame_number < 0 || frame_number >= m_frame_count) {
    return Frame();
  }
  return m_frame[static_cast<std::size_t>(frame_number)];
}

int Sprite::draw(int frame_number, Vector position) const {
  // Bounded by the slots, not the frames added: an unfilled slot holds an
  // empty frame, which refuses to draw without a message.
  if (frame_number < 0 || frame_number >= m_max_frame_count) {
    LogManager::getInstance().writeLog("Error! Cannot draw non-existent frame\n");
    return -1;
  }
  return m_frame[static_cast<std::size_t>(frame_number)].draw(position, m_color);
}

} // namespace qm
