#include "FrameCompositor.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace qm {

namespace {

// Boxes painted in one frame beyond which they are painted as one.
constexpr std::size_t CHANGED_BOXES_MAX = 32;

// a * b / 255 for bytes as llvmpipe's blending rounds it: exactly, by the
// geometric series with round-off (t + t / 256 + 128) / 256.
constexpr std::uint8_t mulNorm(unsigned int a, unsigned int b) {
  const unsigned int t = a * b;
  return static_cast<std::uint8_t>((t + (t >> 8) + 0x80) >> 8);
}

// All products, [a][b].
struct MulTable {
  std::array<std::array<std::uint8_t, 256>, 256> product;
  constexpr MulTable() : product() {
    for (unsigned int a = 0; a < 256; a++) {
      for (unsigned int b = 0; b < 256; b++) {
        product[a][b] = mulNorm(a, b);
      }
    }
  }
};
const MulTable MUL;

// Source over destination with GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA: the
// glyph's texels are white, so the source colour is the tint itself.
std::uint8_t blendChannel(std::uint8_t tint, std::uint8_t alpha, std::uint8_t under) {
  const unsigned int sum = MUL.product[tint][alpha] + MUL.product[under][255 - alpha];
  return static_cast<std::uint8_t>(std::min(sum, 255u));
}

std::uint32_t packed(unsigned int red, unsigned int green, unsigned int blue) {
  return (red << 16) | (green << 8) | blue;
}

std::uint32_t blendPixel(sf::Color tint, std::uint8_t alpha, std::uint32_t under) {
  return packed(blendChannel(tint.r, alpha, static_cast<std::uint8_t>(under >> 16)),
                blendChannel(tint.g, alpha, static_cast<std::uint8_t>(under >> 8)),
                blendChannel(tint.b, alpha, static_cast<std::uint8_t>(under)));
}

// The first pixel whose centre lies at or after edge.
int firstCentreFrom(float edge) {
  return static_cast<int>(std::ceil(edge - 0.5f));
}

bool isWhole(float value) {
  return std::isfinite(value) && value == std::floor(value);
}

// The rasterizer snaps edges to 1/256 of a pixel and adds them up through the
// view's transform: an edge this close to a centre might fall on either side.
bool clearOfCentres(float edge) {
  const float fraction = edge - std::floor(edge);
  return std::isfinite(edge) && std::fabs(fraction - 0.5f) > 1.0f / 128;
}

// Set when the X server refused to share the image's memory.
bool attach_refused = false;

extern "C" int noteRefusal(::Display *, XErrorEvent *) {
  attach_refused = true;
  return 0;
}

} // namespace

// The window's X server connection, with a shared memory image the size of
// the window when the server offers it, else a plain image that is sent whole.
struct FrameCompositor::XTarget {
  ::Display *p_display = nullptr;
  ::Window window = 0;
  GC gc = nullptr;
  XImage *p_image = nullptr;
  XShmSegmentInfo shm = {};
  bool shared = false;

  ~XTarget() {
    if (p_image != nullptr) {
      if (shared) {
        XShmDetach(p_display, &shm);
        XSync(p_display, False);
        shmdt(shm.shmaddr);
        p_image->data = nullptr;
      }
      XDestroyImage(p_image);
    }
    if (gc != nullptr) {
      XFreeGC(p_display, gc);
    }
    if (p_display != nullptr) {
      XCloseDisplay(p_display);
    }
  }

