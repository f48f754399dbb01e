// The display's batched drawing against the per-cell reference: every frame
// is drawn both ways and the windows' pictures must agree in every pixel, with
// the same log lines. Repeated frames, shown from the kept picture, too; and
// the renderer at other scales against the reference drawn at those scales.
#include "CellRenderer.h"
#include "DisplayManager.h"
#include "Frame.h"
#include "PerCellDrawing.h"
#include "ResourceManager.h"
#include "Screen.h"
#include "Sprite.h"
#include "Spy.h"
#include "TestSupport.h"
#include "WorldManager.h"
#include "utility.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// One way of drawing: the display's own calls, or the per-cell reference.
struct Painter {
  std::function<void(qm::Vector, char, qm::Color)> ch;
  std::function<void(qm::Vector, const std::string &, qm::Justification, qm::Color)> string;
  std::function<void(const qm::Frame &, qm::Vector, qm::Color)> frame;
};

const Painter BATCHED{
    [](qm::Vector pos, char ch, qm::Color color) {
      qm::DisplayManager::getInstance().drawCh(pos, ch, color);
    },
    [](qm::Vector pos, const std::string &str, qm::Justification just, qm::Color color) {
      qm::DisplayManager::getInstance().drawString(pos, str, just, color);
    },
    [](const qm::Frame &frame, qm::Vector pos, qm::Color color) { frame.draw(pos, color); }};

// The per-cell layout of strings and frames around one way of drawing a cell.
Painter perCellPainter(const qm_test::DrawCh &draw_ch) {
  return Painter{
      draw_ch,
      [draw_ch](qm::Vector pos, const std::string &str, qm::Justification just, qm::Color color) {
        qm_test::drawStringPerCell(draw_ch, pos, str, just, color);
      },
      [draw_ch](const qm::Frame &frame, qm::Vector pos, qm::Color color) {
        qm_test::drawFramePerCell(draw_ch, frame, pos, color);
      }};
}

const Painter PER_CELL = perCellPainter(
    [](qm::Vector pos, char ch, qm::Color color) { qm_test::drawChPerCell(pos, ch, color); });

using Picture = std::function<void(const Painter &)>;

void drawSprite(const Painter &paint, const std::string &label, int frame_number, qm::Vector pos) {
  const qm::Sprite *p_sprite = qm::ResourceManager::getInstance().getSprite(label);
  ASSERT_NE(p_sprite, nullptr) << label;
  paint.frame(p_sprite->getFrame(frame_number), pos, p_sprite->getColor());
}

// Every cell of the grid, with characters and colours drawn from seed.
Picture randomGrid(unsigned seed) {
  return [seed](const Painter &paint) {
    srand(seed);
    for (int row = 0; row < 24; row++) {
      for (int col = 0; col < 80; col++) {
        const char ch = static_cast<char>(rand() % 256 - 128);
        paint.ch(qm::Vector(static_cast<float>(col), static_cast<float>(row)), ch,
                 static_cast<qm::Color>(rand() % 8));
      }
    }
  };
}

struct Case {
  const char *name;
  Picture draw;
};

const std::vector<Case> &cases() {
  static const std::vector<Case> all = {
      {"start screen",
       [](const Painter &p) { drawSprite(p, "game_start", 0, qm::Vector(40, 12)); }},
      {"game over screen",
       [](const Painter &p) { drawSprite(p, "game_over", 3, qm::Vector(40, 12)); }},
      {"win screen", [](const Painter &p) { drawSprite(p, "win", 1, qm::Vector(40, 12)); }},
      {"game in play",
       [](const Painter &p) {
         drawSprite(p, "top_border", 0, qm::Vector(40, 0));
         drawSprite(p, "side_border", 0, qm::Vector(0, 12));
         drawSprite(p, "side_border", 0, qm::Vector(79, 12));
         drawSprite(p, "corner", 0, qm::Vector(1, 1));
         drawSprite(p, "platform", 0, qm::Vector(37.6f, 21));
         drawSprite(p, "ball", 0, qm::Vector(22.31f, 13.5f));
         drawSprite(p, "power_up", 1, qm::Vector(50, 6.66f));
         p.string(qm::Vector(79, 1), " Points 42 ", qm::RIGHT_JUSTIFIED, qm::YELLOW);
       }},
      {"random characters and colours on every cell", randomGrid(11)},
      {"a cell drawn twice and a space over a character",
       [](const Painter &p) {
         p.ch(qm::Vector(5, 5), 'W', qm::RED);
         p.ch(qm::Vector(5, 5), 'i', qm::GREEN);
         p.ch(qm::Vector(7, 5), 'M', qm::BLUE);
         p.ch(qm::Vector(7, 5), ' ', qm::BLUE);
         p.ch(qm::Vector(9, 5), ' ', qm::WHITE);
       }},
      {"overlapping strings",
       [](const Painter &p) {
         p.string(qm::Vector(10, 3), "HELLO, WORLD", qm::LEFT_JUSTIFIED, qm::CYAN);
         p.string(qm::Vector(14, 3), "overlap", qm::CENTER_JUSTIFIED, qm::MAGENTA);
         p.string(qm::Vector(20, 3.5f), "###", qm::RIGHT_JUSTIFIED, qm::WHITE);
         p.string(qm::Vector(10.5f, 4), "half a cell on", qm::LEFT_JUSTIFIED, qm::GREEN);
       }},
      {"off the grid and between cells",
       [](const Painter &p) {
         const float spots[][2] = {{-1, 5},     {79.5f, 23.5f}, {80, 0},      {-0.5f, -0.3f},
                                   {10.25f, 7}, {33.3f, 11.1f}, {100, 50},    {20.1f, 4.9f},
                                   {6.7f, 18},  {1.0f / 3, 9},  {75, -0.75f}, {40.04f, 23.96f}};
         for (const auto &spot : spots) {
           p.ch(qm::Vector(spot[0], spot[1]), '@', qm::YELLOW);
         }
       }},
      {"every colour and undefined ones",
       [](const Painter &p) {
         for (int color = -1; color <= 8; color++) {
           p.ch(qm::Vector(static_cast<float>(30 + color), 12), 'H', static_cast<qm::Color>(color));
         }
       }},
      {"characters above 127 and blanks",
       [](const Painter &p) {
         for (int value = -128; value < 128; value++) {
           p.ch(qm::Vector(static_cast<float>((value + 128) % 64),
                           static_cast<float>((value + 128) / 64)),
                static_cast<char>(value), qm::WHITE);
         }
       }},
  };
  return all;
}

