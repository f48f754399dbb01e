#include "DisplayManager.h"

#include "LogManager.h"
#include "PictureFit.h"
#include "TerminalScreen.h"
#include "WindowScreen.h"
#include "utility.h"

#include <cstddef>
#include <cstdlib>

namespace qm {

namespace {

sf::Vector2u pictureSize(const DisplayManager &display_manager) {
  return sf::Vector2u(static_cast<unsigned int>(display_manager.getHorizontalPixels()),
                      static_cast<unsigned int>(display_manager.getVerticalPixels()));
}

sf::Vector2u gridSize(const DisplayManager &display_manager) {
  return sf::Vector2u(static_cast<unsigned int>(display_manager.getHorizontal()),
                      static_cast<unsigned int>(display_manager.getVertical()));
}

// The grid in a window of the picture's own size, where a window pixel is a
// picture pixel.
PictureFit firstSizeFit() {
  const DisplayManager &display_manager = DisplayManager::getInstance();
  return PictureFit(pictureSize(display_manager), pictureSize(display_manager),
                    gridSize(display_manager));
}

} // namespace

DisplayKind chosenDisplay() {
  const char *p_value = std::getenv(DISPLAY_VARIABLE.c_str());
  const std::string value = p_value ? p_value : "";
  if (value.empty() || value == "window") {
    return WINDOW_DISPLAY;
  }
  return value == "terminal" ? TERMINAL_DISPLAY : UNKNOWN_DISPLAY;
}

DisplayManager::DisplayManager()
    : m_window_horizontal_pixels(WINDOW_HORIZONTAL_PIXELS_DEFAULT),
      m_window_vertical_pixels(WINDOW_VERTICAL_PIXELS_DEFAULT),
      m_window_horizontal_chars(WINDOW_HORIZONTAL_CHARS_DEFAULT),
      m_window_vertical_chars(WINDOW_VERTICAL_CHARS_DEFAULT) {
  setType("DisplayManager");
}

DisplayManager::~DisplayManager() {
  m_p_screen.reset();
}

DisplayManager &DisplayManager::getInstance() {
  static DisplayManager display_manager;
  return display_manager;
}

int DisplayManager::startUp() {
  // Starting a running display is no error: the window and font stay as
  // they are and the caller goes on as after a first start.
  if (m_p_screen && isStarted()) {
    return 0;
  }
  const DisplayKind kind = chosenDisplay();
  // A window kept from a failed font load or from a shut-down without a
  // close request is reused rather than opened a second time.
  if (!m_p_screen && kind == WINDOW_DISPLAY) {
    m_p_screen = WindowScreen::open(pictureSize(*this), gridSize(*this), &m_font);
  } else if (!m_p_screen && kind == TERMINAL_DISPLAY) {
    m_p_screen = TerminalScreen::open(gridSize(*this));
  }
  // A terminal draws in its own font.
  const bool font_loaded = kind == TERMINAL_DISPLAY || m_font.loadFromFile(FONT_FILE_DEFAULT);
  if (!m_p_screen) {
    LogManager::getInstance().writeLog("Error! Unable to generate display window.\n");
    return -1;
  }
  m_p_screen->fontChanged();
  if (!font_loaded) {
    LogManager::getInstance().writeLog("Error! Unable to load font.\n");
    return -1;
  }
  return Manager::startUp();
}

void DisplayManager::shutDown() {
  if (m_p_screen && m_p_screen->closeRequested()) {
    m_p_screen.reset();
  }
  Manager::shutDown();
}

int DisplayManager::drawCh(Vector world_pos, char ch, Color color) const {
  if (!m_p_screen) {
    LogManager::getInstance().writeLog("Error! No window to draw to.\n");
    return -1;
  }
  const Color shown_color = drawnColor(color);
  if (shown_color != color) {
    LogManager::getInstance().writeLog("Warning: Drawing with undefined color.\n");
  }
  m_frame_cells.push_back(ScreenCell{worldToView(world_pos), ch, shown_color});
  return 0;
}

int DisplayManager::drawString(Vector pos, std::string str, Justification just, Color color) const {
  const int length = static_cast<int>(str.size());
  Vector starting_pos = pos;
  switch (just) {
  case CENTER_JUSTIFIED:
    starting_pos.setX(pos.getX() - static_cast<float>(length / 2));
    break;
  case RIGHT_JUSTIFIED:
    starting_pos.setX(pos.getX() - static_cast<float>(length));
    break;
  default:
    break;
  }
  for (std::size_t i = 0; i < str.size(); i++) {
    drawCh(Vector(starting_pos.getX() + static_cast<float>(i), starting_pos.getY()), str[i], color);
  }
  return 0;
}

int DisplayManager::swapBuffers() {
  if (!m_p_screen) {
    LogManager::getInstance().writeLog("Error: No window to display to.\n");
    return -1;
  }
  return m_p_screen->present(&m_frame_cells);
}

bool DisplayManager::pollEvent(sf::Event *p_event) {
  return m_p_screen && m_p_screen->pollEvent(p_event);
}

Vector DisplayManager::pointerCells(int x, int y) const {
  if (m_p_screen) {
    return m_p_screen->pointerCells(x, y);
  }
  return firstSizeFit().windowToCells(Vector(static_cast<float>(x), static_cast<float>(y)));
}

int DisplayManager::getHorizontal() const {
  return m_window_horizontal_chars;
}

int DisplayManager::getVertical() const {
  return m_window_vertical_chars;
}

int DisplayManager::getHorizontalPixels() const {
  return m_window_horizontal_pixels;
}

int DisplayManager::getVerticalPixels() const {
  return m_window_vertical_pixels;
}

sf::RenderWindow *DisplayManager::getWindow() const {
  return m_p_screen ? m_p_screen->getWindow() : nullptr;
}

float charHeight() {
  return firstSizeFit().getCellSize().y;
}

float charWidth() {
  return firstSizeFit().getCellSize().x;
}

Vector spacesToPixels(Vector spaces) {
  return firstSizeFit().cellsToPicture(spaces);
}

Vector pixelsToSpaces(Vector pixels) {
  return firstSizeFit().pictureToCells(pixels);
}

} // namespace qm
