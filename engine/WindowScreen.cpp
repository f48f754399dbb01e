#include "WindowScreen.h"

#include "DisplayManager.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace qm {

namespace {

// Style 7: title bar, resize and close button.
constexpr sf::Uint32 WINDOW_STYLE_CREATED = sf::Style::Default;

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

} // namespace

WindowScreen::WindowScreen(sf::Vector2u picture_size, sf::Vector2u grid_size,
                           const sf::Font *p_font)
    : m_picture_size(picture_size), m_grid_size(grid_size),
      m_fit(picture_size, picture_size, grid_size), m_renderer(p_font) {}

WindowScreen::~WindowScreen() {
  m_window.close();
}

// SFML aborts the whole program when it cannot reach the X server, so the
// server is asked first whether it answers at all, and whether it can show
// OpenGL. That connection stays open until SFML holds its own: an X server
// left without clients resets itself, and a window asked for during the
// reset would find no server.
std::unique_ptr<WindowScreen> WindowScreen::open(sf::Vector2u picture_size, sf::Vector2u grid_size,
                                                 const sf::Font *p_font) {
  ::Display *p_probe = XOpenDisplay(nullptr);
  if (p_probe == nullptr) {
    return nullptr;
  }
  if (!offersGlVisual(p_probe)) {
    XCloseDisplay(p_probe);
    return nullptr;
  }
  std::unique_ptr<WindowScreen> p_screen(new WindowScreen(picture_size, grid_size, p_font));
  p_screen->m_window.create(sf::VideoMode(picture_size.x, picture_size.y, 32), WINDOW_TITLE_DEFAULT,
                            WINDOW_STYLE_CREATED);
  XCloseDisplay(p_probe);
  if (!p_screen->m_window.isOpen()) {
    return nullptr;
  }
  p_screen->setUpWindow();
  return p_screen;
}

// What every new window needs: the cursor hidden over it, frames paced by
// the screen's refresh where the driver can, and the picture fitted to it.
void WindowScreen::setUpWindow() {
  m_window.setMouseCursorVisible(false);
  m_window.setVerticalSyncEnabled(true);
  m_fit = PictureFit(m_window.getSize(), m_picture_size, m_grid_size);
  m_window.setView(m_fit.getView());
  m_renderer.forgetShown();
}

int WindowScreen::present(std::vector<ScreenCell> *p_cells) {
  if (m_renderer.draw(m_window, p_cells, m_fit)) {
    m_window.display();
    m_window.clear(WINDOW_BACKGROUND_COLOR_DEFAULT);
  }
  return 0;
}

bool WindowScreen::pollEvent(sf::Event *p_event) {
  return m_window.pollEvent(*p_event);
}

Vector WindowScreen::pointerCells(int x, int y) const {
  return m_fit.windowToCells(Vector(static_cast<float>(x), static_cast<float>(y)));
}

bool WindowScreen::closeRequested() {
  sf::Event window_event;
  while (!m_close_requested && m_window.pollEvent(window_event)) {
    m_close_requested = window_event.type == sf::Event::Closed;
  }
  return m_close_requested;
}

void WindowScreen::fontChanged() {
  m_renderer.forgetGlyphs();
}

sf::RenderWindow *WindowScreen::getWindow() {
  return &m_window;
}

} // namespace qm
