#include "CellRenderer.h"

#include "DisplayManager.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

namespace qm {

namespace {

// Repeated frames in a row that are not shown again, about a second's worth.
constexpr int REPEATS_UNSHOWN_MAX = 30;

using Edges = CellRenderer::Edges;

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

// Glyphs are found by the cell-sized bucket that holds their top left
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

bool meet(const Edges &a, const Edges &b) {
  return a.left < b.right && a.right > b.left && a.top < b.bottom && a.bottom > b.top;
}

// The corner of the font's page that every page keeps white, for quads of
// plain colour drawn in the same batch as the glyphs.
constexpr Edges WHITE_TEXELS{1, 1, 1, 1};

// The glyphs laid out so far in a frame, found by the cell-sized bucket that
// holds their top left corner, over the grid and a margin around it; the few
// farther off share one more bucket, tried against every background. Each
// bucket is a list threaded through the glyphs, latest first.
class EarlierGlyphs {
public:
  EarlierGlyphs(sf::Vector2f cell_size, sf::Vector2u grid_size, std::size_t capacity)
      : m_cell_size(cell_size), m_cols(static_cast<int>(grid_size.x) + 2 * BUCKET_MARGIN),
        m_rows(static_cast<int>(grid_size.y) + 2 * BUCKET_MARGIN),
        m_latest(static_cast<std::size_t>(m_cols * m_rows) + 1, NONE) {
    m_glyphs.reserve(capacity);
    m_before.reserve(capacity);
  }

  void add(const Edges &glyph) {
    m_widest = std::max(m_widest, glyph.right - glyph.left);
    m_tallest = std::max(m_tallest, glyph.bottom - glyph.top);
    const int col = bucketIndex(glyph.left / m_cell_size.x) + BUCKET_MARGIN;
    const int row = bucketIndex(glyph.top / m_cell_size.y) + BUCKET_MARGIN;
    const std::size_t bucket = col < 0 || col >= m_cols || row < 0 || row >= m_rows
                                   ? farOff()
                                   : static_cast<std::size_t>(row * m_cols + col);
    m_glyphs.push_back(glyph);
    m_before.push_back(m_latest[bucket]);
    m_latest[bucket] = m_glyphs.size() - 1;
  }

  // A black quad over every part of an earlier glyph that the background
  // hides; elsewhere the picture under it is still clear.
  void coverUnder(const Edges &background, std::vector<CellRenderer::GlyphQuad> *p_quads) const {
    // A glyph that meets the background starts less than the widest glyph
    // before it; one bucket more on each side absorbs the rounding.
    const int first_col =
        std::max(0, bucketIndex((background.left - m_widest) / m_cell_size.x) - 1 + BUCKET_MARGIN);
    const int last_col =
        std::min(m_cols - 1, bucketIndex(background.right / m_cell_size.x) + 1 + BUCKET_MARGIN);
    const int first_row =
        std::max(0, bucketIndex((background.top - m_tallest) / m_cell_size.y) - 1 + BUCKET_MARGIN);
    const int last_row =
        std::min(m_rows - 1, bucketIndex(background.bottom / m_cell_size.y) + 1 + BUCKET_MARGIN);
    for (int row = first_row; row <= last_row; row++) {
      for (int col = first_col; col <= last_col; col++) {
        coverBucket(static_cast<std::size_t>(row * m_cols + col), background, p_quads);
      }
    }
    coverBucket(farOff(), background, p_quads);
  }

private:
  static constexpr std::size_t NONE = static_cast<std::size_t>(-1);

  std::size_t farOff() const { return m_latest.size() - 1; }

  void coverBucket(std::size_t bucket, const Edges &background,
                   std::vector<CellRenderer::GlyphQuad> *p_quads) const {
    for (std::size_t i = m_latest[bucket]; i != NONE; i = m_before[i]) {
      const Edges &glyph = m_glyphs[i];
      if (meet(background, glyph)) {
        p_quads->push_back(CellRenderer::GlyphQuad{Edges{std::max(background.left, glyph.left),
                                                         std::max(background.top, glyph.top),
                                                         std::min(background.right, glyph.right),
                                                         std::min(background.bottom, glyph.bottom)},
                                                   WHITE_TEXELS, WINDOW_BACKGROUND_COLOR_DEFAULT});
      }
    }
  }