  bool shareImage(Visual *p_visual, sf::Vector2u size) {
    if (!XShmQueryExtension(p_display)) {
      return false;
    }
    p_image = XShmCreateImage(p_display, p_visual, 24, ZPixmap, nullptr, &shm, size.x, size.y);
    if (p_image == nullptr) {
      return false;
    }
    shm.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(p_image->bytes_per_line) * size.y,
                       IPC_CREAT | 0600);
    if (shm.shmid < 0) {
      XDestroyImage(p_image);
      p_image = nullptr;
      return false;
    }
    void *p_segment = shmat(shm.shmid, nullptr, 0);
    if (p_segment == reinterpret_cast<void *>(-1)) {
      shmctl(shm.shmid, IPC_RMID, nullptr);
      XDestroyImage(p_image);
      p_image = nullptr;
      return false;
    }
    shm.shmaddr = static_cast<char *>(p_segment);
    p_image->data = shm.shmaddr;
    shm.readOnly = False;
    // A server on another machine refuses the segment with an X error, which
    // Xlib's own handler would answer by ending the program.
    attach_refused = false;
    XErrorHandler previous = XSetErrorHandler(noteRefusal);
    const bool attached = XShmAttach(p_display, &shm) != 0;
    XSync(p_display, False);
    XSetErrorHandler(previous);
    // Marked for removal now, the segment goes once both sides let go of it,
    // however the program ends.
    shmctl(shm.shmid, IPC_RMID, nullptr);
    shared = attached && !attach_refused;
    if (!shared) {
      shmdt(shm.shmaddr);
      p_image->data = nullptr;
      XDestroyImage(p_image);
      p_image = nullptr;
    }
    return attached;
  }

  // The image's pixels are set just before each put, from the picture.
  bool plainImage(Visual *p_visual, sf::Vector2u size) {
    p_image = XCreateImage(p_display, p_visual, 24, ZPixmap, 0, nullptr, size.x, size.y, 32, 0);
    return p_image != nullptr;
  }
};

bool CompositeCell::operator==(const CompositeCell &other) const {
  return pixel_pos == other.pixel_pos && p_glyph == other.p_glyph && color == other.color;
}

FrameCompositor::FrameCompositor() = default;

FrameCompositor::~FrameCompositor() = default;

int FrameCompositor::attach(sf::WindowHandle window, sf::Vector2u size, sf::Vector2f cell_size,
                            const sf::Font *p_font, unsigned int char_size) {
  m_p_x_target.reset();
  auto p_target = std::make_unique<XTarget>();
  p_target->p_display = XOpenDisplay(nullptr);
  if (p_target->p_display == nullptr) {
    return -1;
  }
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(p_target->p_display, window, &attributes) || attributes.depth != 24 ||
      attributes.visual->c_class != TrueColor || attributes.visual->red_mask != 0xff0000 ||
      attributes.visual->green_mask != 0xff00 || attributes.visual->blue_mask != 0xff) {
    return -1;
  }
  if (!p_target->shareImage(attributes.visual, size) &&
      !p_target->plainImage(attributes.visual, size)) {
    return -1;
  }
  if (p_target->p_image->bits_per_pixel != 32) {
    return -1;
  }
  p_target->window = window;
  p_target->gc = XCreateGC(p_target->p_display, window, 0, nullptr);
  m_p_x_target = std::move(p_target);
  m_size = size;
  m_cell_size = cell_size;
  m_p_font = p_font;
  m_char_size = char_size;
  m_stamps.clear();
  m_pixels.assign(static_cast<std::size_t>(size.x) * size.y, 0);
  m_cells.clear();
  m_cell_boxes.clear();
  m_unshown.clear();
  return 0;
}

bool FrameCompositor::canCompose(const CompositeCell &cell) const {
  const float background_left = cell.pixel_pos.x - m_cell_size.x / 10;
  const float background_top = cell.pixel_pos.y + m_cell_size.y / 5;
  return isWhole(cell.pixel_pos.x) && isWhole(cell.pixel_pos.y) &&
         clearOfCentres(background_left) && clearOfCentres(background_left + m_cell_size.x) &&
         clearOfCentres(background_top) && clearOfCentres(background_top + m_cell_size.y);
}

void FrameCompositor::compose(const std::vector<CompositeCell> &cells) {
  makeStamps(cells);
  markChanged(cells);
  m_cells = cells;
  for (const PixelBox &box : m_changed) {
    paint(m_cells, box);
    m_unshown.push_back(box);
  }
  if (m_unshown.size() > CHANGED_BOXES_MAX) {
    PixelBox bounds = m_unshown.front();
    for (const PixelBox &box : m_unshown) {
      bounds = PixelBox{std::min(bounds.left, box.left), std::min(bounds.top, box.top),
                        std::max(bounds.right, box.right), std::max(bounds.bottom, box.bottom)};
    }
    m_unshown.assign(1, bounds);
  }
}

