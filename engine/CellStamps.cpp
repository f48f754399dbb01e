#include "CellStamps.h"

#include <SFML/OpenGL.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qm {

namespace {

// Stamps of one place kept beyond which those that the last frame did not
// use are dropped: a moving glyph leaves one behind at every pass.
constexpr std::size_t PLACED_MAX = 4096;

// Window coordinates beyond which nothing is anywhere near the window; keeps
// far-off and undefined positions out of integer overflow.
constexpr double FAR_OFF = 1 << 24;

// The rasterizer snaps vertices to 1/256 of a pixel. An edge snapped onto a
// pixel centre covers it on the left and the bottom, not on the right and the
// top, so columns change at half a step past a centre and rows half a step
// before one. Within DOUBT of such a point the float arithmetic on the way to
// the snap might fall either side.
constexpr double HALF_STEP = 1.0 / 512;
constexpr double DOUBT = 1.0 / 256;

// Side of the squares by which jobs drawn together are kept apart.
constexpr int TILE = 8;

int clampedPixel(double value) {
  if (!(value > -FAR_OFF)) {
    return static_cast<int>(-FAR_OFF);
  }
  return static_cast<int>(std::min(value, FAR_OFF));
}

// The first pixel past an edge whose changes lie at shift past centres; and
// whether the edge lies too close to one of them to tell.
int firstPast(double edge, double shift, bool *p_doubtful) {
  const double at = edge - 0.5 + shift;
  *p_doubtful = std::fabs(at - std::round(at)) < DOUBT;
  return clampedPixel(std::floor(at)) + 1;
}

std::uint32_t bitsOf(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

void appendBox(sf::VertexArray &vertices, const PixelBox &box, sf::Color color) {
  const auto left = static_cast<float>(box.left);
  const auto top = static_cast<float>(box.top);
  const auto right = static_cast<float>(box.right);
  const auto bottom = static_cast<float>(box.bottom);
  for (const sf::Vector2f corner :
       {sf::Vector2f(left, top), sf::Vector2f(right, top), sf::Vector2f(left, bottom),
        sf::Vector2f(left, bottom), sf::Vector2f(right, top), sf::Vector2f(right, bottom)}) {
    vertices.append(sf::Vertex(corner, color));
  }
}

} // namespace

bool CompositeCell::operator==(const CompositeCell &other) const {
  return pixel_pos == other.pixel_pos && p_glyph == other.p_glyph && color == other.color;
}

bool PixelBox::meets(const PixelBox &other) const {
  return left < other.right && right > other.left && top < other.bottom && bottom > other.top;
}

bool PixelBox::isInside(const PixelBox &other) const {
  return left >= other.left && top >= other.top && right <= other.right && bottom <= other.bottom;
}

PixelBox PixelBox::within(const PixelBox &other) const {
  return PixelBox{std::max(left, other.left), std::max(top, other.top),
                  std::min(right, other.right), std::min(bottom, other.bottom)};
}

PixelBox PixelBox::around(const PixelBox &other) const {
  return PixelBox{std::min(left, other.left), std::min(top, other.top),
                  std::max(right, other.right), std::max(bottom, other.bottom)};
}

bool CellStamps::PlaceKey::operator==(const PlaceKey &other) const {
  return texture_left == other.texture_left && texture_top == other.texture_top &&
         x_bits == other.x_bits && y_bits == other.y_bits;
}

std::size_t CellStamps::PlaceHash::operator()(const PlaceKey &key) const {
  std::size_t hash = static_cast<std::size_t>(key.x_bits) * 0x9E3779B1u;
  hash ^= static_cast<std::size_t>(key.y_bits) + 0x7F4A7C15u + (hash << 6) + (hash >> 2);
  hash ^=
      static_cast<std::size_t>(key.texture_left) * 31u + static_cast<std::size_t>(key.texture_top);
  return hash;
}

void CellStamps::attach(sf::RenderWindow *p_window, const PictureFit &fit, const sf::Font *p_font,
                        bool share_whole) {
  m_p_window = p_window;
  m_share_whole = share_whole;
  m_fit = fit;
  m_p_font = p_font;
  place(sf::Vector2f(), PixelBox{0, 0, 0, 0});
}

void CellStamps::place(sf::Vector2f origin, const PixelBox &clip) {
  m_origin = origin;
  m_clip = clip;
  m_whole.clear();
  m_placed.clear();
  m_paints.clear();
  m_kept.clear();
}

bool CellStamps::learn(const std::vector<CompositeCell> &cells,
                       const std::vector<CompositeCell> &before, std::size_t learnt_max,
                       std::size_t learnt_ahead) {
  m_frame++;
  const bool reusable = before.size() == cells.size() && m_paints.size() == cells.size();
  m_fresh.assign(cells.size(), 1);
  std::vector<Job> jobs;
  for (std::size_t i = 0; i < cells.size(); i++) {
    if (reusable && cells[i] == before[i]) {
      m_fresh[i] = 0;
      for (Stamp *p_stamp : m_kept[i]) {
        if (p_stamp != nullptr) {
          p_stamp->last_used = m_frame;
        }
      }
      continue;
    }
    addBackgroundJob(cells[i], &jobs);
    addGlyphJob(cells[i], &jobs);
  }
  if (jobs.size() > learnt_max) {
    const std::size_t ahead = std::min(learnt_ahead, jobs.size());
    for (auto it = jobs.begin() + static_cast<std::ptrdiff_t>(ahead); it != jobs.end(); ++it) {
      const Job &job = *it;
      if (job.p_glyph == nullptr) {
        m_placed.erase(backgroundKey(job.pixel_pos));
      } else if (job.whole) {
        m_whole.erase(wholeKey(*job.p_glyph));
      } else {
        m_placed.erase(placeKey(CompositeCell{job.pixel_pos, job.p_glyph, sf::Color::White}));
      }
    }
    jobs.resize(ahead);
    drawAndRead(jobs);
    forgetUnused();
    // What the last frame painted is no guide to this one's.
    m_paints.clear();
    m_kept.clear();
    return false;
  }
  drawAndRead(jobs);
  forgetUnused();
  m_paints.resize(cells.size());
  m_kept.resize(cells.size());
  for (std::size_t i = 0; i < cells.size(); i++) {
    if (m_fresh[i] != 0) {
      m_paints[i] = paintOf(cells[i], &m_kept[i]);
    }
  }
  return true;
}

const std::vector<CellStamps::CellPaint> &CellStamps::getPaints() const {
  return m_paints;
}

CellStamps::CellPaint CellStamps::paintOf(const CompositeCell &cell,
                                          std::array<Stamp *, 2> *p_kept) {
  CellPaint paint{PixelBox{0, 0, 0, 0}, PixelBox{0, 0, 0, 0}, nullptr};
  *p_kept = {nullptr, nullptr};
  if (!backgroundIsClear(cell.pixel_pos, &paint.background)) {
    const auto found = m_placed.find(backgroundKey(cell.pixel_pos));
    if (found != m_placed.end() && found->second.learnt) {
      (*p_kept)[1] = &found->second;
      paint.background = found->second.box;
    }
  }
  if (cell.p_glyph == nullptr) {
    return paint;
  }
  if (m_share_whole && isWholeInWindow(cell.pixel_pos)) {
    const auto found = m_whole.find(wholeKey(*cell.p_glyph));
    if (found != m_whole.end() && found->second.learnt) {
      const Stamp &stamp = found->second;
      const sf::Vector2f at = inWindow(cell.pixel_pos);
      const int x = static_cast<int>(at.x);
      const int y = static_cast<int>(at.y);
      paint.glyph_box = PixelBox{stamp.box.left + x, stamp.box.top + y, stamp.box.right + x,
                                 stamp.box.bottom + y};
      paint.p_alpha = stamp.alpha.data();
      return paint;
    }
  }
  const auto found = m_placed.find(placeKey(cell));
  if (found != m_placed.end() && found->second.learnt) {
    (*p_kept)[0] = &found->second;
    paint.glyph_box = found->second.box;
    paint.p_alpha = found->second.alpha.data();
  }
  return paint;
}

std::uint64_t CellStamps::wholeKey(const sf::Glyph &glyph) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(glyph.textureRect.left)) << 32) |
         static_cast<std::uint32_t>(glyph.textureRect.top);
}