// The display on an 80 x 24 view at (0, 0), the game's sprites loaded.
class Sameness : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(qm_test::startDisplay(), 0);
    qm::ResourceManager &resources = qm::ResourceManager::getInstance();
    resources.startUp();
    const char *sprites[][2] = {{"game_start", "game_start"},
                                {"game_over", "game_over"},
                                {"win", "win"},
                                {"top_border", "border_top"},
                                {"side_border", "border_side"},
                                {"corner", "corner"},
                                {"platform", "platform"},
                                {"ball", "ball"},
                                {"power_up", "power_up"}};
    for (const auto &sprite : sprites) {
      resources.loadSprite(qm_test::sourcePath("Sprites/" + std::string(sprite[1]) + "_spr.txt"),
                           sprite[0]);
    }
  }
  void SetUp() override { qm_test::resetWorld(); }

  // The picture and log lines of one frame drawn per cell.
  static qm_test::Screen perCell(const Picture &draw, std::string *p_log) {
    sf::RenderWindow &window = *display().getWindow();
    qm_test::restartLog();
    draw(PER_CELL);
    qm_test::Screen screen = qm_test::Screen::drawn(window);
    window.clear(sf::Color::Black);
    *p_log = qm_test::readLog();
    return screen;
  }
  // The same through the display's calls, shown by swapBuffers.
  static qm_test::Screen batched(const Picture &draw, std::string *p_log) {
    qm_test::restartLog();
    draw(BATCHED);
    qm_test::Screen screen = qm_test::Screen::capture();
    *p_log = qm_test::readLog();
    return screen;
  }
  static qm::DisplayManager &display() { return qm::DisplayManager::getInstance(); }
};

int differingPixels(const sf::Image &a, const sf::Image &b) {
  const sf::Vector2u size = a.getSize();
  if (size != b.getSize()) {
    return -1;
  }
  const sf::Uint8 *p_a = a.getPixelsPtr();
  const sf::Uint8 *p_b = b.getPixelsPtr();
  int differing = 0;
  for (unsigned int i = 0; i < size.x * size.y; i++) {
    differing += std::memcmp(p_a + 4 * i, p_b + 4 * i, 4) != 0;
  }
  return differing;
}

int differingPixels(const qm_test::Screen &a, const qm_test::Screen &b) {
  return differingPixels(a.image(), b.image());
}

// Guards the comparison itself: a picture with ink differs from an empty one.
TEST_F(Sameness, PicturesWithInkDifferFromTheEmptyOne) {
  std::string log;
  const qm_test::Screen empty = perCell([](const Painter &) {}, &log);
  EXPECT_GT(differingPixels(perCell(cases()[0].draw, &log), empty), 1000);
  EXPECT_GT(differingPixels(batched(cases()[0].draw, &log), empty), 1000);
}

TEST_F(Sameness, EveryFrameMatchesThePerCellPictureAndLog) {
  for (const Case &frame : cases()) {
    std::string per_cell_log, batched_log;
    const qm_test::Screen reference = perCell(frame.draw, &per_cell_log);
    EXPECT_EQ(differingPixels(batched(frame.draw, &batched_log), reference), 0) << frame.name;
    EXPECT_EQ(batched_log, per_cell_log) << frame.name;
  }
}

// Also a view between pixels, which puts every cell of a full grid between
// pixels, and then the plain view again.
TEST_F(Sameness, MovedViewMatchesThePerCellPicture) {
  std::string log;
  for (const qm::Vector corner :
       {qm::Vector(3.5f, -2.25f), qm::Vector(3.04f, 0.1f), qm::Vector()}) {
    qm::WorldManager::getInstance().setView(qm::Box(corner, 80, 24));
    for (const Case &frame : {cases()[3], cases()[4]}) {
      const qm_test::Screen reference = perCell(frame.draw, &log);
      EXPECT_EQ(differingPixels(batched(frame.draw, &log), reference), 0)
          << frame.name << " at " << corner.getX();
    }
  }
}

