// What the display shows its frames on and reads its input from: a window
// (WindowScreen) or a text terminal (TerminalScreen). The display manager
// owns the one screen in use and hands it each finished frame in grid terms,
// cells and colours, so that a screen decides alone how cells become its
// picture.
#pragma once

#include "Color.h"
#include "Vector.h"

#include <SFML/Window/Event.hpp>

#include <vector>

namespace sf {
class RenderWindow;
}

namespace qm {

// One drawCh of a frame: where in the view, in cells, the character and its
// colour, one of BLACK to WHITE.
struct ScreenCell {
  Vector view_pos;
  char ch;
  Color color;
  bool operator==(const ScreenCell &other) const;
};

class CellScreen {
public:
  virtual ~CellScreen();

  // Shows a frame, its cells in drawing order (a later cell covers an earlier
  // one where they overlap), and clears the picture for the next; takes the
  // cells, leaving the vector empty. 0, or -1 when it cannot be shown.
  virtual int present(std::vector<ScreenCell> *p_cells) = 0;
  // The next pending input event, after the screen has dealt with those that
  // are its own business (a new size, a switch of mode); false when none is
  // waiting.
  virtual bool pollEvent(sf::Event *p_event) = 0;
  // Where a pointer position that the events carry falls on the grid, in
  // cells; neither rounded nor clamped.
  virtual Vector pointerCells(int x, int y) const = 0;
  // Reads what is still pending: whether the screen was asked to close, now
  // or earlier.
  virtual bool closeRequested() = 0;
  // The font was loaded again: what was made from it before is gone.
  virtual void fontChanged() = 0;
  // The screen's window; nullptr for a screen without one.
  virtual sf::RenderWindow *getWindow() = 0;
};

} // namespace qm
