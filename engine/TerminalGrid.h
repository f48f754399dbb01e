// The picture a terminal shows of the display's character grid: one
// character and colour per cell, built from a frame's drawCh calls in call
// order. Held by value by the terminal output and the terminal screen.
#pragma once

#include "Color.h"
#include "Vector.h"

#include <vector>

namespace qm {

// A cell that shows nothing: a blank on the black background.
struct TerminalCell {
  char ch = ' ';
  Color color = WHITE;

  bool isBlank() const { return ch == ' '; }
  bool operator==(const TerminalCell &other) const;
  bool operator!=(const TerminalCell &other) const { return !(*this == other); }
};

class TerminalGrid {
public:
  TerminalGrid(int width, int height);

  int getWidth() const;
  int getHeight() const;

  // Every cell blank again.
  void clear();
  // One character at a view position in cells: it covers whatever was
  // painted there before, and a position between cells falls in the cell it
  // lies in. Outside the grid nothing is painted.
  void paint(Vector view_pos, char ch, Color color);
  // The cell at (column, row), which must lie in the grid.
  const TerminalCell &cell(int column, int row) const;

  bool operator==(const TerminalGrid &other) const;

private:
  int m_width;
  int m_height;
  std::vector<TerminalCell> m_cells;
};

} // namespace qm
