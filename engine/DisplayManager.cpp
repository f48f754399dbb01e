#include "DisplayManager.h"

#include "LogManager.h"
#include "utility.h"

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

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

// Repeated frames in a row that are not shown again, about a second's worth.
constexpr int REPEATS_UNSHOWN_MAX = 30;

// A quad's edges on screen or in the texture.
struct Edges {
  float left, top, right, bottom;
};

// Two triangles, corners in the order in which a text lays out its glyphs.
void appendQuad(sf::VertexArray &vertices, const Edges &where, sf::Color color,
                const Edges &texture_where) {
  const sf::Vertex top_left(sf::Vector2f(where.left, where.top), color,
                            sf::Vector2f(texture_where.left, texture_where.top));
  const sf::Vertex top_right(sf::Vector2f(where.right, where.top), color,
                             sf::Vector2f(texture_where.right, texture_where.top));
  const sf::Vertex bottom_left(sf::Vector2f(where.left, where.bottom), color,
                               sf::Vector2f(texture_where.left, texture_where.bottom));
  const sf::Vertex bottom_right(sf::Vector2f(where.right, where.bottom), color,
                                sf::Vector2f(texture_where.right, texture_where.bottom));
  vertices.append(top_left);
  vertices.append(top_right);
  vertices.append(bottom_left);
  vertices.append(bottom_left);
  vertices.append(top_right);
  vertices.append(bottom_right);
}

// Edges placed at pos, added up as a transform would add them.
Edges moved(const Edges &edges, sf::Vector2f pos) {
  return Edges{edges.left + pos.x, edges.top + pos.y, edges.right + pos.x, edges.bottom + pos.y};
}

// Backgrounds are found by the cell-sized bucket that holds their top left
// corner, counted from BUCKET_MARGIN cells left of and above the grid.
// Far-off and undefined positions fall outside all buckets: the overlap test
// alone decides for them.
constexpr int BUCKET_MARGIN = 4;
constexpr float BUCKET_LIMIT = 1 << 20;

int bucketIndex(float cells) {
  const float index = std::floor(cells);
  if (!(index > -BUCKET_LIMIT)) {
    return static_cast<int>(-BUCKET_LIMIT);
  }
  return static_cast<int>(std::min(index, BUCKET_LIMIT));
}

// Replaces the pieces with what of them the cover leaves: up to four
// rectangles of each piece it meets, above, below, left and right of it.
void cutAway(std::vector<Edges> *p_pieces, const Edges &cover) {
  std::vector<Edges> &pieces = *p_pieces;
  const std::size_t count = pieces.size();
  for (std::size_t i = 0; i < count; i++) {
    const Edges piece = pieces[i];
    if (!(cover.left < piece.right && cover.right > piece.left && cover.top < piece.bottom &&
          cover.bottom > piece.top)) {
      pieces.push_back(piece);
      continue;
    }
    const float middle_top = std::max(piece.top, cover.top);
    const float middle_bottom = std::min(piece.bottom, cover.bottom);
    if (cover.top > piece.top) {
      pieces.push_back(Edges{piece.left, piece.top, piece.right, cover.top});
    }
    if (cover.bottom < piece.bottom) {
      pieces.push_back(Edges{piece.left, cover.bottom, piece.right, piece.bottom});
    }
    if (cover.left > piece.left) {
      pieces.push_back(Edges{piece.left, middle_top, cover.left, middle_bottom});
    }
    if (cover.right < piece.right) {
      pieces.push_back(Edges{cover.right, middle_top, piece.right, middle_bottom});
    }
  }
  pieces.erase(pieces.begin(), pieces.begin() + static_cast<std::ptrdiff_t>(count));
}

// The texture edges of a piece of a quad, by linear interpolation; the quad's
// own edges map exactly.
Edges textureEdges(const Edges &piece, const Edges &quad, const Edges &texture) {
  const auto along = [](float at, float from, float to, float texture_from, float texture_to) {
    if (at == from) {
      return texture_from;
    }
    if (at == to) {
      return texture_to;
    }
    return texture_from + (at - from) * (texture_to - texture_from) / (to - from);
  };
  return Edges{along(piece.left, quad.left, quad.right, texture.left, texture.right),
               along(piece.top, quad.top, quad.bottom, texture.top, texture.bottom),
               along(piece.right, quad.left, quad.right, texture.left, texture.right),
               along(piece.bottom, quad.top, quad.bottom, texture.top, texture.bottom)};
}

