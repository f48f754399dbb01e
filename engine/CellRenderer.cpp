#include "CellRenderer.h"

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
// black, so all the backgrounds did was hide the parts of earlier glyphs that
// they covered. So no background is drawn: each glyph's quad is cut on the
// CPU where a later cell's background covers it, and the rest of every glyph
// goes out in one draw. Edges are added up in the order in which the shapes'
// transforms added them, so that the cuts fall on the pixels that the
// backgrounds covered.
void CellRenderer::layOut(const PictureFit &fit) {
  const sf::Vector2f cell_size = fit.getCellSize();
  const unsigned int char_size = fit.getCharSize();
  const Edges background{0, 0, cell_size.x, cell_size.y};
  std::vector<sf::Vector2f> text_positions;
  std::vector<Edges> backgrounds;
  text_positions.reserve(m_shown_cells.size());
  backgrounds.reserve(m_shown_cells.size());
  for (const ScreenCell &cell : m_shown_cells) {
    text_positions.push_back(fit.textPosition(cell.view_pos));
    backgrounds.push_back(moved(background, fit.backgroundPosition(text_positions.back())));
  }
  const sf::Vector2u grid = fit.getGridSize();
  const BackgroundBuckets buckets(backgrounds, cell_size.x, cell_size.y,
                                  static_cast<int>(grid.x) + 2 * BUCKET_MARGIN,
                                  static_cast<int>(grid.y) + 2 * BUCKET_MARGIN);

  m_quads.clear();
  std::vector<Edges> pieces;
  for (std::size_t i = 0; i < m_shown_cells.size(); i++) {
    const CellGlyph &cell_glyph = cellGlyph(m_shown_cells[i].ch, char_size);
    if (!cell_glyph.drawn) {
      continue;
    }
    // A text pads each glyph's quad by a pixel, for smooth edges, and puts
    // the baseline one character size below its position.
    const auto size = static_cast<float>(char_size);
    const sf::FloatRect &bounds = cell_glyph.glyph.bounds;
    const sf::IntRect &texture_rect = cell_glyph.glyph.textureRect;
    const Edges glyph =
        moved(Edges{0 + (bounds.left - 1), size + (bounds.top - 1),
                    0 + (bounds.left + bounds.width + 1), size + (bounds.top + bounds.height + 1)},
              text_positions[i]);
    const Edges glyph_texture{static_cast<float>(texture_rect.left) - 1,
                              static_cast<float>(texture_rect.top) - 1,
                              static_cast<float>(texture_rect.left + texture_rect.width) + 1,
                              static_cast<float>(texture_rect.top + texture_rect.height) + 1};
    const sf::Color color = screenColor(m_shown_cells[i].color);
    pieces.assign(1, glyph);
    buckets.cutAwayLater(&pieces, i, glyph);
    for (const Edges &piece : pieces) {
      m_quads.push_back(GlyphQuad{piece, textureEdges(piece, glyph, glyph_texture), color});
    }
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
