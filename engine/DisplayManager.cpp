#include "DisplayManager.h"

#include "LogManager.h"
#include "utility.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace qm {

namespace {

// Style 7: title bar, resize and close button.
constexpr sf::Uint32 WINDOW_STYLE_CREATED = sf::Style::Default;

sf::Color screenColor(Color color) {
  switch (color) {
  case BLACK:
    return sf::Color::Black;
  case RED:
    return sf::Color::Red;
  case GREEN:
    return sf::Color::Green;
  case YELLOW:
    return sf::Color::Yellow;
  case BLUE:
    return sf::Color::Blue;
  case MAGENTA:
    return sf::Color::Magenta;
  case CYAN:
    return sf::Color::Cyan;
  case WHITE:
    return sf::Color::White;
  default:
    LogManager::getInstance().writeLog("Warning: Drawing with undefined color.\n");
    return sf::Color::White;
  }
}

// Whether the server offers OpenGL on a visual of the screen's own depth, and
// that depth is 24 bits or more. SFML takes it for granted: without GLX
// (remote X, some VNC servers) or at 8 bits it crashes, and at 16 bits its
// window request is refused with an X error that ends the program.
bool offersGlVisual(::Display *p_display) {
  int error_base = 0;
  int event_base = 0;
  if (!glXQueryExtension(p_display, &error_base, &event_base)) {
    return false;
  }
  XVisualInfo wanted = {};
  wanted.screen = DefaultScreen(p_display);
  wanted.depth = DefaultDepth(p_display, wanted.screen);
  if (wanted.depth < 24) {
    return false;
  }
  int visual_count = 0;
  XVisualInfo *p_visuals =
      XGetVisualInfo(p_display, VisualScreenMask | VisualDepthMask, &wanted, &visual_count);
  bool found = false;
  for (int i = 0; i < visual_count && !found; i++) {
    int uses_gl = 0;
    int rgba = 0;
    glXGetConfig(p_display, &p_visuals[i], GLX_USE_GL, &uses_gl);
    glXGetConfig(p_display, &p_visuals[i], GLX_RGBA, &rgba);
    found = uses_gl && rgba;
  }
  if (p_visuals != nullptr) {
    XFree(p_visuals);
  }
  return found;
}

// The window, or nullptr when there is none to be had. SFML aborts the whole
// program when it cannot reach the X server, so the server is asked first
// whether it answers at all, and whether it can show OpenGL. That connection
// stays open until SFML holds its own: an X server left without clients
// resets itself, and a window asked for during the reset would find no
// server.
std::unique_ptr<sf::RenderWindow> openWindow(int horizontal_pixels, int vertical_pixels) {
  ::Display *p_probe = XOpenDisplay(nullptr);
  if (p_probe == nullptr) {
    return nullptr;
  }
  if (!offersGlVisual(p_probe)) {
    XCloseDisplay(p_probe);
    return nullptr;
  }
  auto p_window =
      std::make_unique<sf::RenderWindow>(sf::VideoMode(horizontal_pixels, vertical_pixels, 32),
                                         WINDOW_TITLE_DEFAULT, WINDOW_STYLE_CREATED);
  XCloseDisplay(p_probe);
  if (!p_window->isOpen()) {
    return nullptr;
  }
  return p_window;
}

} // namespace

DisplayManager::DisplayManager()
    : m_window_horizontal_pixels(WINDOW_HORIZONTAL_PIXELS_DEFAULT),
      m_window_vertical_pixels(WINDOW_VERTICAL_PIXELS_DEFAULT),
      m_window_horizontal_chars(WINDOW_HORIZONTAL_CHARS_DEFAULT),
      m_window_vertical_chars(WINDOW_VERTICAL_CHARS_DEFAULT) {
  setType("DisplayManager");
}

DisplayManager::~DisplayManager() {
  // The shared text points at m_font and every drawable needs the GL context
  // that the window keeps alive, so they go first, then the window; the font
  // is destroyed last, as a plain member.
  m_p_text.reset();
  m_p_background.reset();
  if (m_p_window) {
    m_p_window->close();
    m_p_window.reset();
  }
}

DisplayManager &DisplayManager::getInstance() {
  static DisplayManager display_manager;
  return display_manager;
}

