#include "TerminalOutput.h"

namespace qm {

namespace {

const std::string CSI = "\x1b[";

// Writes one pass: the cells it is given, in order, each after moving the
// cursor there by the shortest of the ways it knows. It remembers where the
// cursor is and which colour is set, both unknown when the pass begins.
class PassWriter {
public:
  PassWriter(const TerminalGrid &grid, int origin_column, int origin_row, std::string &bytes)
      : m_grid(grid), m_origin_column(origin_column), m_origin_row(origin_row), m_bytes(bytes) {}

  void put(int column, int row) {
    moveTo(column, row);
    writeCell(m_grid.cell(column, row), m_bytes, m_color);
    m_column = column + 1;
  }

private:
  // Bold and the black background are set with the first colour of a pass
  // and stay; a blank shows the same in any colour.
  static void writeCell(const TerminalCell &cell, std::string &out, int &color) {
    if (color < 0) {
      color = cell.color;
      out += CSI + "1;3" + std::to_string(color) + ";40m";
    } else if (!cell.isBlank() && cell.color != color) {
      color = cell.color;
      out += CSI + "3" + std::to_string(color) + "m";
    }
    out += cell.ch;
  }

  void moveTo(int column, int row) {
    if (row == m_row && column == m_column) {
      return;
    }
    if (row == m_row && column > m_column) {
      // Forward on the row: the cells skipped are unchanged, so writing them
      // again may cost less than the move. Each takes a byte at least, so
      // more of them than the move's bytes never do.
      const std::string move = CSI + std::to_string(column - m_column) + "C";
      std::string skipped;
      int skipped_color = m_color;
      for (int c = m_column; c < column && skipped.size() <= move.size(); c++) {
        writeCell(m_grid.cell(c, row), skipped, skipped_color);
      }
      if (skipped.size() <= move.size()) {
        m_bytes += skipped;
        m_color = skipped_color;
      } else {
        m_bytes += move;
      }
    } else {
      m_bytes += CSI + std::to_string(m_origin_row + row + 1) + ";" +
                 std::to_string(m_origin_column + column + 1) + "H";
    }
    m_row = row;
    m_column = column;
  }

  const TerminalGrid &m_grid;
  int m_origin_column;
  int m_origin_row;
  std::string &m_bytes;
  int m_column = -1;
  int m_row = -1;
  int m_color = -1;
};

} // namespace

std::string terminalBytes(const TerminalGrid &next, const TerminalGrid *p_shown, int origin_column,
                          int origin_row) {
  std::string bytes;
  const bool whole = !p_shown || p_shown->getWidth() != next.getWidth() ||
                     p_shown->getHeight() != next.getHeight();
  if (whole) {
    // Around the grid, the terminal's own background.
    bytes = CSI + "0m" + CSI + "2J";
  }
  PassWriter writer(next, origin_column, origin_row, bytes);
  for (int row = 0; row < next.getHeight(); row++) {
    for (int column = 0; column < next.getWidth(); column++) {
      if (whole || next.cell(column, row) != p_shown->cell(column, row)) {
        writer.put(column, row);
      }
    }
  }
  return bytes;
}

int gridOrigin(int terminal_size, int grid_size) {
  return (terminal_size - grid_size) / 2;
}

std::string tooSmallNotice(int needed_columns, int needed_rows, int columns, int rows) {
  return CSI + "0m" + CSI + "2J" + CSI + "H" + "Needs a terminal of at least " +
         std::to_string(needed_columns) + "x" + std::to_string(needed_rows) + "; this one is " +
         std::to_string(columns) + "x" + std::to_string(rows) + ".";
}

TerminalOutput::TerminalOutput()
    : m_shown(0, 0), m_shown_valid(false), m_columns(-1), m_rows(-1), m_notice_shown(false) {}

std::string TerminalOutput::update(const TerminalGrid &grid, int columns, int rows) {
  if (columns != m_columns || rows != m_rows) {
    m_columns = columns;
    m_rows = rows;
    forget();
  }
  if (columns < grid.getWidth() || rows < grid.getHeight()) {
    if (m_notice_shown) {
      return "";
    }
    m_notice_shown = true;
    return tooSmallNotice(grid.getWidth(), grid.getHeight(), columns, rows);
  }
  std::string bytes =
      terminalBytes(grid, m_shown_valid ? &m_shown : nullptr, gridOrigin(columns, grid.getWidth()),
                    gridOrigin(rows, grid.getHeight()));
  m_shown = grid;
  m_shown_valid = true;
  return bytes;
}

void TerminalOutput::forget() {
  m_shown_valid = false;
  m_notice_shown = false;
}

} // namespace qm