CellStamps::PlaceKey CellStamps::placeKey(const CompositeCell &cell) {
  return PlaceKey{cell.p_glyph->textureRect.left, cell.p_glyph->textureRect.top,
                  bitsOf(cell.pixel_pos.x), bitsOf(cell.pixel_pos.y)};
}

CellStamps::PlaceKey CellStamps::backgroundKey(sf::Vector2f pixel_pos) {
  return PlaceKey{-1, 0, bitsOf(pixel_pos.x), bitsOf(pixel_pos.y)};
}

sf::Vector2f CellStamps::inWindow(sf::Vector2f pixel_pos) const {
  return pixel_pos + m_origin;
}

bool CellStamps::isWholeInWindow(sf::Vector2f pixel_pos) const {
  const sf::Vector2f at = inWindow(pixel_pos);
  const auto far_off = static_cast<float>(FAR_OFF);
  return std::fabs(at.x) < far_off && std::fabs(at.y) < far_off && at.x == std::floor(at.x) &&
         at.y == std::floor(at.y);
}

// The pixels that the glyph's quad, as a text lays it out at pixel_pos,
// might touch: padded by a pixel for smooth edges, its baseline one
// character size below the text's position.
PixelBox CellStamps::glyphReach(const sf::Glyph &glyph, sf::Vector2f pixel_pos) const {
  const sf::Vector2f at = inWindow(pixel_pos);
  const double left = static_cast<double>(at.x) + static_cast<double>(glyph.bounds.left);
  const double top =
      static_cast<double>(at.y) + m_fit.getCharSize() + static_cast<double>(glyph.bounds.top);
  return PixelBox{clampedPixel(std::floor(left)) - 2, clampedPixel(std::floor(top)) - 2,
                  clampedPixel(std::ceil(left + static_cast<double>(glyph.bounds.width))) + 2,
                  clampedPixel(std::ceil(top + static_cast<double>(glyph.bounds.height))) + 2};
}

