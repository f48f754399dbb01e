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

// Replaces the pieces with what of them the cover leaves: up to four
// rectangles of each piece it meets, above, below, left and right of it.
void cutAway(std::vector<Edges> *p_pieces, const Edges &cover) {
  std::vector<Edges> &pieces = *p_pieces;
  const std::size_t count = pieces.size();
  for (std::size_t i = 0; i < count; i++) {
    const Edges piece = pieces[i];
    if (!meet(cover, piece)) {
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

// Rectangles of a frame, found by the cell-sized bucket that holds their top
// left corner, over the grid and a margin around it; the few farther off are
// tried against every query.
class RectBuckets {
public:
  RectBuckets(const std::vector<Edges> &rects, sf::Vector2f cell_size, sf::Vector2u grid_size)
      : m_rects(rects), m_cell_size(cell_size),
        m_cols(static_cast<int>(grid_size.x) + 2 * BUCKET_MARGIN),
        m_rows(static_cast<int>(grid_size.y) + 2 * BUCKET_MARGIN),
        m_bucket_start(static_cast<std::size_t>(m_cols * m_rows) + 1, 0) {
    std::vector<int> bucket_of(rects.size(), -1);
    for (std::size_t i = 0; i < rects.size(); i++) {
      m_widest = std::max(m_widest, rects[i].right - rects[i].left);
      m_tallest = std::max(m_tallest, rects[i].bottom - rects[i].top);
      const int col = bucketIndex(rects[i].left / cell_size.x) + BUCKET_MARGIN;
      const int row = bucketIndex(rects[i].top / cell_size.y) + BUCKET_MARGIN;
      if (col < 0 || col >= m_cols || row < 0 || row >= m_rows) {
        m_far_off.push_back(i);
        continue;
      }
      bucket_of[i] = row * m_cols + col;
      m_bucket_start[static_cast<std::size_t>(bucket_of[i]) + 1]++;
    }
    for (std::size_t b = 1; b < m_bucket_start.size(); b++) {
      m_bucket_start[b] += m_bucket_start[b - 1];
    }
    m_bucket_rects.resize(m_bucket_start.back());
    std::vector<std::size_t> bucket_fill(m_bucket_start.begin(), m_bucket_start.end() - 1);
    for (std::size_t i = 0; i < rects.size(); i++) {
      if (bucket_of[i] >= 0) {
        m_bucket_rects[bucket_fill[static_cast<std::size_t>(bucket_of[i])]++] = i;
      }
    }
  }

  // Calls meeting(i) for every rectangle i that meets the query.
  template <class Meeting> void forEachMeeting(const Edges &query, Meeting meeting) const {
    // A rectangle that meets the query starts less than the widest
    // rectangle before it; one bucket more on each side absorbs the rounding.
    const int first_col =
        std::max(0, bucketIndex((query.left - m_widest) / m_cell_size.x) - 1 + BUCKET_MARGIN);
    const int last_col =
        std::min(m_cols - 1, bucketIndex(query.right / m_cell_size.x) + 1 + BUCKET_MARGIN);
    const int first_row =
        std::max(0, bucketIndex((query.top - m_tallest) / m_cell_size.y) - 1 + BUCKET_MARGIN);
    const int last_row =
        std::min(m_rows - 1, bucketIndex(query.bottom / m_cell_size.y) + 1 + BUCKET_MARGIN);
    for (int row = first_row; row <= last_row; row++) {
      for (int col = first_col; col <= last_col; col++) {
        const auto bucket = static_cast<std::size_t>(row * m_cols + col);
        for (std::size_t k = m_bucket_start[bucket]; k < m_bucket_start[bucket + 1]; k++) {
          if (meet(query, m_rects[m_bucket_rects[k]])) {
            meeting(m_bucket_rects[k]);
          }
        }
      }
    }
    for (const std::size_t i : m_far_off) {
      if (meet(query, m_rects[i])) {
        meeting(i);
      }
    }
  }

private:
  const std::vector<Edges> &m_rects;
  sf::Vector2f m_cell_size;
  int m_cols;
  int m_rows;
  float m_widest = 0;
  float m_tallest = 0;
  // Bucket b's rectangles are m_bucket_rects[m_bucket_start[b]] up to the
  // next bucket's start.
  std::vector<std::size_t> m_bucket_start;
  std::vector<std::size_t> m_bucket_rects;
  std::vector<std::size_t> m_far_off;
};

} // namespace

CellRenderer::CellRenderer(const sf::Font *p_font)
    : m_p_font(p_font), m_drawn_fit(sf::Vector2u(1, 1), sf::Vector2u(1, 1), sf::Vector2u(1, 1)),
      m_composed_fit(m_drawn_fit) {
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

void CellRenderer::layOutComposite(const std::vector<ScreenCell> &cells, const PictureFit &fit,
                                   std::vector<CompositeCell> *p_composite) {
  if (!cells.empty() && cells == m_composed_cells && fit == m_composed_fit) {
    return;
  }
  m_composed_cells = cells;
  m_composed_fit = fit;
  p_composite->clear();
  for (const ScreenCell &cell : cells) {
    const CellGlyph &cell_glyph = cellGlyph(cell.ch, fit.getCharSize());
    p_composite->push_back(CompositeCell{fit.textPosition(cell.view_pos),
                                         cell_glyph.drawn ? &cell_glyph.glyph : nullptr,
                                         screenColor(cell.color)});
  }
}

void CellRenderer::forgetShown() {
  m_shown_cells.clear();
}

void CellRenderer::forgetGlyphs() {
  forgetShown();
  m_composed_cells.clear();
  m_quads.clear();
  m_vertices.clear();
  m_cell_glyphs.fill(CellGlyph());
}

const CellRenderer::CellGlyph &CellRenderer::cellGlyph(char ch, unsigned int char_size) {
  if (char_size != m_glyph_char_size) {
    m_cell_glyphs.fill(CellGlyph());
    m_glyph_char_size = char_size;
    // A text looks up an 'x' and a space before its first character. Where a
    // glyph lies on the font's page shifts its filtering by a shade, so the
    // glyphs are placed there as a text would place them.
    m_p_font->getGlyph('x', char_size, true);
    m_p_font->getGlyph(' ', char_size, true);
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
// black, so all a background does is hide what earlier glyphs drew under it,
// and no background is drawn as such: everything goes out in one draw. At
// scale 1 each glyph's quad is cut on the CPU where a later cell's background
// covers it, as the picture has always been drawn there. Scaled, cut pieces
// would be sampled from the font's page a shade off the whole glyph here and
// there, so each glyph is drawn whole and the parts of earlier glyphs under a
// background are painted black right before the cell's own glyph. Edges are
// added up in the order in which the shapes' transforms added them, so that
// the cuts and covers fall on the pixels that the backgrounds covered.
void CellRenderer::layOut(const PictureFit &fit) {
  const auto size = static_cast<float>(fit.getCharSize());
  m_backgrounds.clear();
  m_glyphs.clear();
  m_glyph_cells.clear();
  for (std::size_t i = 0; i < m_shown_cells.size(); i++) {
    const sf::Vector2f text_position = fit.textPosition(m_shown_cells[i].view_pos);
    const sf::FloatRect rect = fit.backgroundRect(text_position);
    m_backgrounds.push_back(
        Edges{rect.left, rect.top, rect.width + rect.left, rect.height + rect.top});
    const CellGlyph &cell_glyph = cellGlyph(m_shown_cells[i].ch, fit.getCharSize());
    if (!cell_glyph.drawn) {
      continue;
    }
    // A text pads each glyph's quad by a pixel, for smooth edges, and puts
    // the baseline one character size below its position.
    const sf::FloatRect &bounds = cell_glyph.glyph.bounds;
    const sf::IntRect &texture_rect = cell_glyph.glyph.textureRect;
    m_glyphs.push_back(GlyphQuad{
        moved(Edges{0 + (bounds.left - 1), size + (bounds.top - 1),
                    0 + (bounds.left + bounds.width + 1), size + (bounds.top + bounds.height + 1)},
              text_position),
        Edges{static_cast<float>(texture_rect.left) - 1, static_cast<float>(texture_rect.top) - 1,
              static_cast<float>(texture_rect.left + texture_rect.width) + 1,
              static_cast<float>(texture_rect.top + texture_rect.height) + 1},
        screenColor(m_shown_cells[i].color)});
    m_glyph_cells.push_back(i);
  }
  m_quads.clear();
  if (fit.getScale() == 1) {
    cutGlyphs(fit);
  } else {
    coverGlyphs(fit);
  }
  coverOverhang(fit);
}

void CellRenderer::cutGlyphs(const PictureFit &fit) {
  const RectBuckets backgrounds(m_backgrounds, fit.getCellSize(), fit.getGridSize());
  std::vector<Edges> pieces;
  for (std::size_t k = 0; k < m_glyphs.size(); k++) {
    const GlyphQuad &glyph = m_glyphs[k];
    pieces.assign(1, glyph.where);
    backgrounds.forEachMeeting(glyph.where, [&](std::size_t cell) {
      if (cell > m_glyph_cells[k]) {
        cutAway(&pieces, m_backgrounds[cell]);
      }
    });
    for (const Edges &piece : pieces) {
      m_quads.push_back(
          GlyphQuad{piece, textureEdges(piece, glyph.where, glyph.texture), glyph.color});
    }
  }
}

void CellRenderer::coverGlyphs(const PictureFit &fit) {
  m_glyph_edges.clear();
  for (const GlyphQuad &glyph : m_glyphs) {
    m_glyph_edges.push_back(glyph.where);
  }
  const RectBuckets glyphs(m_glyph_edges, fit.getCellSize(), fit.getGridSize());
  std::size_t next_glyph = 0;
  for (std::size_t cell = 0; cell < m_backgrounds.size(); cell++) {
    const Edges &background = m_backgrounds[cell];
    glyphs.forEachMeeting(background, [&](std::size_t k) {
      if (m_glyph_cells[k] < cell) {
        const Edges &glyph = m_glyph_edges[k];
        m_quads.push_back(GlyphQuad{Edges{std::max(background.left, glyph.left),
                                          std::max(background.top, glyph.top),
                                          std::min(background.right, glyph.right),
                                          std::min(background.bottom, glyph.bottom)},
                                    WHITE_TEXELS, WINDOW_BACKGROUND_COLOR_DEFAULT});
      }
    });
    if (next_glyph < m_glyphs.size() && m_glyph_cells[next_glyph] == cell) {
      m_quads.push_back(m_glyphs[next_glyph++]);
    }
  }
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
  return SCREEN_COLORS[drawnColor(color)];
}

} // namespace qm
