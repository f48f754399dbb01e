#include "TerminalScreen.h"

namespace qm {

TerminalScreen::TerminalScreen(sf::Vector2u grid_size)
    : m_grid(static_cast<int>(grid_size.x), static_cast<int>(grid_size.y)), m_next_record(0),
      m_read_this_pass(false) {}

std::unique_ptr<TerminalScreen> TerminalScreen::open(sf::Vector2u grid_size) {
  std::unique_ptr<TerminalScreen> p_screen(new TerminalScreen(grid_size));
  if (p_screen->m_terminal.open() != 0) {
    return nullptr;
  }
  return p_screen;
}

TerminalScreen::~TerminalScreen() {
  m_terminal.close();
}

int TerminalScreen::present(std::vector<ScreenCell> *p_cells) {
  if (m_terminal.takeRedraw()) {
    m_output.forget();
  }
  m_grid.clear();
  for (const ScreenCell &cell : *p_cells) {
    m_grid.paint(cell.view_pos, cell.ch, cell.color);
  }
  p_cells->clear();
  const std::string bytes = m_output.update(m_grid, m_terminal.getColumns(), m_terminal.getRows());
  return bytes.empty() ? 0 : m_terminal.write(bytes);
}

bool TerminalScreen::pollEvent(sf::Event *p_event) {
  while (m_next_record == m_records.size()) {
    m_records.clear();
    m_next_record = 0;
    // Read once a pass: the call that finds nothing more ends the pass's
    // input, and the next call begins the next pass's.
    if (m_read_this_pass) {
      m_read_this_pass = false;
      return false;
    }
    m_terminal.readInput(m_records);
    m_read_this_pass = true;
  }
  const TerminalInputRecord &record = m_records[m_next_record++];
  if (record.type == TERMINAL_KEY) {
    p_event->type =
        record.key_action == KEY_PRESSED ? sf::Event::KeyPressed : sf::Event::KeyReleased;
    p_event->key = sf::Event::KeyEvent();
    p_event->key.code = record.key;
    return true;
  }
  // The pointer, by the cell of the grid that it is over, wherever the grid
  // sits in the terminal now.
  const int column = record.column - gridOrigin(m_terminal.getColumns(), m_grid.getWidth());
  const int row = record.row - gridOrigin(m_terminal.getRows(), m_grid.getHeight());
  if (record.mouse_action == CLICKED) {
    p_event->type = sf::Event::MouseButtonPressed;
    p_event->mouseButton.button = record.mouse_button;
    p_event->mouseButton.x = column;
    p_event->mouseButton.y = row;
  } else {
    p_event->type = sf::Event::MouseMoved;
    p_event->mouseMove.x = column;
    p_event->mouseMove.y = row;
  }
  return true;
}

Vector TerminalScreen::pointerCells(int x, int y) const {
  return Vector(static_cast<float>(x) + 0.5F, static_cast<float>(y) + 0.5F);
}

bool TerminalScreen::closeRequested() {
  return true;
}

void TerminalScreen::fontChanged() {}

sf::RenderWindow *TerminalScreen::getWindow() {
  return nullptr;
}

} // namespace qm
