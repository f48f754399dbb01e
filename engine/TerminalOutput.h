// The bytes that show the character grid centred in a terminal: only cells
// that changed since the last pass, or a notice when the terminal is too
// small. Bytes only, no file: the terminal screen owns one.
#pragma once

#include "TerminalGrid.h"

#include <string>

namespace qm {

// The bytes that change a terminal showing shown (or anything at all, when
// shown is null) into one showing next, with the grid's top left cell at
// the terminal's (origin_column, origin_row), from 0. Cells are bold in the
// terminal's own colours on its black; nothing at all when nothing changed.
std::string terminalBytes(const TerminalGrid &next, const TerminalGrid *p_shown, int origin_column,
                          int origin_row);

// Where the grid starts along one side of a terminal, to centre it: also
// where the terminal's pointer reports must be taken from.
int gridOrigin(int terminal_size, int grid_size);

// What a terminal smaller than the grid shows instead: the size it needs and
// the size it has.
std::string tooSmallNotice(int needed_columns, int needed_rows, int columns, int rows);

class TerminalOutput {
public:
  TerminalOutput();

  // The bytes that show grid in a terminal of columns x rows, after those
  // that this output returned before: the whole picture after a change of
  // size or a forget, else only the changes.
  std::string update(const TerminalGrid &grid, int columns, int rows);
  // Something else changed the terminal (a stop and a resume): the next
  // update draws everything.
  void forget();

private:
  TerminalGrid m_shown;
  bool m_shown_valid;
  // The terminal's size at the last update, and whether it showed the
  // notice then.
  int m_columns;
  int m_rows;
  bool m_notice_shown;
};

} // namespace qm
