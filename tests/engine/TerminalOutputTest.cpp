// Frames in, terminal bytes out: exact bytes for small changes, and passes of
// play replayed through a small model of a terminal, which must then show
// the grid.
#include "TerminalOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <regex>
#include <string>
#include <vector>

namespace {

// A terminal as far as the output's bytes go: cursor moves (H, C), erasing
// (2J), bold, colours and black background (m) and printable characters.
// Anything else fails the test. Each cell keeps what it shows in the terms
// of picture() below.
class ModelTerminal {
public:
  ModelTerminal(int columns, int rows)
      : m_columns(columns), m_cells(static_cast<std::size_t>(columns * rows), " ") {}

  void play(const std::string &bytes) {
    static const std::regex TOKEN("\x1b\\[([0-9;]*)([HCJm])|[ -~]");
    std::size_t covered = 0;
    for (std::sregex_iterator it(bytes.begin(), bytes.end(), TOKEN), end; it != end; ++it) {
      ASSERT_EQ(static_cast<std::size_t>(it->position()), covered) << "unknown bytes";
      covered += static_cast<std::size_t>(it->length());
      if (!(*it)[2].matched) {
        put(it->str()[0]);
        continue;
      }
      std::vector<int> params{0};
      for (const char ch : (*it)[1].str()) {
        if (ch == ';') {
          params.push_back(0);
        } else {
          params.back() = params.back() * 10 + (ch - '0');
        }
      }
      run((*it)[2].str()[0], params);
    }
    ASSERT_EQ(covered, bytes.size()) << "unknown bytes at the end";
  }

  std::string picture() const {
    std::string text;
    for (std::size_t i = 0; i < m_cells.size(); i++) {
      text += m_cells[i] + ((i + 1) % static_cast<std::size_t>(m_columns) ? "" : "\n");
    }
    return text;
  }

private:
  void put(char ch) {
    const std::size_t cell = static_cast<std::size_t>(m_row * m_columns + m_column);
    ASSERT_TRUE(m_column++ < m_columns && cell < m_cells.size());
    const bool on_black = m_background == 40;
    if (ch == ' ') {
      m_cells[cell] = on_black ? "." : " ";
    } else {
      m_cells[cell] = ch + (m_bold && on_black ? std::to_string(m_foreground - 30) : "!");
    }
  }

  void run(char command, const std::vector<int> &params) {
    if (command == 'H') {
      m_row = std::max(params[0], 1) - 1;
      m_column = params.size() > 1 ? params[1] - 1 : 0;
    } else if (command == 'C') {
      m_column += params[0];
    } else if (command == 'J') {
      ASSERT_EQ(params[0], 2);
      m_cells.assign(m_cells.size(), m_background == 40 ? "." : " ");
    }
    for (const int p : command == 'm' ? params : std::vector<int>()) {
      ASSERT_TRUE(p == 0 || p == 1 || p == 40 || (p >= 30 && p <= 37)) << p;
      m_bold = p != 0 && (m_bold || p == 1);
      m_foreground = p >= 30 && p <= 37 ? p : p == 0 ? 39 : m_foreground;
      m_background = p == 40 ? p : p == 0 ? 49 : m_background;
    }
  }

