#include "CellScreen.h"

namespace qm {

bool ScreenCell::operator==(const ScreenCell &other) const {
  return view_pos.getX() == other.view_pos.getX() && view_pos.getY() == other.view_pos.getY() &&
         ch == other.ch && color == other.color;
}

CellScreen::~CellScreen() = default;

} // namespace qm