// The backgrounds of a frame, in call order, found by the cell-sized bucket
// that holds their top left corner over the grid and a margin around it; the
// few farther off are tried against every glyph.
class BackgroundBuckets {
public:
  BackgroundBuckets(const std::vector<Edges> &backgrounds, float char_width, float char_height,
                    int grid_cols, int grid_rows)
      : m_backgrounds(backgrounds), m_char_width(char_width), m_char_height(char_height),
        m_grid_cols(grid_cols), m_grid_rows(grid_rows),
        m_bucket_start(static_cast<std::size_t>(grid_cols * grid_rows) + 1, 0) {
    std::vector<int> bucket_of(backgrounds.size(), -1);
    for (std::size_t i = 0; i < backgrounds.size(); i++) {
      const int col = bucketIndex(backgrounds[i].left / char_width) + BUCKET_MARGIN;
      const int row = bucketIndex(backgrounds[i].top / char_height) + BUCKET_MARGIN;
      if (col < 0 || col >= grid_cols || row < 0 || row >= grid_rows) {
        m_far_off.push_back(i);
        continue;
      }
      bucket_of[i] = row * grid_cols + col;
      m_bucket_start[static_cast<std::size_t>(bucket_of[i]) + 1]++;
    }
    for (std::size_t b = 1; b < m_bucket_start.size(); b++) {
      m_bucket_start[b] += m_bucket_start[b - 1];
    }
    m_bucket_cells.resize(m_bucket_start.back());
    std::vector<std::size_t> bucket_fill(m_bucket_start.begin(), m_bucket_start.end() - 1);
    for (std::size_t i = 0; i < backgrounds.size(); i++) {
      if (bucket_of[i] >= 0) {
        m_bucket_cells[bucket_fill[static_cast<std::size_t>(bucket_of[i])]++] = i;
      }
    }
  }

  // Cuts from the pieces of cell i's glyph whatever the backgrounds of later
  // cells cover.
  void cutAwayLater(std::vector<Edges> *p_pieces, std::size_t i, const Edges &glyph) const {
    // A background that meets the glyph starts less than a cell before it;
    // one bucket more on each side absorbs the rounding of the division.
    const int first_col = std::max(0, bucketIndex(glyph.left / m_char_width) - 2 + BUCKET_MARGIN);
    const int last_col =
        std::min(m_grid_cols - 1, bucketIndex(glyph.right / m_char_width) + 1 + BUCKET_MARGIN);
    const int first_row = std::max(0, bucketIndex(glyph.top / m_char_height) - 2 + BUCKET_MARGIN);
    const int last_row =
        std::min(m_grid_rows - 1, bucketIndex(glyph.bottom / m_char_height) + 1 + BUCKET_MARGIN);
    for (int row = first_row; row <= last_row; row++) {
      for (int col = first_col; col <= last_col; col++) {
        const auto bucket = static_cast<std::size_t>(row * m_grid_cols + col);
        for (std::size_t k = m_bucket_start[bucket]; k < m_bucket_start[bucket + 1]; k++) {
          if (m_bucket_cells[k] > i) {
            cutAway(p_pieces, m_backgrounds[m_bucket_cells[k]]);
          }
        }
      }
    }
    for (const std::size_t j : m_far_off) {
      if (j > i) {
        cutAway(p_pieces, m_backgrounds[j]);
      }
    }
  }

private:
  const std::vector<Edges> &m_backgrounds;
  float m_char_width;
  float m_char_height;
  int m_grid_cols;
  int m_grid_rows;
  // Bucket b's cells are m_bucket_cells[m_bucket_start[b]] up to the next
  // bucket's start.
  std::vector<std::size_t> m_bucket_start;
  std::vector<std::size_t> m_bucket_cells;
  std::vector<std::size_t> m_far_off;
};

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
  auto p_window = std::make_unique<sf::RenderWindow>(
      sf::VideoMode(static_cast<unsigned int>(horizontal_pixels),
                    static_cast<unsigned int>(vertical_pixels), 32),
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
  // The window goes first; the font, which every frame's vertices use, is
  // destroyed last, as a plain member.
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
  forgetFrames();
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
  m_frame_cells.push_back(
      Cell{sf::Vector2f(pixel_pos.getX(), pixel_pos.getY()), ch, screenColor(color)});
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
  if (!m_p_window) {
    LogManager::getInstance().writeLog("Error: No window to display to.\n");
    return -1;
  }
  // The window still shows the picture of a repeated frame, and the back
  // buffer is still clear: nothing needs drawing or showing. Every so often
  // the picture is shown afresh from the kept vertices all the same, to
  // mend a window whose contents the window system lost meanwhile.
  if (isRepeat()) {
    m_frame_cells.clear();
    if (++m_repeats_unshown < REPEATS_UNSHOWN_MAX) {
      return 0;
    }
  } else {
    m_shown_cells.swap(m_frame_cells);
    m_drawn_window_size = m_p_window->getSize();
    m_drawn_view = m_p_window->getView();
    buildFrame();
  }
  m_repeats_unshown = 0;
  m_p_window->draw(m_frame_vertices, sf::RenderStates(&m_font.getTexture(cellCharSize())));
  m_frame_cells.clear();
  m_p_window->display();
  m_p_window->clear(WINDOW_BACKGROUND_COLOR_DEFAULT);
  return 0;
}

