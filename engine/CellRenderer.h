// Turns a frame of cells into a picture: lays each cell's bold glyph out at
// the fit's scale, less what later cells' backgrounds hide, and draws them in
// one go; a repeated frame is not drawn again. Or lays the cells out for a
// frame compositor, which paints them itself. Owned by the window screen.
#pragma once

#include "CellScreen.h"
#include "CellStamps.h"
#include "Color.h"
#include "PictureFit.h"

#include <SFML/Graphics.hpp>

#include <array>
#include <cstddef>
#include <vector>

namespace qm {

class CellRenderer {
public:
  // A quad's edges on the target or in the font's texture.
  struct Edges {
    float left, top, right, bottom;
  };
  // One quad of the picture, a glyph or a cover of plain colour: where, from
  // where in the font's texture, in which colour.
  struct GlyphQuad {
    Edges where;
    Edges texture;
    sf::Color color;
  };

  // The font must outlive the renderer.
  explicit CellRenderer(const sf::Font *p_font);

  // Draws the frame onto the target, whose view must be the fit's, and takes
  // the cells, leaving the vector empty. False when there is nothing to draw:
  // the frame repeats the one before onto the same target with the same view,
  // so the target still shows it, and the back buffer is still clear. Every
  // so often a repeat is drawn all the same, to mend a window whose contents
  // the window system lost meanwhile.
  bool draw(sf::RenderTarget &target, std::vector<ScreenCell> *p_cells, const PictureFit &fit);
  // The frame laid out for a compositor instead, at the fit's scale, into
  // *p_composite, which is left as it is when the frame repeats the one laid
  // out last at the same fit.
  void layOutComposite(const std::vector<ScreenCell> &cells, const PictureFit &fit,
                       std::vector<CompositeCell> *p_composite);
  // The target's picture is gone (a new window): the next frame is drawn.
  void forgetShown();
  // The font was loaded again: its glyphs and pages are gone.
  void forgetGlyphs();

private:
  // The bold glyph that a text of one char value shows at the frame's
  // character size; not drawn for the blanks that a text skips.
  struct CellGlyph {
    bool looked_up = false;
    bool drawn = false;
    sf::Glyph glyph;
  };

  const CellGlyph &cellGlyph(char ch, unsigned int char_size);
  void layOut(const PictureFit &fit);
  void cutGlyphs(const PictureFit &fit);
  void coverGlyphs(const PictureFit &fit);
  void coverOverhang(const PictureFit &fit);
  void buildVertices();
  bool isRepeat(const sf::RenderTarget &target, const std::vector<ScreenCell> &cells,
                const PictureFit &fit) const;

  const sf::Font *m_p_font;
  // The frame last drawn, where and how it was laid out, and how many repeats
  // of it since it was last drawn.
  std::vector<ScreenCell> m_shown_cells;
  std::vector<GlyphQuad> m_quads;
  // Laying out: every cell's background, the glyphs of the cells that have
  // one and which cell each belongs to; kept to spare their allocations.
  std::vector<Edges> m_backgrounds;
  std::vector<GlyphQuad> m_glyphs;
  std::vector<std::size_t> m_glyph_cells;
  std::vector<Edges> m_glyph_edges;
  sf::VertexArray m_vertices;
  PictureFit m_drawn_fit;
  sf::Vector2u m_drawn_target_size;
  sf::View m_drawn_view;
  int m_repeats_unshown = 0;
  // The frame last laid out for a compositor, and at which fit.
  std::vector<ScreenCell> m_composed_cells;
  PictureFit m_composed_fit;
  // Valid for m_glyph_char_size until the font is loaded again.
  std::array<CellGlyph, 256> m_cell_glyphs;
  unsigned int m_glyph_char_size = 0;
};

// The screen colour of an engine colour, opaque; white for anything outside
// BLACK to WHITE.
sf::Color screenColor(Color color);

} // namespace qm