int FrameCompositor::show(bool whole) {
  if (!m_p_x_target) {
    return -1;
  }
  if (whole) {
    m_unshown.assign(1, PixelBox{0, 0, static_cast<int>(m_size.x), static_cast<int>(m_size.y)});
  }
  XTarget &target = *m_p_x_target;
  for (const PixelBox &box : m_unshown) {
    const auto width = static_cast<unsigned int>(box.right - box.left);
    const auto height = static_cast<unsigned int>(box.bottom - box.top);
    if (target.shared) {
      for (int y = box.top; y < box.bottom; y++) {
        const std::size_t at =
            static_cast<std::size_t>(y) * m_size.x + static_cast<std::size_t>(box.left);
        std::memcpy(target.p_image->data +
                        static_cast<std::size_t>(y) *
                            static_cast<std::size_t>(target.p_image->bytes_per_line) +
                        static_cast<std::size_t>(box.left) * 4,
                    &m_pixels[at], width * 4);
      }
      XShmPutImage(target.p_display, target.window, target.gc, target.p_image, box.left, box.top,
                   box.left, box.top, width, height, False);
    } else {
      // The plain image borrows the picture's rows for the time of the put.
      target.p_image->data = reinterpret_cast<char *>(m_pixels.data());
      XPutImage(target.p_display, target.window, target.gc, target.p_image, box.left, box.top,
                box.left, box.top, width, height);
      target.p_image->data = nullptr;
    }
  }
  m_unshown.clear();
  // The shared image is written again at the next show: the server must have
  // read it by then.
  XSync(target.p_display, False);
  return 0;
}

const std::uint32_t *FrameCompositor::getPixels() const {
  return m_pixels.data();
}

sf::Vector2u FrameCompositor::getSize() const {
  return m_size;
}

const FrameCompositor::Stamp *FrameCompositor::stampOf(const sf::Glyph *p_glyph) const {
  if (p_glyph == nullptr) {
    return nullptr;
  }
  const auto found = m_stamps.find({p_glyph->textureRect.left, p_glyph->textureRect.top});
  return found == m_stamps.end() ? nullptr : &found->second;
}

