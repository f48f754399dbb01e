// The compositor's pictures against the per-cell reference drawn by OpenGL:
// frames of cells anywhere, on whole pixels and between them, each composed
// over the one before, through moved and barred views and at other scales,
// must agree in every pixel, and what show puts on the window is the
// picture, also after something covered it.
#include "FrameCompositor.h"

#include "DisplayManager.h"
#include "PerCellDrawing.h"
#include "PictureFit.h"
#include "Screen.h"
#include "Spy.h"

#include <gtest/gtest.h>
// After the test framework, whose names X's macros would take.
#include <X11/Xlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// No limit on what a frame may learn: every frame here is composed.
constexpr std::size_t ALL = SIZE_MAX;

struct TestCell {
  float col, row;
  char ch;
  qm::Color color;
};
using Frame = std::vector<TestCell>;

const sf::Color SCREEN_COLORS[] = {sf::Color::Black,  sf::Color::Red,  sf::Color::Green,
                                   sf::Color::Yellow, sf::Color::Blue, sf::Color::Magenta,
                                   sf::Color::Cyan,   sf::Color::White};

// Every cell of the grid, characters and colours drawn from seed; every
// changed_every-th cell takes the next character.
Frame grid(unsigned seed, int changed_every) {
  srand(seed);
  Frame frame;
  for (int i = 0; i < 80 * 24; i++) {
    const int value = rand() % 256 - 128 + (changed_every > 0 && i % changed_every == 0);
    frame.push_back(TestCell{static_cast<float>(i % 80), static_cast<float>(i / 80),
                             static_cast<char>(value), static_cast<qm::Color>(rand() % 8)});
  }
  return frame;
}

// count cells anywhere on and around the grid, between pixels, every char
// value and colour in turn; a few with a background edge as near to a pixel
// centre as floats get.
Frame scattered(unsigned seed, int count) {
  srand(seed);
  const auto anywhere = [](float low, float high) {
    return low + (high - low) * static_cast<float>(rand()) / static_cast<float>(RAND_MAX);
  };
  Frame frame;
  for (int i = 0; i < count; i++) {
    frame.push_back(TestCell{anywhere(-2, 82), anywhere(-2, 26), static_cast<char>(i % 256 - 128),
                             static_cast<qm::Color>(i % 8)});
  }
  for (const float nudge : {-1.0f / 512, 0.0f, 1.0f / 512}) {
    frame.push_back(TestCell{(100.5f + 1.2f + nudge) / 12, 7, '#', qm::GREEN});
    frame.push_back(TestCell{(200.5f - 12 + 1.2f + nudge) / 12, 9, '#', qm::RED});
    frame.push_back(TestCell{30, (300.5f - 6.4f + nudge) / 32, '#', qm::BLUE});
    frame.push_back(TestCell{40, (400.5f - 32 - 6.4f + nudge) / 32, '#', qm::CYAN});
  }
  return frame;
}

// The compositor on a window fitted as the display's screen fits it, drawing
// from the reference's own font so that both sample the same page: where a
// glyph lies on it shifts OpenGL's filtering between pixels by a shade.
class Compositor : public ::testing::Test {
protected:
  static void SetUpTestSuite() { ASSERT_EQ(qm_test::startDisplay(), 0); }
  void SetUp() override {
    qm_test::resetWorld();
    attach(window());
  }
  static sf::RenderWindow &window() { return *qm::DisplayManager::getInstance().getWindow(); }

  void attach(sf::RenderWindow &target) {
    p_window = &target;
    const sf::Vector2u size = target.getSize();
    fit = qm::PictureFit(size, sf::Vector2u(1024, 768), sf::Vector2u(80, 24));
    target.setView(fit.getView());
    ASSERT_EQ(
        compositor.attach(&target, fit, qm_test::perCellFont(), size == sf::Vector2u(1024, 768)),
        0);
  }

