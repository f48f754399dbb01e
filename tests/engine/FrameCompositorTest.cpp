// The compositor's pictures against the per-cell reference drawn by OpenGL:
// frames of cells on whole pixels, each composed over the one before, must
// agree in every pixel, and what show puts on the window is the picture.
#include "FrameCompositor.h"

#include "DisplayManager.h"
#include "PerCellDrawing.h"
#include "Screen.h"
#include "Spy.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

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

class Compositor : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(qm_test::startDisplay(), 0);
    ASSERT_TRUE(font.loadFromFile(qm::FONT_FILE_DEFAULT));
  }
  void SetUp() override {
    qm_test::resetWorld();
    ASSERT_EQ(compositor.attach(window().getSystemHandle(), window().getSize(),
                                sf::Vector2f(qm::charWidth(), qm::charHeight()), &font, 24),
              0);
  }
  static sf::RenderWindow &window() { return *qm::DisplayManager::getInstance().getWindow(); }

  std::vector<qm::CompositeCell> composite(const Frame &frame) {
    std::vector<qm::CompositeCell> cells;
    for (const TestCell &cell : frame) {
      const sf::Uint32 code = sf::String(std::string(1, cell.ch))[0];
      const bool blank = code == ' ' || code == '\t' || code == '\n' || code == '\r';
      const sf::Glyph *p_glyph = blank ? nullptr : &font.getGlyph(code, 24, true);
      cells.push_back(qm::CompositeCell{sf::Vector2f(cell.col * 12, cell.row * 32), p_glyph,
                                        SCREEN_COLORS[cell.color]});
    }
    return cells;
  }

  static sf::Image perCell(const Frame &frame) {
    for (const TestCell &cell : frame) {
      qm_test::drawChPerCell(qm::Vector(cell.col, cell.row), cell.ch, cell.color);
    }
    window().display();
    const sf::Image image = qm_test::Screen::shown().image();
    window().clear(sf::Color::Black);
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

  static inline sf::Font font;
  qm::FrameCompositor compositor;
};

TEST_F(Compositor, FramesInARowMatchThePerCellPicture) {
  const std::vector<Frame> frames = {
      grid(11, 0),
      grid(11, 384), // five cells changed
      {{5, 5, 'W', qm::RED},
       {5, 5, 'i', qm::GREEN},
       {7, 5, 'M', qm::BLUE},
       {7, 5, ' ', qm::BLUE},
       {10.5f, 3.5f, '#', qm::WHITE},
       {11, 3.5f, '@', qm::YELLOW},
       {-1, 0, 'X', qm::CYAN},
       {79.5f, 23.5f, 'Q', qm::MAGENTA}},
      grid(12, 0),
      {},
  };
  for (std::size_t i = 0; i < frames.size(); i++) {
    const std::vector<qm::CompositeCell> cells = composite(frames[i]);
    for (const qm::CompositeCell &cell : cells) {
      ASSERT_TRUE(compositor.canCompose(cell)) << "frame " << i;
    }
    compositor.compose(cells);
    EXPECT_EQ(differingPixels(perCell(frames[i])), 0) << "frame " << i;
  }
}

TEST_F(Compositor, ShowPutsWhatChangedOnTheWindow) {
  compositor.compose(composite(grid(11, 0)));
  ASSERT_EQ(compositor.show(true), 0);
  compositor.compose(composite(grid(11, 384)));
  ASSERT_EQ(compositor.show(false), 0);
  EXPECT_EQ(differingPixels(qm_test::Screen::shown().image()), 0);
  EXPECT_GT(differingPixels(perCell(grid(11, 0))), 0) << "the two frames differ";
}

} // namespace
