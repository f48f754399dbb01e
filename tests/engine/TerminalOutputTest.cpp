// Frames in, terminal bytes out: exact bytes for small changes, and passes of
// play replayed through a small model of a terminal, which must then show
// the grid.
#include "TerminalOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

// A terminal as far as the output's bytes go: absolute and forward cursor
// moves, erasing the screen, bold, the eight colours and black background,
// and printable characters. Anything else fails the test.
class ModelTerminal {
public:
  struct Cell {
    char ch = ' ';
    int foreground = 39;
    int background = 49;
    bool bold = false;
  };

  ModelTerminal(int columns, int rows)
      : m_columns(columns), m_rows(rows), m_cells(static_cast<std::size_t>(columns * rows)) {}

  void play(const std::string &bytes) {
    for (std::size_t i = 0; i < bytes.size(); i++) {
      if (bytes[i] != '\x1b') {
        ASSERT_TRUE(bytes[i] >= ' ' && bytes[i] < 0x7f) << "byte " << int(bytes[i]);
        if (m_column < m_columns && m_row < m_rows) {
          m_cells[index(m_column, m_row)] = {bytes[i], m_pen.foreground, m_pen.background,
                                             m_pen.bold};
        }
        m_column++;
        continue;
      }
      ASSERT_EQ(bytes[++i], '[');
      std::vector<int> params{0};
      for (i++; bytes[i] == ';' || std::isdigit(static_cast<unsigned char>(bytes[i])); i++) {
        if (bytes[i] == ';') {
          params.push_back(0);
        } else {
          params.back() = params.back() * 10 + (bytes[i] - '0');
        }
      }
      run(bytes[i], params);
    }
  }

  const Cell &at(int column, int row) const { return m_cells[index(column, row)]; }

private:
  std::size_t index(int column, int row) const {
    return static_cast<std::size_t>(row * m_columns + column);
  }

  void run(char command, const std::vector<int> &params) {
    if (command == 'H') {
      m_row = std::max(params[0], 1) - 1;
      m_column = params.size() > 1 ? params[1] - 1 : 0;
    } else if (command == 'C') {
      m_column += std::max(params[0], 1);
    } else if (command == 'J' && params[0] == 2) {
      m_cells.assign(m_cells.size(), Cell{' ', 39, m_pen.background, false});
    } else if (command == 'm') {
      for (const int p : params) {
        if (p == 0) {
          m_pen = Cell();
        } else if (p == 1) {
          m_pen.bold = true;
        } else if (p >= 30 && p <= 37) {
          m_pen.foreground = p;
        } else {
          ASSERT_EQ(p, 40);
          m_pen.background = p;
        }
      }
    } else {
      FAIL() << "sequence ending " << command;
    }
  }

  int m_columns;
  int m_rows;
  std::vector<Cell> m_cells;
  int m_column = 0;
  int m_row = 0;
  Cell m_pen;
};

// The model shows the grid at the origin, bold on black, and nothing around.
void expectShows(const ModelTerminal &screen, const qm::TerminalGrid &grid, int columns, int rows,
                 int origin_column, int origin_row) {
  for (int row = 0; row < rows; row++) {
    for (int column = 0; column < columns; column++) {
      const ModelTerminal::Cell &shown = screen.at(column, row);
      const int c = column - origin_column;
      const int r = row - origin_row;
      if (c < 0 || r < 0 || c >= grid.getWidth() || r >= grid.getHeight()) {
        ASSERT_EQ(shown.ch, ' ') << "outside the grid at " << column << "," << row;
        continue;
      }
      const qm::TerminalCell &cell = grid.cell(c, r);
      ASSERT_EQ(shown.ch, cell.ch) << "at " << c << "," << r;
      ASSERT_EQ(shown.background, 40) << "at " << c << "," << r;
      if (!cell.isBlank()) {
        ASSERT_EQ(shown.foreground, 30 + cell.color) << "at " << c << "," << r;
        ASSERT_TRUE(shown.bold) << "at " << c << "," << r;
      }
    }
  }
}

void paintString(qm::TerminalGrid &grid, float x, float y, const std::string &text,
                 qm::Color color) {
  for (std::size_t i = 0; i < text.size(); i++) {
    grid.paint(qm::Vector(x + static_cast<float>(i), y), text[i], color);
  }
}