bool DisplayManager::Cell::operator==(const Cell &other) const {
  return pixel_pos == other.pixel_pos && ch == other.ch && color == other.color;
}

const DisplayManager::CellGlyph &DisplayManager::cellGlyph(char ch) {
  CellGlyph &cell_glyph = m_cell_glyphs[static_cast<unsigned char>(ch)];
  if (!cell_glyph.looked_up) {
    // The one-character string that a text would show, converted with the
    // default locale; a text draws nothing for blanks.
    const sf::Uint32 code = sf::String(std::string(1, ch))[0];
    cell_glyph.looked_up = true;
    cell_glyph.drawn = code != ' ' && code != '\t' && code != '\n' && code != '\r';
    if (cell_glyph.drawn) {
      cell_glyph.glyph = m_font.getGlyph(code, cellCharSize(), true);
    }
  }
  return cell_glyph;
}

// The picture that the per-cell shapes painted: each cell's black background
// over what was there, then its glyph. The window is cleared to that same
// black, so all the backgrounds did was hide the parts of earlier glyphs that
// they covered. So no background is drawn: each glyph's quad is cut on the
// CPU where a later cell's background covers it, and the rest of every glyph
// goes out in one draw. Edges are added up in the order in which the shapes'
// transforms added them, so that the cuts fall on the pixels that the
// backgrounds covered.
void DisplayManager::buildFrame() {
  const float char_width = charWidth();
  const float char_height = charHeight();
  const float char_size = static_cast<float>(cellCharSize());
  const Edges background{0, 0, char_width, char_height};
  std::vector<Edges> backgrounds;
  backgrounds.reserve(m_shown_cells.size());
  for (const Cell &cell : m_shown_cells) {
    backgrounds.push_back(moved(background, sf::Vector2f(cell.pixel_pos.x - char_width / 10,
                                                         cell.pixel_pos.y + char_height / 5)));
  }
  const BackgroundBuckets buckets(backgrounds, char_width, char_height,
                                  m_window_horizontal_chars + 2 * BUCKET_MARGIN,
                                  m_window_vertical_chars + 2 * BUCKET_MARGIN);

  m_frame_vertices.setPrimitiveType(sf::Triangles);
  m_frame_vertices.clear();
  std::vector<Edges> pieces;
  for (std::size_t i = 0; i < m_shown_cells.size(); i++) {
    const Cell &cell = m_shown_cells[i];
    const CellGlyph &cell_glyph = cellGlyph(cell.ch);
    if (!cell_glyph.drawn) {
      continue;
    }
    // A text pads each glyph's quad by a pixel, for smooth edges, and puts
    // the baseline one character size below its position.
    const sf::FloatRect &bounds = cell_glyph.glyph.bounds;
    const sf::IntRect &texture_rect = cell_glyph.glyph.textureRect;
    const Edges glyph = moved(Edges{0 + (bounds.left - 1), char_size + (bounds.top - 1),
                                    0 + (bounds.left + bounds.width + 1),
                                    char_size + (bounds.top + bounds.height + 1)},
                              cell.pixel_pos);
    const Edges glyph_texture{static_cast<float>(texture_rect.left) - 1,
                              static_cast<float>(texture_rect.top) - 1,
                              static_cast<float>(texture_rect.left + texture_rect.width) + 1,
                              static_cast<float>(texture_rect.top + texture_rect.height) + 1};
    pieces.assign(1, glyph);
    buckets.cutAwayLater(&pieces, i, glyph);
    for (const Edges &piece : pieces) {
      appendQuad(m_frame_vertices, piece, cell.color, textureEdges(piece, glyph, glyph_texture));
    }
  }
}

bool DisplayManager::isRepeat() const {
  const sf::View &view = m_p_window->getView();
  return !m_frame_cells.empty() && m_frame_cells == m_shown_cells &&
         m_p_window->getSize() == m_drawn_window_size &&
         view.getCenter() == m_drawn_view.getCenter() && view.getSize() == m_drawn_view.getSize() &&
         view.getRotation() == m_drawn_view.getRotation() &&
         view.getViewport() == m_drawn_view.getViewport();
}

// The font's glyphs and page are gone once it is loaded again.
void DisplayManager::forgetFrames() {
  m_shown_cells.clear();
  m_frame_vertices.clear();
  m_cell_glyphs.fill(CellGlyph());
}

unsigned int DisplayManager::cellCharSize() const {
  const float char_width = charWidth();
  const float char_height = charHeight();
  return static_cast<unsigned int>(char_height > char_width ? 2 * char_width : 2 * char_height);
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
