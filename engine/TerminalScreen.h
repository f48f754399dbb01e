// The display's screen in a text terminal: the grid centred in it, cells as
// the terminal's own colours, keys and the pointer read from what it sends,
// and the terminal left as it was found on every way out. Owned by the
// display manager.
#pragma once

#include "CellScreen.h"
#include "Terminal.h"
#include "TerminalGrid.h"
#include "TerminalOutput.h"

#include <SFML/System/Vector2.hpp>

#include <cstddef>
#include <memory>
#include <vector>

namespace qm {

class TerminalScreen : public CellScreen {
public:
  // The process's terminal taken to show grid_size cells; nullptr when it
  // has none, or one that cannot be taken.
  static std::unique_ptr<TerminalScreen> open(sf::Vector2u grid_size);
  // Gives the terminal back.
  ~TerminalScreen() override;

  // Writes only what changed since the last frame, and nothing when nothing
  // did; the whole picture after a new size or a return from a stop.
  int present(std::vector<ScreenCell> *p_cells) override;
  // The terminal is read once a pass: its keys come as the window's key
  // events (a release at once after each press where the terminal does not
  // report releases), its pointer as the window's pointer events in grid
  // cells, from (0, 0) at the grid's top left.
  bool pollEvent(sf::Event *p_event) override;
  // The middle of the cell, as a window pointer in the middle of a cell.
  Vector pointerCells(int x, int y) const override;
  // Always: a terminal is given back at every shut-down, since one left
  // taken would hold the shell's screen after the game.
  bool closeRequested() override;
  void fontChanged() override;
  // nullptr: there is no window.
  sf::RenderWindow *getWindow() override;

private:
  explicit TerminalScreen(sf::Vector2u grid_size);

  Terminal m_terminal;
  TerminalGrid m_grid;
  TerminalOutput m_output;
  // What the terminal sent this pass, handed out one by one.
  std::vector<TerminalInputRecord> m_records;
  std::size_t m_next_record;
  bool m_read_this_pass;
};

} // namespace qm
