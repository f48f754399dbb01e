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

// Boxes painted in one frame, or put in one show, beyond which they are
// taken as the one box around them all; and boxes beyond which they are not
// even merged first.
constexpr std::size_t CHANGED_BOXES_MAX = 32;
constexpr std::size_t MERGED_BOXES_MAX = 64;

// Colours whose glyphs over black are looked up rather than blended.
constexpr std::size_t OVER_BLACK_TABLES_MAX = 16;

// a * b / 255 for bytes as llvmpipe's blending rounds it: exactly, by the
// geometric series with round-off (t + t / 256 + 128) / 256.
constexpr std::uint8_t mulNorm(unsigned int a, unsigned int b) {
  const unsigned int t = a * b;
  return static_cast<std::uint8_t>((t + (t >> 8) + 0x80) >> 8);
}

// Boxes that overlap or touch become the box around them, so that no pixel is
// painted or put twice and few boxes are left; more than CHANGED_BOXES_MAX
// left become one. Painting a box gives the whole frame's pixels there, so
// painting more of them than changed only costs time.
void merge(std::vector<PixelBox> *p_boxes) {
  std::vector<PixelBox> &boxes = *p_boxes;
  boxes.erase(
      std::remove_if(boxes.begin(), boxes.end(), [](const PixelBox &box) { return box.isEmpty(); }),
      boxes.end());
  if (boxes.size() <= MERGED_BOXES_MAX) {
    for (std::size_t i = 0; i < boxes.size(); i++) {
      for (std::size_t j = i + 1; j < boxes.size();) {
        const PixelBox &a = boxes[i];
        const PixelBox &b = boxes[j];
        if (a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom) {
          boxes[i] = a.around(b);
          boxes[j] = boxes.back();
          boxes.pop_back();
          // Grown, it may now meet a box already passed over.
          j = i + 1;
        } else {
          j++;
        }
      }
    }
  }
  if (boxes.size() > CHANGED_BOXES_MAX) {
    PixelBox bounds = boxes.front();
    for (const PixelBox &box : boxes) {
      bounds = bounds.around(box);
    }
    boxes.assign(1, bounds);
  }
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

// Set when the X server answered one of the compositor's requests with an
// error.
bool request_refused = false;

extern "C" int noteRefusal(::Display *, XErrorEvent *) {
  request_refused = true;
  return 0;
}

// Waits until the server has dealt with every request sent so far on the
// connection: false when it refused one. Xlib's own handler would end the
// program, as for a segment shared with a server on another machine, or a
// put on a window that has just been closed.
template <class Requests> bool quietly(::Display *p_display, Requests requests) {
  request_refused = false;
  const XErrorHandler previous = XSetErrorHandler(noteRefusal);
  const bool answered = requests();
  XSync(p_display, False);
  XSetErrorHandler(previous);
  return answered && !request_refused;
}

bool syncQuietly(::Display *p_display) {
  return quietly(p_display, [] { return true; });
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
        syncQuietly(p_display);
        shmdt(shm.shmaddr);
        p_image->data = nullptr;
      }
      XDestroyImage(p_image);
    }
    if (gc != nullptr) {
      XFreeGC(p_display, gc);
      syncQuietly(p_display);
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
    const bool attached = XShmAttach(p_display, &shm) != 0 && syncQuietly(p_display);
    // Marked for removal now, the segment goes once both sides let go of it,
    // however the program ends.
    shmctl(shm.shmid, IPC_RMID, nullptr);
    shared = attached;
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

FrameCompositor::FrameCompositor() = default;

FrameCompositor::~FrameCompositor() = default;

int FrameCompositor::attach(sf::RenderWindow *p_window, const PictureFit &fit,
                            const sf::Font *p_font, bool share_whole) {
  m_p_x_target.reset();
  m_p_window = nullptr;
  const sf::Vector2u size = p_window->getSize();
  auto p_target = std::make_unique<XTarget>();
  p_target->p_display = XOpenDisplay(nullptr);
  if (p_target->p_display == nullptr) {
    return -1;
  }
  const sf::WindowHandle window = p_window->getSystemHandle();
  XWindowAttributes attributes;
  if (!quietly(
          p_target->p_display,
          [&] { return XGetWindowAttributes(p_target->p_display, window, &attributes) != 0; }) ||
      attributes.depth != 24 || attributes.visual->c_class != TrueColor ||
      attributes.visual->red_mask != 0xff0000 || attributes.visual->green_mask != 0xff00 ||
      attributes.visual->blue_mask != 0xff) {
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
  if (!quietly(p_target->p_display, [&] {
        p_target->gc = XCreateGC(p_target->p_display, window, 0, nullptr);
        XSelectInput(p_target->p_display, window, ExposureMask);
        return true;
      })) {
    return -1;
  }
  m_p_x_target = std::move(p_target);
  m_p_window = p_window;
  m_size = size;
  const sf::IntRect picture = fit.getPictureRect();
  m_picture = PixelBox{picture.left, picture.top, picture.left + picture.width,
                       picture.top + picture.height};
  m_stamps.attach(p_window, fit, p_font, share_whole);
  m_placed = false;
  m_pixels.assign(static_cast<std::size_t>(size.x) * size.y, 0);
  m_cells.clear();
  m_cell_boxes.clear();
  m_unshown.clear();
  return 0;
}

void FrameCompositor::detach() {
  m_p_x_target.reset();
  m_p_window = nullptr;
}

int FrameCompositor::compose(const std::vector<CompositeCell> &cells, std::size_t learnt_max) {
  if (!m_p_x_target) {
    return -1;
  }
  if (!placeView()) {
    m_placed = false;
    return -1;
  }
  if (!m_paint_whole && cells == m_cells) {
    return 0;
  }
  if (!m_stamps.learn(cells, m_cells, learnt_max, LEARNT_AHEAD)) {
    return 1;
  }
  markChanged(cells);
  m_cells = cells;
  for (const PixelBox &box : m_changed) {
    paint(m_cells, box);
    m_unshown.push_back(box);
  }
  merge(&m_unshown);
  return 0;
}

int FrameCompositor::show(bool whole) {
  if (!m_p_x_target) {
    return -1;
  }
  XTarget &target = *m_p_x_target;
  // A window that was covered or hidden has lost what was under: the server
  // says so with exposures, on this connection too.
  XEvent exposure;
  while (XCheckTypedWindowEvent(target.p_display, target.window, Expose, &exposure)) {
    whole = true;
  }
  if (whole) {
    m_unshown.assign(1, PixelBox{0, 0, static_cast<int>(m_size.x), static_cast<int>(m_size.y)});
  }
  if (m_unshown.empty()) {
    return 0;
  }
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
  return syncQuietly(target.p_display) ? 0 : -1;
}

const std::uint32_t *FrameCompositor::getPixels() const {
  return m_pixels.data();
}

sf::Vector2u FrameCompositor::getSize() const {
  return m_size;
}

// The view's pixels must fall one to one on the window's, as the display's
// view puts them, however far it has moved. When the view has moved since
// the last frame, everything learnt is dropped and the next frame is painted
// whole.
bool FrameCompositor::placeView() {
  const sf::View &view = m_p_window->getView();
  const sf::IntRect port = m_p_window->getViewport(view);
  const sf::Vector2f view_size = view.getSize();
  if (view.getRotation() != 0 || view_size.x != static_cast<float>(port.width) ||
      view_size.y != static_cast<float>(port.height)) {
    return false;
  }
  const sf::Vector2f origin(static_cast<float>(port.left) - (view.getCenter().x - view_size.x / 2),
                            static_cast<float>(port.top) - (view.getCenter().y - view_size.y / 2));
  const PixelBox clip =
      PixelBox{port.left, port.top, port.left + port.width, port.top + port.height}
          .within(PixelBox{0, 0, static_cast<int>(m_size.x), static_cast<int>(m_size.y)})
          .within(m_picture);
  if (m_placed && origin == m_origin && clip.left == m_clip.left && clip.top == m_clip.top &&
      clip.right == m_clip.right && clip.bottom == m_clip.bottom) {
    return true;
  }
  m_origin = origin;
  m_clip = clip;
  m_placed = true;
  m_stamps.place(origin, clip);
  m_paint_whole = true;
  return true;
}

// The pixels that the cell's background and glyph may paint, within the clip.
PixelBox FrameCompositor::cellBox(const CellStamps::CellPaint &paint) const {
  const PixelBox box = paint.background.within(m_clip);
  const PixelBox glyph_box =
      paint.p_alpha != nullptr ? paint.glyph_box.within(m_clip) : PixelBox{0, 0, 0, 0};
  if (box.isEmpty() || glyph_box.isEmpty()) {
    return box.isEmpty() ? glyph_box : box;
  }
  return box.around(glyph_box);
}

// The boxes to paint again: those of the cells that differ from the frame
// before, as they were and as they are. Cells alike at the start of both
// frames and at their end paint alike; of those between, a frame of the same
// length differs only where a cell differs at the same place, a frame of
// another length in all of them.
void FrameCompositor::markChanged(const std::vector<CompositeCell> &cells) {
  m_changed.clear();
  m_new_boxes.clear();
  for (const CellStamps::CellPaint &paint : m_stamps.getPaints()) {
    m_new_boxes.push_back(cellBox(paint));
  }
  if (m_paint_whole) {
    m_changed.push_back(PixelBox{0, 0, static_cast<int>(m_size.x), static_cast<int>(m_size.y)});
    m_paint_whole = false;
  } else {
    const std::size_t common = std::min(cells.size(), m_cells.size());
    std::size_t head = 0;
    while (head < common && cells[head] == m_cells[head]) {
      head++;
    }
    std::size_t tail = 0;
    while (tail < common - head &&
           cells[cells.size() - 1 - tail] == m_cells[m_cells.size() - 1 - tail]) {
      tail++;
    }
    if (cells.size() == m_cells.size()) {
      for (std::size_t i = head; i < cells.size() - tail; i++) {
        if (!(cells[i] == m_cells[i])) {
          m_changed.push_back(m_cell_boxes[i]);
          m_changed.push_back(m_new_boxes[i]);
        }
      }
    } else {
      m_changed.insert(m_changed.end(), m_cell_boxes.begin() + static_cast<std::ptrdiff_t>(head),
                       m_cell_boxes.end() - static_cast<std::ptrdiff_t>(tail));
      m_changed.insert(m_changed.end(), m_new_boxes.begin() + static_cast<std::ptrdiff_t>(head),
                       m_new_boxes.end() - static_cast<std::ptrdiff_t>(tail));
    }
    merge(&m_changed);
  }
  m_cell_boxes.swap(m_new_boxes);
}

// Clears the box to black and paints every cell that reaches into it, in
// order, within the clip.
void FrameCompositor::paint(const std::vector<CompositeCell> &cells, const PixelBox &box) {
  if (box.isEmpty()) {
    return;
  }
  for (int y = box.top; y < box.bottom; y++) {
    std::uint32_t *p_row = &m_pixels[static_cast<std::size_t>(y) * m_size.x];
    std::fill(p_row + box.left, p_row + box.right, 0u);
  }
  const PixelBox clip = box.within(m_clip);
  for (std::size_t i = 0; i < cells.size(); i++) {
    if (m_cell_boxes[i].meets(clip)) {
      paintCell(cells[i].color, m_stamps.getPaints()[i], clip);
    }
  }
}

// Kept for the few colours that frames use.
const std::array<std::uint32_t, 256> &FrameCompositor::overBlack(sf::Color color) {
  for (const auto &table : m_over_black) {
    if (table.first == color) {
      return table.second;
    }
  }
  if (m_over_black.size() >= OVER_BLACK_TABLES_MAX) {
    m_over_black.clear();
  }
  m_over_black.emplace_back();
  m_over_black.back().first = color;
  for (unsigned int alpha = 0; alpha < 256; alpha++) {
    m_over_black.back().second[alpha] = packed(
        MUL.product[color.r][alpha], MUL.product[color.g][alpha], MUL.product[color.b][alpha]);
  }
  return m_over_black.back().second;
}

void FrameCompositor::paintCell(sf::Color color, const CellStamps::CellPaint &paint,
                                const PixelBox &clip) {
  const PixelBox background = paint.background.within(clip);
  for (int y = background.top; y < background.bottom && background.left < background.right; y++) {
    std::uint32_t *p_row = &m_pixels[static_cast<std::size_t>(y) * m_size.x];
    std::fill(p_row + background.left, p_row + background.right, 0u);
  }
  const std::uint8_t *p_alpha = paint.p_alpha;
  if (p_alpha == nullptr) {
    return;
  }
  const PixelBox &glyph_box = paint.glyph_box;
  // The glyph: its alpha, blended over what is there.
  const PixelBox painted = glyph_box.within(clip);
  const auto stamp_width = static_cast<std::size_t>(glyph_box.right - glyph_box.left);
  const std::array<std::uint32_t, 256> &over_black = overBlack(color);
  for (int y = painted.top; y < painted.bottom; y++) {
    std::uint32_t *p_row = &m_pixels[static_cast<std::size_t>(y) * m_size.x];
    const std::uint8_t *p_row_alpha =
        p_alpha + static_cast<std::size_t>(y - glyph_box.top) * stamp_width;
    for (int x = painted.left; x < painted.right; x++) {
      const std::uint8_t alpha = p_row_alpha[x - glyph_box.left];
      if (alpha == 0) {
        continue;
      }
      p_row[x] = p_row[x] == 0 ? over_black[alpha] : blendPixel(color, alpha, p_row[x]);
    }
  }
}

} // namespace qm