// A full and a small frame repeated: the window keeps showing the picture,
// also when it is shown afresh after a second's worth of repeats. Then the
// full one again once the window's own view has moved: that is drawn anew.
TEST_F(Sameness, RepeatedFramesMatchThePerCellPicture) {
  std::string log;
  for (const Case &frame : {cases()[4], cases()[5]}) {
    const qm_test::Screen reference = perCell(frame.draw, &log);
    for (int shown = 1; shown <= 32; shown++) {
      if (shown <= 2 || shown >= 30) {
        EXPECT_EQ(differingPixels(batched(frame.draw, &log), reference), 0)
            << frame.name << ", shown " << shown << " times";
      } else {
        frame.draw(BATCHED);
        display().swapBuffers();
      }
    }
  }
  sf::RenderWindow &window = *display().getWindow();
  const sf::View plain_view = window.getView();
  sf::View moved_view = plain_view;
  moved_view.move(-17, 9);
  window.setView(moved_view);
  const qm_test::Screen reference = perCell(cases()[4].draw, &log);
  EXPECT_EQ(differingPixels(batched(cases()[4].draw, &log), reference), 0);
  window.setView(plain_view);
  EXPECT_EQ(differingPixels(batched(cases()[4].draw, &log), perCell(cases()[4].draw, &log)), 0);
}

// The display's own window at 1.171875: the first frames of a scaled grid
// drawn by OpenGL while the compositor learns their glyphs, repeats of them
// composed once it has.
TEST_F(Sameness, ScaledWindowMatchesThePerCellPicture) {
  sf::RenderWindow &window = *display().getWindow();
  const sf::Vector2u size(1200, 900);
  // All on the screen, to be read from it.
  window.setPosition(sf::Vector2i(0, 0));
  window.setSize(size);
  sf::Event window_event;
  bool resized = false;
  for (int wait = 0; wait < 100 && !resized; wait++) {
    while (display().pollEvent(&window_event)) {
      resized = resized || window_event.type == sf::Event::Resized;
    }
    sf::sleep(sf::milliseconds(10));
  }
  ASSERT_TRUE(resized);
  const qm::PictureFit fit(size, sf::Vector2u(1024, 768), sf::Vector2u(80, 24));
  const Painter scaled = perCellPainter([&](qm::Vector pos, char ch, qm::Color color) {
    qm_test::drawChPerCell(window, fit, pos, ch, color);
  });
  std::string log;
  for (const Case &frame : {cases()[4], cases()[3]}) {
    frame.draw(scaled);
    const qm_test::Screen reference = qm_test::Screen::drawn(window);
    window.clear(sf::Color::Black);
    for (int shown = 1; shown <= 40; shown++) {
      const qm_test::Screen screen = batched(frame.draw, &log);
      if (shown == 1 || shown == 40) {
        EXPECT_EQ(differingPixels(screen, reference), 0) << frame.name << ", shown " << shown;
      }
    }
  }
  window.setSize(sf::Vector2u(1024, 768));
  for (int wait = 0; wait < 100 && !resized; wait++) {
    while (display().pollEvent(&window_event)) {
    }
  }
}

// Drawn into a picture of the window's size, fitted as the window would be:
// at a scale of two, and in a 16:9 window at 1.171875 with bars left and
// right. The renderer draws from the reference's own font, so that both
// sample the same page.
TEST_F(Sameness, ScaledFramesMatchThePerCellPictureAtTheSameScale) {
  for (const sf::Vector2u window : {sf::Vector2u(2048, 1536), sf::Vector2u(1600, 900)}) {
    const qm::PictureFit fit(window, sf::Vector2u(1024, 768), sf::Vector2u(80, 24));
    sf::RenderTexture target;
    ASSERT_TRUE(target.create(window.x, window.y));
    target.setView(fit.getView());
    const auto shown = [&target] {
      target.display();
      sf::Image picture = target.getTexture().copyToImage();
      target.clear(sf::Color::Black);
      return picture;
    };
    qm::CellRenderer renderer(qm_test::perCellFont());
    for (const Case &frame : cases()) {
      target.clear(sf::Color::Black);
      frame.draw(perCellPainter([&](qm::Vector pos, char ch, qm::Color color) {
        qm_test::drawChPerCell(target, fit, pos, ch, color);
      }));
      const sf::Image reference = shown();
      std::vector<qm::ScreenCell> cells;
      frame.draw(perCellPainter([&cells](qm::Vector pos, char ch, qm::Color color) {
        cells.push_back(qm::ScreenCell{qm::worldToView(pos), ch, color});
      }));
      ASSERT_TRUE(renderer.draw(target, &cells, fit));
      EXPECT_EQ(differingPixels(shown(), reference), 0) << frame.name << ", " << window.x;
    }
  }
}

} // namespace