  sf::Vector2f m_cell_size;
  int m_cols;
  int m_rows;
  std::vector<std::size_t> m_latest;
  std::vector<std::size_t> m_before;
  std::vector<Edges> m_glyphs;
  float m_widest = 0;
  float m_tallest = 0;
};

} // namespace

CellRenderer::CellRenderer(const sf::Font *p_font)
    : m_p_font(p_font), m_drawn_fit(sf::Vector2u(1, 1), sf::Vector2u(1, 1), sf::Vector2u(1, 1)) {
  m_vertices.setPrimitiveType(sf::Triangles);
}

bool CellRenderer::draw(sf::RenderTarget &target, std::vector<ScreenCell> *p_cells,
                        const PictureFit &fit) {
  if (isRepeat(target, *p_cells, fit)) {
    p_cells->clear();
    if (++m_repeats_unshown < REPEATS_UNSHOWN_MAX) {
      return false;
    }
  } else {
    m_shown_cells.swap(*p_cells);
    p_cells->clear();
    m_drawn_fit = fit;
    m_drawn_target_size = target.getSize();
    m_drawn_view = target.getView();
    layOut(fit);
    buildVertices();
  }
  m_repeats_unshown = 0;
  target.draw(m_vertices, sf::RenderStates(&m_p_font->getTexture(fit.getCharSize())));
  return true;
}

void CellRenderer::forgetShown() {
  m_shown_cells.clear();
}

void CellRenderer::forgetGlyphs() {
  forgetShown();
  m_quads.clear();
  m_vertices.clear();
  m_cell_glyphs.fill(CellGlyph());
}

const CellRenderer::CellGlyph &CellRenderer::cellGlyph(char ch, unsigned int char_size) {
  if (char_size != m_glyph_char_size) {
    m_cell_glyphs.fill(CellGlyph());
    m_glyph_char_size = char_size;
  }
  CellGlyph &cell_glyph = m_cell_glyphs[static_cast<unsigned char>(ch)];
  if (!cell_glyph.looked_up) {
    // The one-character string that a text would show, converted with the
    // default locale; a text draws nothing for blanks.
    const sf::Uint32 code = sf::String(std::string(1, ch))[0];
    cell_glyph.looked_up = true;
    cell_glyph.drawn = code != ' ' && code != '\t' && code != '\n' && code != '\r';
    if (cell_glyph.drawn) {
      cell_glyph.glyph = m_p_font->getGlyph(code, char_size, true);
    }
  }
  return cell_glyph;
}

// The picture that the per-cell shapes painted: each cell's black background
// over what was there, then its glyph. The target is cleared to that same
// black, so all a background does is hide what earlier glyphs drew under it:
// only those parts are painted black, right before the cell's glyph, and
// everything goes out in one draw. Each glyph is drawn whole, as its text
// drew it, so that its pixels are sampled from the font's page exactly as
// they were; edges are added up in the order in which the shapes'
// transforms added them, so that the covers fall on the pixels that the
// backgrounds covered.
void CellRenderer::layOut(const PictureFit &fit) {
  const unsigned int char_size = fit.getCharSize();
  const auto size = static_cast<float>(char_size);
  EarlierGlyphs earlier(fit.getCellSize(), fit.getGridSize(), m_shown_cells.size());
  m_quads.clear();
  for (const ScreenCell &cell : m_shown_cells) {
    const sf::Vector2f text_position = fit.textPosition(cell.view_pos);
    const sf::FloatRect rect = fit.backgroundRect(text_position);
    earlier.coverUnder(Edges{rect.left, rect.top, rect.width + rect.left, rect.height + rect.top},
                       &m_quads);
    const CellGlyph &cell_glyph = cellGlyph(cell.ch, char_size);
    if (!cell_glyph.drawn) {
      continue;
    }
    // A text pads each glyph's quad by a pixel, for smooth edges, and puts
    // the baseline one character size below its position.
    const sf::FloatRect &bounds = cell_glyph.glyph.bounds;
    const sf::IntRect &texture_rect = cell_glyph.glyph.textureRect;
    const Edges glyph =
        moved(Edges{0 + (bounds.left - 1), size + (bounds.top - 1),
                    0 + (bounds.left + bounds.width + 1), size + (bounds.top + bounds.height + 1)},
              text_position);
    const Edges glyph_texture{static_cast<float>(texture_rect.left) - 1,
                              static_cast<float>(texture_rect.top) - 1,
                              static_cast<float>(texture_rect.left + texture_rect.width) + 1,
                              static_cast<float>(texture_rect.top + texture_rect.height) + 1};
    m_quads.push_back(GlyphQuad{glyph, glyph_texture, screenColor(cell.color)});
    earlier.add(glyph);
  }
  coverOverhang(fit);
}

// A scaled view reaches past the picture into the bars right of and below
// it; whatever was drawn there is painted over, as the window's edge would
// cut it off at the first size.
void CellRenderer::coverOverhang(const PictureFit &fit) {
  const sf::Vector2f view = fit.getView().getSize();
  const auto width = static_cast<float>(fit.getPictureRect().width);
  const auto height = static_cast<float>(fit.getPictureRect().height);
  if (view.x > width) {
    m_quads.push_back(
        GlyphQuad{Edges{width, 0, view.x, view.y}, WHITE_TEXELS, WINDOW_BACKGROUND_COLOR_DEFAULT});
  }
  if (view.y > height) {
    m_quads.push_back(
        GlyphQuad{Edges{0, height, width, view.y}, WHITE_TEXELS, WINDOW_BACKGROUND_COLOR_DEFAULT});
  }
}

void CellRenderer::buildVertices() {
  m_vertices.clear();
  for (const GlyphQuad &quad : m_quads) {
    appendQuad(m_vertices, quad.where, quad.color, quad.texture);
  }
}

bool CellRenderer::isRepeat(const sf::RenderTarget &target, const std::vector<ScreenCell> &cells,
                            const PictureFit &fit) const {
  const sf::View &view = target.getView();
  return !cells.empty() && cells == m_shown_cells && fit == m_drawn_fit &&
         target.getSize() == m_drawn_target_size && view.getCenter() == m_drawn_view.getCenter() &&
         view.getSize() == m_drawn_view.getSize() &&
         view.getRotation() == m_drawn_view.getRotation() &&
         view.getViewport() == m_drawn_view.getViewport();
}

sf::Color screenColor(Color color) {
  static const sf::Color SCREEN_COLORS[] = {sf::Color::Black,  sf::Color::Red,  sf::Color::Green,
                                            sf::Color::Yellow, sf::Color::Blue, sf::Color::Magenta,
                                            sf::Color::Cyan,   sf::Color::White};
  if (color < BLACK || color > WHITE) {
    return sf::Color::White;
  }
  return SCREEN_COLORS[color];
}

} // namespace qm
