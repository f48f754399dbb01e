#include "WindowScreen.h"

#include "DisplayManager.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdint>

namespace qm {

namespace {

// Style 7: title bar, resize and close button.
constexpr sf::Uint32 WINDOW_STYLE_CREATED = sf::Style::Default;

// The window's icon, for a task bar: the ball as the game draws it, a yellow
// bold O on black, as big as the icon holds.
constexpr unsigned int ICON_SIZE = 48;
constexpr unsigned int ICON_CHAR_SIZE = 60;
constexpr char ICON_CHARACTER = 'O';
constexpr Color ICON_COLOR = YELLOW;

// Empty when the font has no such glyph (it did not load).
sf::Image makeIcon(const sf::Font &font) {
  sf::Image icon;
  const sf::IntRect glyph = font.getGlyph(ICON_CHARACTER, ICON_CHAR_SIZE, true).textureRect;
  if (glyph.width <= 0 || glyph.height <= 0) {
    return icon;
  }
  const sf::Image page = font.getTexture(ICON_CHAR_SIZE).copyToImage();
  const sf::Color ink = screenColor(ICON_COLOR);
  const auto shade = [](sf::Uint8 channel, sf::Uint8 alpha) {
    return static_cast<sf::Uint8>(channel * alpha / 255);
  };
  icon.create(ICON_SIZE, ICON_SIZE, sf::Color::Black);
  const int left = (static_cast<int>(ICON_SIZE) - glyph.width) / 2;
  const int top = (static_cast<int>(ICON_SIZE) - glyph.height) / 2;
  for (int y = std::max(0, -top); y < glyph.height && top + y < static_cast<int>(ICON_SIZE); y++) {
    for (int x = std::max(0, -left); x < glyph.width && left + x < static_cast<int>(ICON_SIZE);
         x++) {
      const sf::Uint8 alpha = page.getPixel(static_cast<unsigned int>(glyph.left + x),
                                            static_cast<unsigned int>(glyph.top + y))
                                  .a;
      icon.setPixel(static_cast<unsigned int>(left + x), static_cast<unsigned int>(top + y),
                    sf::Color(shade(ink.r, alpha), shade(ink.g, alpha), shade(ink.b, alpha)));
    }
  }
  return icon;
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

} // namespace

WindowScreen::WindowScreen(sf::Vector2u picture_size, sf::Vector2u grid_size,
                           const sf::Font *p_font)
    : m_p_font(p_font), m_picture_size(picture_size), m_grid_size(grid_size),
      m_fit(picture_size, picture_size, grid_size), m_renderer(p_font) {}

WindowScreen::~WindowScreen() {
  m_compositor.detach();
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
  setIcon();
  fitTo(m_window.getSize());
}

// Drawn at the window's own resolution rather than stretched from the first
// size: crisp at any scale, and the picture keeps its shape.
void WindowScreen::fitTo(sf::Vector2u window_size) {
  m_fit = PictureFit(window_size, m_picture_size, m_grid_size);
  m_window.setView(m_fit.getView());
  // The driver sizes its back buffer to the window's when a frame is shown;
  // the compositor learns in it and never shows one.
  m_window.clear(WINDOW_BACKGROUND_COLOR_DEFAULT);
  m_window.display();
  m_window.clear(WINDOW_BACKGROUND_COLOR_DEFAULT);
  m_composing = m_compositor.attach(&m_window, m_fit, m_p_font, window_size == m_picture_size) == 0;
  m_show_whole = true;
  m_drawn_by_gl = false;
  m_renderer.forgetShown();
}

int WindowScreen::present(std::vector<ScreenCell> *p_cells) {
  if (m_composing && compose(p_cells)) {
    return 0;
  }
  if (m_renderer.draw(m_window, p_cells, m_fit)) {
    m_window.display();
    m_window.clear(WINDOW_BACKGROUND_COLOR_DEFAULT);
  }
  return 0;
}

// Composed frames go straight onto the window, the back buffer left unshown;
// one that repeats the last is not laid out again, and the compositor finds
// nothing to paint unless the window's view has moved. False when OpenGL
// must draw the frame: the compositor cannot compose for the window's view
// (from then on), or would learn too much for this one.
bool WindowScreen::compose(std::vector<ScreenCell> *p_cells) {
  m_renderer.layOutComposite(*p_cells, m_fit, &m_composite);
  // OpenGL's batch gives the per-cell picture only scaled, where every glyph
  // stands on a whole pixel and is drawn whole; at the first size a frame
  // between pixels is composed however much it has to learn.
  const std::size_t learnt_max = m_fit.getScale() == 1 ? SIZE_MAX : LEARNT_PER_FRAME_MAX;
  const int composed = m_compositor.compose(m_composite, learnt_max);
  if (composed != 0) {
    // OpenGL draws this frame, or all from now on; the compositor's next
    // picture must cover all of it. Repeats of a frame that OpenGL drew
    // stay on the window while the compositor learns.
    m_composing = composed > 0;
    m_show_whole = true;
    if (!m_drawn_by_gl) {
      m_renderer.forgetShown();
      m_drawn_by_gl = true;
    }
    return false;
  }
  m_drawn_by_gl = false;
  p_cells->clear();
  m_compositor.show(m_show_whole);
  m_show_whole = false;
  return true;
}

// A new size applies from its event on: pointer positions queued before it
// were taken in the window as it was. F11 switches between the window and
// the full screen once it is let go, and only once every event waiting has
// been read: the key's press and release both reach the objects from the
// window they were typed in, and nothing is lost with the window left.
bool WindowScreen::pollEvent(sf::Event *p_event) {
  if (!m_window.pollEvent(*p_event)) {
    if (m_switch_pending) {
      switchMode();
    }
    return false;
  }
  switch (p_event->type) {
  case sf::Event::Resized:
    fitTo(sf::Vector2u(p_event->size.width, p_event->size.height));
    break;
  case sf::Event::Closed:
    m_close_requested = true;
    break;
  case sf::Event::KeyPressed:
    m_f11_down = m_f11_down || p_event->key.code == sf::Keyboard::F11;
    break;
  case sf::Event::KeyReleased:
    if (p_event->key.code == sf::Keyboard::F11 && m_f11_down) {
      m_f11_down = false;
      m_switch_pending = !m_switch_pending;
    }
    break;
  default:
    break;
  }
  return true;
}

// The window is made anew in the same object, at the desktop's mode or back
// at the size it had before.
void WindowScreen::switchMode() {
  m_switch_pending = false;
  m_f11_down = false;
  m_compositor.detach();
  if (!m_fullscreen) {
    m_windowed_size = m_window.getSize();
    m_window.create(sf::VideoMode::getDesktopMode(), WINDOW_TITLE_DEFAULT, sf::Style::Fullscreen);
    m_fullscreen = m_window.isOpen();
  } else {
    m_fullscreen = false;
  }
  if (!m_fullscreen) {
    m_window.create(sf::VideoMode(m_windowed_size.x, m_windowed_size.y, 32), WINDOW_TITLE_DEFAULT,
                    WINDOW_STYLE_CREATED);
  }
  setUpWindow();
  // Switches happen while the input reads events, and the input keeps key
  // repetition off.
  m_window.setKeyRepeatEnabled(false);
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
  fitTo(m_window.getSize());
  m_icon = makeIcon(*m_p_font);
  setIcon();
}

void WindowScreen::setIcon() {
  const sf::Vector2u size = m_icon.getSize();
  if (size.x > 0) {
    m_window.setIcon(size.x, size.y, m_icon.getPixelsPtr());
  }
}

sf::RenderWindow *WindowScreen::getWindow() {
  return &m_window;
}

} // namespace qm