int DisplayManager::startUp() {
  // Starting a running display is no error: the window and font stay as
  // they are and the caller goes on as after a first start.
  if (m_p_window && isStarted()) {
    return 0;
  }
  // A window kept from a failed font load or from a shut-down without a
  // close request is reused rather than opened a second time.
  if (!m_p_window) {
    m_p_window = openWindow(m_window_horizontal_pixels, m_window_vertical_pixels);
  }
  if (m_p_window) {
    m_p_window->setMouseCursorVisible(false);
    m_p_window->setVerticalSyncEnabled(true);
  }
  const bool font_loaded = m_font.loadFromFile(FONT_FILE_DEFAULT);
  if (!m_p_window) {
    LogManager::getInstance().writeLog("Error! Unable to generate display window.\n");
    return -1;
  }
  if (!font_loaded) {
    LogManager::getInstance().writeLog("Error! Unable to load font.\n");
    return -1;
  }
  return Manager::startUp();
}

void DisplayManager::shutDown() {
  if (m_p_window) {
    sf::Event window_event;
    while (m_p_window->pollEvent(window_event)) {
      if (window_event.type == sf::Event::Closed) {
        m_p_window->close();
        m_p_window.reset();
        break;
      }
    }
  }
  Manager::shutDown();
}

int DisplayManager::drawCh(Vector world_pos, char ch, Color color) const {
  if (!m_p_window) {
    LogManager::getInstance().writeLog("Error! No window to draw to.\n");
    return -1;
  }
  const Vector pixel_pos = spacesToPixels(worldToView(world_pos));
  const float char_width = charWidth();
  const float char_height = charHeight();

  if (!m_p_background) {
    m_p_background = std::make_unique<sf::RectangleShape>(sf::Vector2f(0, 0));
  }
  // Each character blanks its own cell first. The text's position is the top
  // of its line, and glyphs start some pixels lower, hence the offsets.
  m_p_background->setSize(sf::Vector2f(char_width, char_height));
  m_p_background->setFillColor(WINDOW_BACKGROUND_COLOR_DEFAULT);
  m_p_background->setPosition(pixel_pos.getX() - char_width / 10,
                              pixel_pos.getY() + char_height / 5);
  m_p_window->draw(*m_p_background);

  if (!m_p_text) {
    m_p_text = std::make_unique<sf::Text>("", m_font, 30);
  }
  m_p_text->setString(std::string(1, ch));
  m_p_text->setStyle(sf::Text::Bold);
  const float char_size = char_height > char_width ? 2 * char_width : 2 * char_height;
  m_p_text->setCharacterSize(static_cast<unsigned int>(char_size));
  m_p_text->setFillColor(screenColor(color));
  m_p_text->setPosition(pixel_pos.getX(), pixel_pos.getY());
  m_p_window->draw(*m_p_text);
  return 0;
}

int DisplayManager::drawString(Vector pos, std::string str, Justification just, Color color) const {
  const int length = static_cast<int>(str.size());
  Vector starting_pos = pos;
  switch (just) {
  case CENTER_JUSTIFIED:
    starting_pos.setX(pos.getX() - length / 2);
    break;
  case RIGHT_JUSTIFIED:
    starting_pos.setX(pos.getX() - length);
    break;
  default:
    break;
  }
  for (int i = 0; i < length; i++) {
    drawCh(Vector(starting_pos.getX() + i, starting_pos.getY()), str[i], color);
  }
  return 0;
}

int DisplayManager::swapBuffers() {
  if (!m_p_window) {
    LogManager::getInstance().writeLog("Error: No window to display to.\n");
    return -1;
  }
  m_p_window->display();
  m_p_window->clear(sf::Color(0, 0, 0, 255));
  return 0;
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
  return m_p_window.get();
}

float charHeight() {
  const DisplayManager &display_manager = DisplayManager::getInstance();
  return static_cast<float>(display_manager.getVerticalPixels() / display_manager.getVertical());
}

float charWidth() {
  const DisplayManager &display_manager = DisplayManager::getInstance();
  return static_cast<float>(display_manager.getHorizontalPixels() /
                            display_manager.getHorizontal());
}

Vector spacesToPixels(Vector spaces) {
  return Vector(spaces.getX() * charWidth(), spaces.getY() * charHeight());
}

Vector pixelsToSpaces(Vector pixels) {
  return Vector(pixels.getX() / charWidth(), pixels.getY() / charHeight());
}

} // namespace qm
