#include "TerminalGrid.h"

#include <cmath>
#include <cstddef>

namespace qm {

bool TerminalCell::operator==(const TerminalCell &other) const {
  return ch == other.ch && color == other.color;
}

TerminalGrid::TerminalGrid(int width, int height)
    : m_width(width > 0 ? width : 0), m_height(height > 0 ? height : 0),
      m_cells(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height)) {}

int TerminalGrid::getWidth() const {
  return m_width;
}

int TerminalGrid::getHeight() const {
  return m_height;
}

void TerminalGrid::clear() {
  m_cells.assign(m_cells.size(), TerminalCell());
}

void TerminalGrid::paint(Vector view_pos, char ch, Color color) {
  const float x = std::floor(view_pos.getX());
  const float y = std::floor(view_pos.getY());
  // Compared as floats, so that NaN and huge positions never become ints.
  if (!(x >= 0 && x < static_cast<float>(m_width) && y >= 0 && y < static_cast<float>(m_height))) {
    return;
  }
  TerminalCell painted;
  // Control bytes and bytes above ASCII would reach the terminal as commands
  // or as broken characters; the window draws no glyph for them either. A
  // black character, unseen on the window's black, is shown grey by many
  // terminals in bold: a blank shows it as the window does.
  if (ch > ' ' && ch < 0x7f && color != BLACK) {
    painted.ch = ch;
    painted.color = drawnColor(color);
  }
  m_cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
          static_cast<std::size_t>(x)] = painted;
}

const TerminalCell &TerminalGrid::cell(int column, int row) const {
  return m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_width) +
                 static_cast<std::size_t>(column)];
}

bool TerminalGrid::operator==(const TerminalGrid &other) const {
  return m_width == other.m_width && m_height == other.m_height && m_cells == other.m_cells;
}

} // namespace qm