  int m_columns;
  std::vector<std::string> m_cells;
  int m_column = 0;
  int m_row = 0;
  bool m_bold = false;
  int m_foreground = 39;
  int m_background = 49;
};

// Row by row, what a terminal of the size must show of the grid at the
// origin: a blank on black as '.', on the terminal's own background as ' ',
// a character bold on black as itself and its colour's digit.
std::string picture(const qm::TerminalGrid &grid, int columns, int rows, int origin_column,
                    int origin_row) {
  std::string text;
  for (int row = 0; row < rows; row++) {
    for (int column = 0; column < columns; column++) {
      const int c = column - origin_column;
      const int r = row - origin_row;
      if (c < 0 || r < 0 || c >= grid.getWidth() || r >= grid.getHeight()) {
        text += " ";
      } else {
        const qm::TerminalCell &cell = grid.cell(c, r);
        text += cell.isBlank() ? "." : cell.ch + std::to_string(cell.color);
      }
    }
    text += "\n";
  }
  return text;
}

void paintString(qm::TerminalGrid &grid, float x, float y, const std::string &text,
                 qm::Color color) {
  for (std::size_t i = 0; i < text.size(); i++) {
    if (text[i] != '.') {
      grid.paint(qm::Vector(x + static_cast<float>(i), y), text[i], color);
    }
  }
}

TEST(TerminalOutput, WritesOnlyWhatChangedWithShortMoves) {
  qm::TerminalGrid shown(80, 24);
  shown.paint(qm::Vector(5, 2), 'x', qm::BLUE);
  // The text painted in red from x on row 2, where a dot paints nothing.
  const auto changed = [&shown](const std::string &text, float x) {
    qm::TerminalGrid next = shown;
    paintString(next, x, 2, text, qm::RED);
    return terminalBytes(next, &shown, 10, 3);
  };
  EXPECT_EQ(qm::terminalBytes(shown, &shown, 10, 3), "");
  // Unchanged cells between changes are written again when that is shorter
  // than moving over them; a blank is written in whatever colour is set.
  EXPECT_EQ(changed("a  b", 0.5f), "\x1b[6;11H\x1b[1;31;40ma  b");
  EXPECT_EQ(changed("a.....b", 0), "\x1b[6;11H\x1b[1;31;40ma\x1b[5Cb");
  EXPECT_EQ(changed(" ", 5), "\x1b[6;16H\x1b[1;37;40m ");
}

TEST(TerminalOutput, PassesOfPlayShowTheGridInFewBytes) {
  qm::TerminalOutput output;
  qm::TerminalGrid grid(80, 24);
  ModelTerminal screen(100, 30);
  std::size_t largest_pass = 0;
  for (int pass = 0; pass < 120; pass++) {
    // Walls, a ball in half cells, a platform after the pointer, a score.
    grid.clear();
    paintString(grid, 0, 0, std::string(80, '-'), qm::WHITE);
    for (int row = 1; row < 24; row++) {
      paintString(grid, 0, static_cast<float>(row), "|" + std::string(78, '.') + "|", qm::WHITE);
    }
    const float t = static_cast<float>(pass);
    grid.paint(qm::Vector(1 + std::fmod(t * 0.6f, 77.0f), 1 + std::fmod(t * 0.4f, 20.0f)), 'O',
               qm::RED);
    paintString(grid, 20 + static_cast<float>(pass % 40), 21, "=========", qm::BLUE);
    paintString(grid, 68, 1, "Points: " + std::to_string(pass / 2), qm::YELLOW);
    const std::string bytes = output.update(grid, 100, 30);
    screen.play(bytes);
    ASSERT_EQ(screen.picture(), picture(grid, 100, 30, 10, 3)) << "pass " << pass;
    EXPECT_EQ(output.update(grid, 100, 30), "");
    largest_pass = std::max(largest_pass, pass > 0 ? bytes.size() : 0);
  }
  EXPECT_LT(largest_pass, 300u);

  // Too small: the notice once; big enough again, or forgotten: everything
  // drawn anew.
  EXPECT_EQ(output.update(grid, 70, 20),
            "\x1b[0m\x1b[2J\x1b[HNeeds a terminal of at least 80x24; this one is 70x20.");
  EXPECT_EQ(output.update(grid, 70, 20), "");
  for (int time = 0; time < 2; time++) {
    ModelTerminal fresh(80, 24);
    fresh.play(output.update(grid, 80, 24));
    EXPECT_EQ(fresh.picture(), picture(grid, 80, 24, 0, 0));
    output.forget();
  }
}

TEST(TerminalGrid, PaintsInCallOrderIntoTheCellsThatPositionsFallIn) {
  qm::TerminalGrid grid(80, 24);
  grid.paint(qm::Vector(2.9f, 1.5f), 'a', qm::GREEN);
  grid.paint(qm::Vector(2, 1), 'b', qm::UNDEFINED_COLOR);
  grid.paint(qm::Vector(4, 1), 'c', qm::RED);
  grid.paint(qm::Vector(4.2f, 1.9f), ' ', qm::RED);
  grid.paint(qm::Vector(5, 1), '\x1b', qm::RED);
  // Black is a blank, as on the window's black.
  grid.paint(qm::Vector(6, 1), 'k', qm::BLACK);
  for (const float outside : {-0.5f, 80.0f, std::numeric_limits<float>::quiet_NaN(), 1e30f}) {
    grid.paint(qm::Vector(outside, 0), 'z', qm::RED);
    grid.paint(qm::Vector(0, outside), 'z', qm::RED);
  }
  qm::TerminalGrid expected(80, 24);
  expected.paint(qm::Vector(2, 1), 'b', qm::WHITE);
  EXPECT_TRUE(grid == expected);
}

} // namespace