// The background's edges are placed as a shape's transform adds them up: the
// corner in floats, the size added to it.
bool CellStamps::backgroundIsClear(sf::Vector2f pixel_pos, PixelBox *p_box) const {
  const sf::FloatRect rect = m_fit.backgroundRect(pixel_pos);
  const double left = static_cast<double>(rect.left) + static_cast<double>(m_origin.x);
  const double top = static_cast<double>(rect.top) + static_cast<double>(m_origin.y);
  bool doubtful[4];
  *p_box =
      PixelBox{firstPast(left, -HALF_STEP, &doubtful[0]), firstPast(top, HALF_STEP, &doubtful[1]),
               firstPast(left + static_cast<double>(rect.width), -HALF_STEP, &doubtful[2]),
               firstPast(top + static_cast<double>(rect.height), HALF_STEP, &doubtful[3])};
  // Only a doubt about an edge inside the clip changes what is seen.
  const int inside[4] = {p_box->left, p_box->top, p_box->right, p_box->bottom};
  const int low[4] = {m_clip.left, m_clip.top, m_clip.left, m_clip.top};
  const int high[4] = {m_clip.right, m_clip.bottom, m_clip.right, m_clip.bottom};
  for (int edge = 0; edge < 4; edge++) {
    if (doubtful[edge] && inside[edge] >= low[edge] && inside[edge] <= high[edge] &&
        p_box->meets(m_clip)) {
      return false;
    }
  }
  return true;
}

void CellStamps::addBackgroundJob(const CompositeCell &cell, std::vector<Job> *p_jobs) {
  PixelBox box{0, 0, 0, 0};
  if (backgroundIsClear(cell.pixel_pos, &box) || !box.meets(m_clip)) {
    return;
  }
  Stamp &stamp = m_placed[backgroundKey(cell.pixel_pos)];
  if (stamp.last_used == 0) {
    const PixelBox reach{box.left - 2, box.top - 2, box.right + 2, box.bottom + 2};
    p_jobs->push_back(Job{nullptr, cell.pixel_pos, reach.within(m_clip), false});
  }
  stamp.last_used = m_frame;
}