  std::vector<qm::CompositeCell> composite(const Frame &frame) const {
    std::vector<qm::CompositeCell> cells;
    for (const TestCell &cell : frame) {
      const sf::Uint32 code = sf::String(std::string(1, cell.ch))[0];
      const bool blank = code == ' ' || code == '\t' || code == '\n' || code == '\r';
      const sf::Glyph *p_glyph =
          blank ? nullptr : &qm_test::perCellFont()->getGlyph(code, fit.getCharSize(), true);
      cells.push_back(qm::CompositeCell{fit.textPosition(qm::Vector(cell.col, cell.row)), p_glyph,
                                        SCREEN_COLORS[cell.color]});
    }
    return cells;
  }

  // Drawn in the window's back buffer and read from there, never shown.
  sf::Image perCell(const Frame &frame) const {
    for (const TestCell &cell : frame) {
      qm_test::drawChPerCell(*p_window, fit, qm::Vector(cell.col, cell.row), cell.ch, cell.color);
    }
    const sf::Image image = qm_test::Screen::drawn(*p_window).image();
    p_window->clear(sf::Color::Black);
    return image;
  }

  int differingPixels(const sf::Image &image) const {
    const sf::Uint32 *p_pixels = compositor.getPixels();
    int differing = 0;
    for (unsigned int y = 0; y < image.getSize().y; y++) {
      for (unsigned int x = 0; x < image.getSize().x; x++) {
        const sf::Color expected = image.getPixel(x, y);
        differing += p_pixels[y * image.getSize().x + x] !=
                     ((sf::Uint32(expected.r) << 16) | (sf::Uint32(expected.g) << 8) | expected.b);
      }
    }
    return differing;
  }

  sf::RenderWindow *p_window = nullptr;
  qm::PictureFit fit{sf::Vector2u(1, 1), sf::Vector2u(1, 1), sf::Vector2u(1, 1)};
  qm::FrameCompositor compositor;
};

TEST_F(Compositor, FramesInARowMatchThePerCellPicture) {
  // A cell come and one gone in the middle of the frame, as objects come and
  // go, and a run of changed cells too many to paint one by one.
  Frame come = grid(11, 0);
  come.insert(come.begin() + 900, TestCell{20.5f, 11.25f, 'Z', qm::RED});
  Frame gone = grid(11, 0);
  gone.erase(gone.begin() + 500);
  Frame run = gone;
  for (std::size_t i = 1000; i < 1060; i++) {
    run[i].ch = 'x';
  }
  const std::vector<Frame> frames = {
      grid(11, 0),
      grid(11, 384), // five cells changed
      grid(11, 0),
      come,
      gone,
      run,
      {{5, 5, 'W', qm::RED},
       {5, 5, 'i', qm::GREEN},
       {7, 5, 'M', qm::BLUE},
       {7, 5, ' ', qm::BLUE},
       {10.5f, 3.5f, '#', qm::WHITE},
       {11, 3.5f, '@', qm::YELLOW},
       {-1, 0, 'X', qm::CYAN},
       {79.5f, 23.5f, 'Q', qm::MAGENTA}},
      grid(12, 0),
      scattered(13, 1500),
      scattered(14, 1500),
      {},
  };
  for (std::size_t i = 0; i < frames.size(); i++) {
    ASSERT_EQ(compositor.compose(composite(frames[i]), ALL), 0) << "frame " << i;
    EXPECT_EQ(differingPixels(perCell(frames[i])), 0) << "frame " << i;
  }
}

