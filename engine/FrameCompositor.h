// Composes frames of character cells on the processor into a picture kept
// from frame to frame, and puts the parts that changed straight on the window
// through the X server. One per window, owned by whoever draws its frames.
#pragma once

#include <SFML/Graphics.hpp>

#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace qm {

// One cell as the compositor paints it: a black background of the cell's size
// at a tenth of a cell left of and a fifth below pixel_pos, then the glyph
// that a text placed at pixel_pos shows, tinted with color and blended over
// what is there.
struct CompositeCell {
  sf::Vector2f pixel_pos;
  // nullptr for a blank; kept by the font.
  const sf::Glyph *p_glyph;
  sf::Color color;
  bool operator==(const CompositeCell &other) const;
};

class FrameCompositor {
public:
  FrameCompositor();
  ~FrameCompositor();
  FrameCompositor(const FrameCompositor &) = delete;
  FrameCompositor &operator=(const FrameCompositor &) = delete;

  // Composes for the window, of size pixels, with cells of cell_size and the
  // glyphs of p_font at char_size: 0, or -1 when the X server cannot be
  // reached or the window's pixels are not 24-bit true colour.
  int attach(sf::WindowHandle window, sf::Vector2u size, sf::Vector2f cell_size,
             const sf::Font *p_font, unsigned int char_size);

  // Whether the cell comes out here in exactly the pixels that OpenGL would
  // draw: at a whole pixel, where its glyph's pixels are those that OpenGL
  // drew for it once, and with its background's edges clear of pixel
  // centres. Other cells must be drawn by OpenGL.
  bool canCompose(const CompositeCell &cell) const;
  // Paints the frame, cells in order, where it differs from the frame before;
  // all of it when too much differs to tell.
  void compose(const std::vector<CompositeCell> &cells);
  // Puts on the window what changed since the last show, or the whole
  // picture; -1 when not attached.
  int show(bool whole);

  // The picture, one 0x00RRGGBB word per pixel, rows from the top.
  const std::uint32_t *getPixels() const;
  sf::Vector2u getSize() const;

private:
  // A rectangle of whole pixels, right and bottom excluded.
  struct PixelBox {
    int left, top, right, bottom;
  };

  // A glyph as OpenGL draws it in white over black at a whole pixel: the
  // alpha that it blends with, over a box placed from that pixel.
  struct Stamp {
    int left, top, width, height;
    std::vector<std::uint8_t> alpha;
  };

  const Stamp *stampOf(const sf::Glyph *p_glyph) const;
  void makeStamps(const std::vector<CompositeCell> &cells);
  PixelBox cellBox(const CompositeCell &cell) const;
  void markChanged(const std::vector<CompositeCell> &cells);
  void paint(const std::vector<CompositeCell> &cells, const PixelBox &box);
  void paintCell(const CompositeCell &cell, const PixelBox &clip);

  struct XTarget;
  std::unique_ptr<XTarget> m_p_x_target;
  sf::Vector2u m_size;
  sf::Vector2f m_cell_size;
  std::vector<std::uint32_t> m_pixels;
  const sf::Font *m_p_font = nullptr;
  unsigned int m_char_size = 0;
  // By the glyph's place on the font's page.
  std::map<std::pair<int, int>, Stamp> m_stamps;
  // The frame last composed, the boxes its cells paint, and the boxes
  // painted since the last show.
  std::vector<CompositeCell> m_cells;
  std::vector<PixelBox> m_cell_boxes;
  std::vector<PixelBox> m_changed;
  std::vector<PixelBox> m_unshown;
};

} // namespace qm