// A glyph at a whole pixel, where that is shared, is drawn once, at a place
// where all of it shows; any other at its own place each time it stands
// somewhere new: OpenGL's texture filtering there rounds the float
// arithmetic of that very place.
void CellStamps::addGlyphJob(const CompositeCell &cell, std::vector<Job> *p_jobs) {
  if (cell.p_glyph == nullptr) {
    return;
  }
  const PixelBox reach = glyphReach(*cell.p_glyph, cell.pixel_pos);
  if (!reach.meets(m_clip)) {
    return;
  }
  if (m_share_whole && isWholeInWindow(cell.pixel_pos)) {
    const std::uint64_t key = wholeKey(*cell.p_glyph);
    if (m_whole.count(key) != 0) {
      return;
    }
    const int dx = reach.left < m_clip.left     ? m_clip.left - reach.left
                   : reach.right > m_clip.right ? m_clip.right - reach.right
                                                : 0;
    const int dy = reach.top < m_clip.top         ? m_clip.top - reach.top
                   : reach.bottom > m_clip.bottom ? m_clip.bottom - reach.bottom
                                                  : 0;
    const PixelBox moved{reach.left + dx, reach.top + dy, reach.right + dx, reach.bottom + dy};
    if (moved.isInside(m_clip)) {
      m_whole[key];
      p_jobs->push_back(
          Job{cell.p_glyph,
              cell.pixel_pos + sf::Vector2f(static_cast<float>(dx), static_cast<float>(dy)), moved,
              true});
      return;
    }
  }
  Stamp &stamp = m_placed[placeKey(cell)];
  if (stamp.last_used == 0) {
    p_jobs->push_back(Job{cell.p_glyph, cell.pixel_pos, reach.within(m_clip), false});
  }
  stamp.last_used = m_frame;
}

// Jobs are drawn in rounds, white over black, in rounds of boxes that do not
// meet, each exactly as the display draws its shapes: the glyph's quad with
// the text's translation, the background as a rectangle shape. Then each box
// is read back.
void CellStamps::drawAndRead(const std::vector<Job> &jobs) {
  if (jobs.empty() || m_p_window == nullptr || m_p_font == nullptr) {
    return;
  }
  const int tiles_x = (m_clip.right - m_clip.left + TILE - 1) / TILE;
  const int tiles_y = (m_clip.bottom - m_clip.top + TILE - 1) / TILE;
  std::vector<std::vector<bool>> taken;
  std::vector<std::vector<std::size_t>> rounds;
  sf::VertexArray all_boxes(sf::Triangles);
  for (std::size_t i = 0; i < jobs.size(); i++) {
    const PixelBox &box = jobs[i].box;
    if (box.isEmpty()) {
      continue;
    }
    appendBox(all_boxes, box, sf::Color::Black);
    const int from_x = (box.left - m_clip.left) / TILE, to_x = (box.right - 1 - m_clip.left) / TILE;
    const int from_y = (box.top - m_clip.top) / TILE, to_y = (box.bottom - 1 - m_clip.top) / TILE;
    std::size_t round = 0;
    for (;; round++) {
      if (round == rounds.size()) {
        taken.emplace_back(static_cast<std::size_t>(tiles_x * tiles_y), false);
        rounds.emplace_back();
      }
      bool free = true;
      for (int y = from_y; y <= to_y && free; y++) {
        for (int x = from_x; x <= to_x && free; x++) {
          free = !taken[round][static_cast<std::size_t>(y * tiles_x + x)];
        }
      }
      if (free) {
        break;
      }
    }
    for (int y = from_y; y <= to_y; y++) {
      for (int x = from_x; x <= to_x; x++) {
        taken[round][static_cast<std::size_t>(y * tiles_x + x)] = true;
      }
    }
    rounds[round].push_back(i);
  }

  sf::RenderWindow &window = *m_p_window;
  const sf::Texture &page = m_p_font->getTexture(m_fit.getCharSize());
  const auto char_size = static_cast<float>(m_fit.getCharSize());
  sf::RectangleShape background(m_fit.getCellSize());
  background.setFillColor(sf::Color::White);
  blacken(all_boxes);
  std::vector<std::uint8_t> rgba;
  for (const std::vector<std::size_t> &round : rounds) {
    sf::VertexArray round_boxes(sf::Triangles);
    for (const std::size_t i : round) {
      const Job &job = jobs[i];
      appendBox(round_boxes, job.box, sf::Color::Black);
      if (job.p_glyph == nullptr) {
        const sf::FloatRect rect = m_fit.backgroundRect(job.pixel_pos);
        background.setPosition(rect.left, rect.top);
        window.draw(background);
        continue;
      }
      const sf::FloatRect &bounds = job.p_glyph->bounds;
      const sf::IntRect &texels = job.p_glyph->textureRect;
      const float left = 0 + (bounds.left - 1);
      const float top = char_size + (bounds.top - 1);
      const float right = 0 + (bounds.left + bounds.width + 1);
      const float bottom = char_size + (bounds.top + bounds.height + 1);
      const float u_left = static_cast<float>(texels.left) - 1;
      const float v_top = static_cast<float>(texels.top) - 1;
      const float u_right = static_cast<float>(texels.left + texels.width) + 1;
      const float v_bottom = static_cast<float>(texels.top + texels.height) + 1;
      const sf::Vertex corners[] = {
          sf::Vertex(sf::Vector2f(left, top), sf::Color::White, sf::Vector2f(u_left, v_top)),
          sf::Vertex(sf::Vector2f(right, top), sf::Color::White, sf::Vector2f(u_right, v_top)),
          sf::Vertex(sf::Vector2f(left, bottom), sf::Color::White, sf::Vector2f(u_left, v_bottom)),
          sf::Vertex(sf::Vector2f(right, bottom), sf::Color::White,
                     sf::Vector2f(u_right, v_bottom))};
      sf::VertexArray quad(sf::Triangles);
      for (const int corner : {0, 1, 2, 2, 1, 3}) {
        quad.append(corners[corner]);
      }
      sf::RenderStates states(&page);
      states.transform.translate(job.pixel_pos);
      window.draw(quad, states);
    }
    const auto window_height = static_cast<int>(window.getSize().y);
    for (const std::size_t i : round) {
      const PixelBox &box = jobs[i].box;
      const int width = box.right - box.left;
      const int height = box.bottom - box.top;
      rgba.resize(static_cast<std::size_t>(width * height) * 4);
      // OpenGL counts rows from the bottom.
      glReadPixels(box.left, window_height - box.bottom, width, height, GL_RGBA, GL_UNSIGNED_BYTE,
                   rgba.data());
      std::vector<std::uint8_t> alpha(static_cast<std::size_t>(width * height));
      for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
          alpha[static_cast<std::size_t>(y * width + x)] =
              rgba[static_cast<std::size_t>(((height - 1 - y) * width + x) * 4)];
        }
      }
      keep(jobs[i], box, std::move(alpha));
    }
    blacken(round_boxes);
  }
}

