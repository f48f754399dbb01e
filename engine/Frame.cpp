#include "Frame.h"

#include "DisplayManager.h"

#include <utility>

namespace qm {

Frame::Frame() : m_width(0), m_height(0), m_frame_str() {}

Frame::Frame(int new_width, int new_height, std::string frame_str)
    : m_width(new_width), m_height(new_height), m_frame_str(std::move(frame_str)) {}

void Frame::setWidth(int new_width) {
  m_width = new_width;
}

int Frame::getWidth() const {
  return m_width;
}

void Frame::setHeight(int new_height) {
  m_height = new_height;
}

int Frame::getHeight() const {
  return m_height;
}

void Frame::setString(std::string new_frame_string) {
  m_frame_str = std::move(new_frame_string);
}

std::string Frame::getString() const {
  return m_frame_str;
}

int Frame::draw(Vector position, Color color) const {
  if (m_frame_str.empty()) {
    return -1;
  }
  const DisplayManager &display_manager = DisplayManager::getInstance();
  const int x_offset = m_width / 2;
  const int y_offset = m_height / 2;
  // Width and height are set independently of the string, so a frame may
  // claim more cells than it has characters: only the characters that exist
  // are drawn. Rows are laid out one after the other, so the first index past
  // the end means every later cell is past it too.
  const long long char_count = static_cast<long long>(m_frame_str.size());
  // No columns means no cells, however many rows are claimed.
  if (m_width <= 0) {
    return 0;
  }
  for (int y = 0; y < m_height; y++) {
    for (int x = 0; x < m_width; x++) {
      const long long index = static_cast<long long>(y) * m_width + x;
      if (index >= char_count) {
        return 0;
      }
      const Vector cell(position.getX() + static_cast<float>(x) - static_cast<float>(x_offset),
                        position.getY() + static_cast<float>(y) - static_cast<float>(y_offset));
      display_manager.drawCh(cell, m_frame_str[static_cast<size_t>(index)], color);
    }
  }
  return 0;
}

} // namespace qm
