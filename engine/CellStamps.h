// What OpenGL paints of a cell in the window: its glyph's alpha and the pixels
// its background covers, learnt by drawing them in the window's back buffer
// and reading them back, and kept for the frames after. Owned by the frame
// compositor, one per window.
#pragma once

#include "PictureFit.h"

#include <SFML/Graphics.hpp>

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace qm {

// One cell as the display paints it: a black background of the cell's size
// at a tenth of a cell left of and a fifth below pixel_pos, then the glyph
// that a text placed at pixel_pos shows, tinted with color and blended over
// what is there. pixel_pos is in the pixels of the window's view.
struct CompositeCell {
  sf::Vector2f pixel_pos;
  // nullptr for a blank; kept by the font.
  const sf::Glyph *p_glyph;
  sf::Color color;
  bool operator==(const CompositeCell &other) const;
};

// A rectangle of whole window pixels, right and bottom excluded.
struct PixelBox {
  int left, top, right, bottom;
  bool isEmpty() const { return left >= right || top >= bottom; }
  bool meets(const PixelBox &other) const;
  PixelBox within(const PixelBox &other) const;
  // The box around both.
  PixelBox around(const PixelBox &other) const;
  bool isInside(const PixelBox &other) const;
};

class CellStamps {
public:
  // What a cell paints: the pixels its background covers, maybe outside the
  // clip, and its glyph's alpha, rows of glyph_box's width one after
  // another, or nullptr for none.
  struct CellPaint {
    PixelBox background;
    PixelBox glyph_box;
    const std::uint8_t *p_alpha;
  };

  // Cells and their backgrounds placed as the fit places them, glyphs of
  // p_font at its character size; the window and the font must outlive the
  // stamps. With share_whole, a glyph at a whole pixel is
  // taken to come out the same wherever it stands, as at the picture's own
  // size it does (every glyph at every cell of the grid checked); scaled,
  // the filtering of some glyphs on some rows and columns is a shade off
  // theirs elsewhere, so each place is learnt.
  void attach(sf::RenderWindow *p_window, const PictureFit &fit, const sf::Font *p_font,
              bool share_whole);
  // Where the view's pixel (0, 0) lies in the window, and the window pixels
  // that the view's viewport shows: drawing is cut to them. Forgets all
  // that was learnt.
  void place(sf::Vector2f origin, const PixelBox &clip);
  // Learns what the cells need that is not kept yet, and what each paints; a
  // cell equal to the one at its place in before, the frame learnt last,
  // paints as it did. Uses the window's back buffer and leaves the parts it
  // used black. False when that would take more than learnt_max stamps:
  // then only the first learnt_ahead are learnt, towards a later frame, and
  // there are no paints.
  bool learn(const std::vector<CompositeCell> &cells, const std::vector<CompositeCell> &before,
             std::size_t learnt_max, std::size_t learnt_ahead);
  // Valid until the next learn, place or attach.
  const std::vector<CellPaint> &getPaints() const;

private:
  struct Stamp {
    // Relative to the whole pixel where the text stands, or, for a stamp of
    // one place, in the window.
    PixelBox box;
    std::vector<std::uint8_t> alpha;
    bool learnt = false;
    unsigned int last_used = 0;
  };
  // A glyph at one place, or a background (texture_left -1).
  struct PlaceKey {
    int texture_left, texture_top;
    std::uint32_t x_bits, y_bits;
    bool operator==(const PlaceKey &other) const;
  };
  struct PlaceHash {
    std::size_t operator()(const PlaceKey &key) const;
  };
  // One thing to draw and read back.
  struct Job {
    const sf::Glyph *p_glyph;
    sf::Vector2f pixel_pos;
    PixelBox box;
    bool whole;
  };

  static std::uint64_t wholeKey(const sf::Glyph &glyph);
  static PlaceKey placeKey(const CompositeCell &cell);
  static PlaceKey backgroundKey(sf::Vector2f pixel_pos);
  sf::Vector2f inWindow(sf::Vector2f pixel_pos) const;
  bool isWholeInWindow(sf::Vector2f pixel_pos) const;
  PixelBox glyphReach(const sf::Glyph &glyph, sf::Vector2f pixel_pos) const;
  bool backgroundIsClear(sf::Vector2f pixel_pos, PixelBox *p_box) const;
  void addBackgroundJob(const CompositeCell &cell, std::vector<Job> *p_jobs);
  void addGlyphJob(const CompositeCell &cell, std::vector<Job> *p_jobs);
  void drawAndRead(const std::vector<Job> &jobs);
  void blacken(const sf::VertexArray &boxes);
  void keep(const Job &job, const PixelBox &box, std::vector<std::uint8_t> alpha);
  void forgetUnused();
  CellPaint paintOf(const CompositeCell &cell, std::array<Stamp *, 2> *p_kept);

  sf::RenderWindow *m_p_window = nullptr;
  sf::Vector2f m_origin;
  PixelBox m_clip{0, 0, 0, 0};
  PictureFit m_fit{sf::Vector2u(1, 1), sf::Vector2u(1, 1), sf::Vector2u(1, 1)};
  const sf::Font *m_p_font = nullptr;
  bool m_share_whole = true;
  unsigned int m_frame = 0;
  // By the glyph's place on the font's page, when shared.
  std::unordered_map<std::uint64_t, Stamp> m_whole;
  // Other glyphs, each at its one place, and backgrounds with an edge too
  // close to a pixel centre to tell.
  std::unordered_map<PlaceKey, Stamp, PlaceHash> m_placed;
  // The last frame's paints, the stamps of one place that each uses (glyph,
  // background), and which cells it learnt afresh.
  std::vector<CellPaint> m_paints;
  std::vector<std::array<Stamp *, 2>> m_kept;
  std::vector<char> m_fresh;
};

} // namespace qm