// OpenGL samples a glyph's texels with bilinear filtering, at places that a
// text's quad, one pixel wider than the glyph's texels, puts between texel
// centres; the pixels it makes of them are the same wherever the quad stands
// on whole pixels. So each glyph is drawn once, by OpenGL, in white over
// black, in a target the window's size, and its pixels are kept as the alpha
// it blends with. Glyphs not yet kept are drawn together, spaced apart.
void FrameCompositor::makeStamps(const std::vector<CompositeCell> &cells) {
  std::vector<const sf::Glyph *> missing;
  for (const CompositeCell &cell : cells) {
    if (cell.p_glyph != nullptr && stampOf(cell.p_glyph) == nullptr &&
        std::find(missing.begin(), missing.end(), cell.p_glyph) == missing.end()) {
      missing.push_back(cell.p_glyph);
    }
  }
  if (missing.empty() || m_p_font == nullptr) {
    return;
  }
  sf::RenderTexture target;
  if (!target.create(m_size.x, m_size.y)) {
    return;
  }
  const auto spacing = static_cast<int>(2 * m_char_size + 8);
  const int columns = std::max(1, static_cast<int>(m_size.x) / spacing - 1);
  const int rows = std::max(1, static_cast<int>(m_size.y) / spacing - 1);
  const float char_size = static_cast<float>(m_char_size);
  for (std::size_t first = 0; first < missing.size();
       first += static_cast<std::size_t>(columns * rows)) {
    const std::size_t last =
        std::min(missing.size(), first + static_cast<std::size_t>(columns * rows));
    sf::VertexArray quads(sf::Triangles);
    std::vector<sf::Vector2i> places;
    for (std::size_t k = first; k < last; k++) {
      const int slot = static_cast<int>(k - first);
      const sf::Vector2i place(spacing * (1 + slot % columns), spacing * (1 + slot / columns));
      places.push_back(place);
      // The quad as a text lays it out: padded by a pixel for smooth edges.
      const sf::FloatRect &bounds = missing[k]->bounds;
      const sf::IntRect &texels = missing[k]->textureRect;
      const float left = static_cast<float>(place.x) + (bounds.left - 1);
      const float top = static_cast<float>(place.y) + (char_size + bounds.top - 1);
      const float right = static_cast<float>(place.x) + (bounds.left + bounds.width + 1);
      const float bottom =
          static_cast<float>(place.y) + (char_size + bounds.top + bounds.height + 1);
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
      for (const int corner : {0, 1, 2, 2, 1, 3}) {
        quads.append(corners[corner]);
      }
    }
    target.clear(sf::Color::Black);
    target.draw(quads, sf::RenderStates(&m_p_font->getTexture(m_char_size)));
    target.display();
    const sf::Image picture = target.getTexture().copyToImage();
    for (std::size_t k = first; k < last; k++) {
      const sf::FloatRect &bounds = missing[k]->bounds;
      const sf::Vector2i place = places[k - first];
      Stamp stamp;
      stamp.left = static_cast<int>(std::floor(bounds.left - 1));
      stamp.top = static_cast<int>(std::floor(char_size + bounds.top - 1));
      stamp.width = static_cast<int>(std::ceil(bounds.left + bounds.width + 1)) - stamp.left;
      stamp.height =
          static_cast<int>(std::ceil(char_size + bounds.top + bounds.height + 1)) - stamp.top;
      for (int y = 0; y < stamp.height; y++) {
        for (int x = 0; x < stamp.width; x++) {
          stamp.alpha.push_back(picture
                                    .getPixel(static_cast<unsigned int>(place.x + stamp.left + x),
                                              static_cast<unsigned int>(place.y + stamp.top + y))
                                    .r);
        }
      }
      m_stamps[{missing[k]->textureRect.left, missing[k]->textureRect.top}] = std::move(stamp);
    }
  }
}

// The pixels that the cell's background and glyph may paint, within the picture.
FrameCompositor::PixelBox FrameCompositor::cellBox(const CompositeCell &cell) const {
  const float background_left = cell.pixel_pos.x - m_cell_size.x / 10;
  const float background_top = cell.pixel_pos.y + m_cell_size.y / 5;
  float left = background_left;
  float top = background_top;
  float right = background_left + m_cell_size.x;
  float bottom = background_top + m_cell_size.y;
  if (const Stamp *p_stamp = stampOf(cell.p_glyph)) {
    const float glyph_left = cell.pixel_pos.x + static_cast<float>(p_stamp->left);
    const float glyph_top = cell.pixel_pos.y + static_cast<float>(p_stamp->top);
    left = std::min(left, glyph_left);
    top = std::min(top, glyph_top);
    right = std::max(right, glyph_left + static_cast<float>(p_stamp->width));
    bottom = std::max(bottom, glyph_top + static_cast<float>(p_stamp->height));
  }
  // A position that is not a number paints nowhere.
  const auto clamped = [](float value, unsigned int limit) {
    return value > 0 ? static_cast<int>(std::min(value, static_cast<float>(limit))) : 0;
  };
  return PixelBox{clamped(std::floor(left), m_size.x), clamped(std::floor(top), m_size.y),
                  clamped(std::ceil(right), m_size.x), clamped(std::ceil(bottom), m_size.y)};
}

