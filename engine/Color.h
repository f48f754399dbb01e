// The eight colours a character can be drawn in. Sprite files name them in
// lower case; the display maps each to a screen colour. Every int is a valid
// value (the display draws unknown ones in white), hence the fixed type.
#pragma once

namespace qm {

enum Color : int {
  UNDEFINED_COLOR = -1,
  BLACK = 0,
  RED,
  GREEN,
  YELLOW,
  BLUE,
  MAGENTA,
  CYAN,
  WHITE,
};

inline constexpr Color COLOR_DEFAULT = WHITE;

// The colour a character is drawn in: its own, or white for a value outside
// BLACK to WHITE.
inline constexpr Color drawnColor(Color color) {
  return color < BLACK || color > WHITE ? WHITE : color;
}

} // namespace qm