TEST(TerminalOutput, WritesOnlyWhatChangedWithShortMoves) {
  qm::TerminalGrid shown(80, 24);
  shown.paint(qm::Vector(5, 2), 'x', qm::BLUE);
  // The text painted in red from x on row 2, where a dot paints nothing.
  const auto changed = [&shown](const std::string &text, float x) {
    qm::TerminalGrid next = shown;
    for (std::size_t i = 0; i < text.size(); i++) {
      if (text[i] != '.') {
        next.paint(qm::Vector(x + static_cast<float>(i), 2), text[i], qm::RED);
      }
    }
    return terminalBytes(next, &shown, 10, 3);
  };
  EXPECT_EQ(qm::terminalBytes(shown, &shown, 10, 3), "");
  EXPECT_EQ(changed("O", 3), "\x1b[6;14H\x1b[1;31;40mO");
  // Unchanged cells between changes are written again when that is shorter
  // than moving over them; a blank is written in whatever colour is set.
  EXPECT_EQ(changed("a  b", 0.5f), "\x1b[6;11H\x1b[1;31;40ma  b");
  EXPECT_EQ(changed("a.....b", 0), "\x1b[6;11H\x1b[1;31;40ma\x1b[5Cb");
  EXPECT_EQ(changed("a..........b", 8), "\x1b[6;19H\x1b[1;31;40ma\x1b[10Cb");
  EXPECT_EQ(changed(" ", 5), "\x1b[6;16H\x1b[1;37;40m ");
  EXPECT_EQ(qm::tooSmallNotice(80, 24, 70, 20),
            "\x1b[0m\x1b[2J\x1b[HNeeds a terminal of at least 80x24; this one is 70x20.");
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
      grid.paint(qm::Vector(0, static_cast<float>(row)), '|', qm::WHITE);
      grid.paint(qm::Vector(79, static_cast<float>(row)), '|', qm::WHITE);
    }
    const float t = static_cast<float>(pass);
    grid.paint(qm::Vector(1 + std::fmod(t * 0.6f, 77.0f), 1 + std::fmod(t * 0.4f, 20.0f)), 'O',
               qm::RED);
    paintString(grid, 20 + static_cast<float>(pass % 40), 21, "=========", qm::BLUE);
    paintString(grid, 68, 1, "Points: " + std::to_string(pass / 2), qm::YELLOW);
    const std::string bytes = output.update(grid, 100, 30);
    screen.play(bytes);
    expectShows(screen, grid, 100, 30, 10, 3);
    EXPECT_EQ(output.update(grid, 100, 30), "");
    if (pass > 0) {
      largest_pass = std::max(largest_pass, bytes.size());
    }
  }
  EXPECT_LT(largest_pass, 300u);

  // Too small: the notice once; big enough again: everything drawn anew.
  EXPECT_EQ(output.update(grid, 70, 20), qm::tooSmallNotice(80, 24, 70, 20));
  EXPECT_EQ(output.update(grid, 70, 20), "");
  ModelTerminal exact(80, 24);
  exact.play(output.update(grid, 80, 24));
  expectShows(exact, grid, 80, 24, 0, 0);
  output.forget();
  ModelTerminal resumed(80, 24);
  resumed.play(output.update(grid, 80, 24));
  expectShows(resumed, grid, 80, 24, 0, 0);
}

TEST(TerminalGrid, PaintsInCallOrderIntoTheCellsThatPositionsFallIn) {
  qm::TerminalGrid grid(80, 24);
  grid.paint(qm::Vector(2.9f, 1.5f), 'a', qm::GREEN);
  grid.paint(qm::Vector(2, 1), 'b', qm::UNDEFINED_COLOR);
  grid.paint(qm::Vector(4, 1), 'c', qm::RED);
  grid.paint(qm::Vector(4.2f, 1.9f), ' ', qm::RED);
  grid.paint(qm::Vector(5, 1), '\x1b', qm::RED);
  for (const float outside : {-0.5f, 80.0f, std::numeric_limits<float>::quiet_NaN(), 1e30f}) {
    grid.paint(qm::Vector(outside, 0), 'z', qm::RED);
    grid.paint(qm::Vector(0, outside), 'z', qm::RED);
  }
  qm::TerminalGrid expected(80, 24);
  expected.paint(qm::Vector(2, 1), 'b', qm::WHITE);
  EXPECT_TRUE(grid == expected);
}

} // namespace