// One glyph moving between pixels over a still grid, as a ball does, then
// the window's view moved by whole pixels and between pixels.
TEST_F(Compositor, MovingGlyphsAndMovedViewsMatchThePerCellPicture) {
  Frame frame = grid(15, 0);
  frame.push_back(TestCell{0, 0, '@', qm::YELLOW});
  for (int pass = 0; pass < 8; pass++) {
    frame.back().col += 0.37f;
    frame.back().row += 0.29f;
    ASSERT_EQ(compositor.compose(composite(frame), ALL), 0);
    EXPECT_EQ(differingPixels(perCell(frame)), 0) << "pass " << pass;
  }
  const sf::View plain_view = window().getView();
  // A view with black bars around it, as a window of another shape has.
  sf::View barred_view(sf::FloatRect(0, 0, 820, 690));
  barred_view.setViewport(sf::FloatRect(100.0f / 1024, 40.0f / 768, 820.0f / 1024, 690.0f / 768));
  frame = scattered(99, 1000);
  for (const sf::Vector2f shift : {sf::Vector2f(-17, 9), sf::Vector2f(0.3f, -0.7f)}) {
    for (sf::View moved_view : {plain_view, barred_view}) {
      moved_view.move(shift);
      window().setView(moved_view);
      ASSERT_EQ(compositor.compose(composite(frame), ALL), 0);
      EXPECT_EQ(differingPixels(perCell(frame)), 0)
          << shift.x << ", " << shift.y << ", " << moved_view.getSize().x;
    }
  }
  sf::View zoomed_view = plain_view;
  zoomed_view.zoom(0.5f);
  window().setView(zoomed_view);
  EXPECT_EQ(compositor.compose(composite(frame), ALL), -1);
  window().setView(plain_view);
}

// Another window over the window's top left corner for a moment, as one
// dragged across it would be.
void coverForAMoment(sf::WindowHandle window) {
  ::Display *p_display = XOpenDisplay(nullptr);
  ASSERT_NE(p_display, nullptr);
  int x = 0, y = 0;
  ::Window child;
  XTranslateCoordinates(p_display, window, DefaultRootWindow(p_display), 0, 0, &x, &y, &child);
  XSetWindowAttributes attributes = {};
  attributes.override_redirect = True;
  attributes.background_pixel = WhitePixel(p_display, DefaultScreen(p_display));
  const ::Window cover =
      XCreateWindow(p_display, DefaultRootWindow(p_display), x, y, 300, 200, 0, CopyFromParent,
                    InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
  XMapRaised(p_display, cover);
  XSync(p_display, False);
  XDestroyWindow(p_display, cover);
  XSync(p_display, False);
  XCloseDisplay(p_display);
}

// Windows of twice the size, and of another shape with bars left and right,
// every glyph on whole pixels at the scale and backgrounds between them.
TEST_F(Compositor, ScaledFramesMatchThePerCellPictureAtTheSameScale) {
  for (const sf::Vector2u size : {sf::Vector2u(2048, 1536), sf::Vector2u(1600, 900)}) {
    sf::RenderWindow scaled(sf::VideoMode(size.x, size.y), "scaled");
    attach(scaled);
    for (const Frame &frame : {grid(16, 0), grid(16, 384), scattered(17, 600)}) {
      ASSERT_EQ(compositor.compose(composite(frame), ALL), 0);
      EXPECT_EQ(differingPixels(perCell(frame)), 0) << size.x;
    }
    compositor.detach();
  }
}

TEST_F(Compositor, ShowPutsWhatChangedOnTheWindowAndWhatWasCovered) {
  compositor.compose(composite(grid(11, 0)), ALL);
  ASSERT_EQ(compositor.show(true), 0);
  Frame changed = grid(11, 384);
  changed[7].col = 100; // off the window
  compositor.compose(composite(changed), ALL);
  ASSERT_EQ(compositor.show(false), 0);
  EXPECT_EQ(differingPixels(qm_test::Screen::shown().image()), 0);
  EXPECT_GT(differingPixels(perCell(grid(11, 0))), 0) << "the two frames differ";
  coverForAMoment(window().getSystemHandle());
  EXPECT_GT(differingPixels(qm_test::Screen::shown().image()), 0) << "the cover left its mark";
  ASSERT_EQ(compositor.show(false), 0);
  EXPECT_EQ(differingPixels(qm_test::Screen::shown().image()), 0);
}

} // namespace
