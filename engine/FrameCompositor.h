// Composes frames of character cells on the processor into a picture kept
// from frame to frame, and puts the parts that changed straight on the window
// through the X server. One per window, owned by whoever draws its frames.
#pragma once

#include "CellStamps.h"

#include <SFML/Graphics.hpp>

#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace qm {

// Stamps learnt from OpenGL for one frame, at some 10 to 15 us each, beyond
// which drawing the frame through OpenGL is cheaper: a whole grid between
// pixels, or a scaled grid of glyphs never seen at their places.
inline constexpr std::size_t LEARNT_PER_FRAME_MAX = 256;
// Learnt all the same from such a frame, so that a picture that stays is
// soon composed: a scaled full grid in half a second.
inline constexpr std::size_t LEARNT_AHEAD = 64;

class FrameCompositor {
public:
  FrameCompositor();
  ~FrameCompositor();
  FrameCompositor(const FrameCompositor &) = delete;
  FrameCompositor &operator=(const FrameCompositor &) = delete;

  // Composes for the window, which must outlive the compositor, with the
  // cells, glyphs of p_font and picture placed as the fit places them, and
  // black around the picture: 0, or -1 when its X server cannot be reached
  // or its pixels are not 24-bit true colour. share_whole as for
  // CellStamps: true only at the picture's own size.
  int attach(sf::RenderWindow *p_window, const PictureFit &fit, const sf::Font *p_font,
             bool share_whole);
  // Lets go of the window, before it is closed or made anew.
  void detach();
  // Paints the frame, cells in order, in exactly the pixels that OpenGL would
  // draw in the window through its view, where it differs from the frame
  // before; all of it when too much differs to tell or the view has moved.
  // What OpenGL alone knows it learns in the window's back buffer, which it
  // leaves black there. -1 when not attached or when the view does not put
  // its pixels one to one on the window's (zoomed, turned): OpenGL must draw
  // such frames itself. 1 when there would be so much to learn that OpenGL
  // draws the frame faster (more than learnt_max stamps): nothing is
  // painted, LEARNT_AHEAD stamps are learnt towards the frames after, and
  // the next frame painted is painted against the last one that was.
  int compose(const std::vector<CompositeCell> &cells,
              std::size_t learnt_max = LEARNT_PER_FRAME_MAX);
  // Puts on the window what changed since the last show, or the whole
  // picture, as also when the window has been exposed since; -1 when not
  // attached or when the server refused the pictures.
  int show(bool whole);

  // The picture, one 0x00RRGGBB word per pixel, rows from the top.
  const std::uint32_t *getPixels() const;
  sf::Vector2u getSize() const;

private:
  bool placeView();
  PixelBox cellBox(const CellStamps::CellPaint &paint) const;
  void markChanged(const std::vector<CompositeCell> &cells);
  void paint(const std::vector<CompositeCell> &cells, const PixelBox &box);
  const std::array<std::uint32_t, 256> &overBlack(sf::Color color);
  void paintCell(sf::Color color, const CellStamps::CellPaint &paint, const PixelBox &clip);

  struct XTarget;
  std::unique_ptr<XTarget> m_p_x_target;
  sf::RenderWindow *m_p_window = nullptr;
  sf::Vector2u m_size;
  PixelBox m_picture{0, 0, 0, 0};
  // Where the view's pixel (0, 0) falls in the window, and the part of the
  // window that its viewport shows, as last seen.
  sf::Vector2f m_origin;
  PixelBox m_clip{0, 0, 0, 0};
  bool m_placed = false;
  bool m_paint_whole = true;
  CellStamps m_stamps;
  std::vector<std::uint32_t> m_pixels;
  // A glyph's pixels over black by its alpha, for each colour lately used.
  std::vector<std::pair<sf::Color, std::array<std::uint32_t, 256>>> m_over_black;
  // The frame last composed, the boxes its cells paint, and the boxes
  // painted since the last show.
  std::vector<CompositeCell> m_cells;
  std::vector<PixelBox> m_cell_boxes;
  std::vector<PixelBox> m_new_boxes;
  std::vector<PixelBox> m_changed;
  std::vector<PixelBox> m_unshown;
};

} // namespace qm