// The boxes to paint again: those of the cells that differ, at the same place
// in the frame, from the frame before, as they were and as they are. A frame
// of another length is painted whole.
void FrameCompositor::markChanged(const std::vector<CompositeCell> &cells) {
  m_changed.clear();
  const PixelBox whole{0, 0, static_cast<int>(m_size.x), static_cast<int>(m_size.y)};
  std::vector<PixelBox> new_boxes;
  new_boxes.reserve(cells.size());
  for (const CompositeCell &cell : cells) {
    new_boxes.push_back(cellBox(cell));
  }
  if (cells.size() != m_cells.size()) {
    m_changed.push_back(whole);
  } else {
    for (std::size_t i = 0; i < cells.size() && m_changed.size() <= CHANGED_BOXES_MAX; i++) {
      if (!(cells[i] == m_cells[i])) {
        m_changed.push_back(m_cell_boxes[i]);
        m_changed.push_back(new_boxes[i]);
      }
    }
    if (m_changed.size() > CHANGED_BOXES_MAX) {
      m_changed.assign(1, whole);
    }
  }
  m_cell_boxes.swap(new_boxes);
}

// Clears the box to black and paints every cell that reaches into it, in order.
void FrameCompositor::paint(const std::vector<CompositeCell> &cells, const PixelBox &box) {
  if (box.left >= box.right || box.top >= box.bottom) {
    return;
  }
  for (int y = box.top; y < box.bottom; y++) {
    std::uint32_t *p_row = &m_pixels[static_cast<std::size_t>(y) * m_size.x];
    std::fill(p_row + box.left, p_row + box.right, 0u);
  }
  for (std::size_t i = 0; i < cells.size(); i++) {
    const PixelBox &cell_box = m_cell_boxes[i];
    if (cell_box.left < box.right && cell_box.right > box.left && cell_box.top < box.bottom &&
        cell_box.bottom > box.top) {
      paintCell(cells[i], box);
    }
  }
}

void FrameCompositor::paintCell(const CompositeCell &cell, const PixelBox &clip) {
  // The background: every pixel whose centre it covers, as the rasterizer
  // fills it, edges added up as a shape's transform adds them.
  const float background_left = cell.pixel_pos.x - m_cell_size.x / 10;
  const float background_top = cell.pixel_pos.y + m_cell_size.y / 5;
  const int left = std::max(clip.left, firstCentreFrom(background_left));
  const int right = std::min(clip.right, firstCentreFrom(background_left + m_cell_size.x));
  const int top = std::max(clip.top, firstCentreFrom(background_top));
  const int bottom = std::min(clip.bottom, firstCentreFrom(background_top + m_cell_size.y));
  for (int y = top; y < bottom && left < right; y++) {
    std::uint32_t *p_row = &m_pixels[static_cast<std::size_t>(y) * m_size.x];
    std::fill(p_row + left, p_row + right, 0u);
  }
  const Stamp *p_stamp = stampOf(cell.p_glyph);
  if (p_stamp == nullptr) {
    return;
  }
  // The glyph: its stamp's alpha, blended over what is there.
  const int glyph_left = static_cast<int>(cell.pixel_pos.x) + p_stamp->left;
  const int glyph_top = static_cast<int>(cell.pixel_pos.y) + p_stamp->top;
  const int from_x = std::max(clip.left, glyph_left);
  const int to_x = std::min(clip.right, glyph_left + p_stamp->width);
  const int from_y = std::max(clip.top, glyph_top);
  const int to_y = std::min(clip.bottom, glyph_top + p_stamp->height);
  std::array<std::uint32_t, 256> over_black;
  for (unsigned int alpha = 0; alpha < 256; alpha++) {
    over_black[alpha] = packed(MUL.product[cell.color.r][alpha], MUL.product[cell.color.g][alpha],
                               MUL.product[cell.color.b][alpha]);
  }
  for (int y = from_y; y < to_y; y++) {
    std::uint32_t *p_row = &m_pixels[static_cast<std::size_t>(y) * m_size.x];
    const std::uint8_t *p_alpha =
        &p_stamp->alpha[static_cast<std::size_t>((y - glyph_top) * p_stamp->width - glyph_left)];
    for (int x = from_x; x < to_x; x++) {
      const std::uint8_t alpha = p_alpha[x];
      if (alpha == 0) {
        continue;
      }
      p_row[x] = p_row[x] == 0 ? over_black[alpha] : blendPixel(cell.color, alpha, p_row[x]);
    }
  }
}

} // namespace qm