// The boxes are in window pixels: drawn through the window's own view.
void CellStamps::blacken(const sf::VertexArray &boxes) {
  const sf::View view = m_p_window->getView();
  const sf::Vector2u size = m_p_window->getSize();
  m_p_window->setView(
      sf::View(sf::FloatRect(0, 0, static_cast<float>(size.x), static_cast<float>(size.y))));
  m_p_window->draw(boxes, sf::RenderStates(sf::BlendNone));
  m_p_window->setView(view);
}

void CellStamps::keep(const Job &job, const PixelBox &box, std::vector<std::uint8_t> alpha) {
  if (job.p_glyph == nullptr) {
    // The covered pixels of a background make a rectangle.
    const int width = box.right - box.left;
    PixelBox covered{box.right, box.bottom, box.left, box.top};
    for (int y = box.top; y < box.bottom; y++) {
      for (int x = box.left; x < box.right; x++) {
        if (alpha[static_cast<std::size_t>((y - box.top) * width + (x - box.left))] != 0) {
          covered = covered.around(PixelBox{x, y, x + 1, y + 1});
        }
      }
    }
    Stamp &stamp = m_placed[backgroundKey(job.pixel_pos)];
    stamp.box = covered;
    stamp.learnt = true;
    return;
  }
  if (job.whole) {
    const sf::Vector2f at = inWindow(job.pixel_pos);
    const int x = static_cast<int>(at.x);
    const int y = static_cast<int>(at.y);
    Stamp &stamp = m_whole[wholeKey(*job.p_glyph)];
    stamp.box = PixelBox{box.left - x, box.top - y, box.right - x, box.bottom - y};
    stamp.alpha = std::move(alpha);
    stamp.learnt = true;
    return;
  }
  Stamp &stamp = m_placed[placeKey(CompositeCell{job.pixel_pos, job.p_glyph, sf::Color::White})];
  stamp.box = box;
  stamp.alpha = std::move(alpha);
  stamp.learnt = true;
}

void CellStamps::forgetUnused() {
  if (m_placed.size() <= PLACED_MAX) {
    return;
  }
  for (auto it = m_placed.begin(); it != m_placed.end();) {
    it = it->second.last_used == m_frame ? std::next(it) : m_placed.erase(it);
  }
}

} // namespace qm
