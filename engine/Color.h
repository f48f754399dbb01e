// The eight colours a character can be drawn in. Sprite files name them in
// lower case; the display maps each to a screen colour.
#pragma once

namespace qm {

enum Color {
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

} // namespace qm
