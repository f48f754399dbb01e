// Frames composed on the processor and put on the window through the X
// server (run it under an X server), as DisplayBench draws them through
// OpenGL: the full 80 x 24 grid changing every frame, five cells of it
// changing, and an empty frame. For comparison, the same pictures shown as
// one textured quad through OpenGL, the changed parts uploaded first.
#include "DisplayManager.h"
#include "FrameCompositor.h"
#include "LogManager.h"
#include "utility.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

constexpr int COLUMNS = qm::WINDOW_HORIZONTAL_CHARS_DEFAULT;
constexpr int ROWS = qm::WINDOW_VERTICAL_CHARS_DEFAULT;
constexpr unsigned int CHAR_SIZE = 24;

const sf::Color SCREEN_COLORS[] = {sf::Color::Red,  sf::Color::Green,   sf::Color::Yellow,
                                   sf::Color::Blue, sf::Color::Magenta, sf::Color::Cyan,
                                   sf::Color::White};

// The display's window and font, and a compositor on them.
struct Setup {
  sf::Font font;
  qm::FrameCompositor compositor;
  std::array<const sf::Glyph *, 128> glyphs{};

  int start() {
    const char *source_dir = std::getenv("QM_SOURCE_DIR");
    const std::filesystem::path font_path =
        std::filesystem::path(source_dir ? source_dir : ".") / qm::FONT_FILE_DEFAULT;
    qm::LogManager::getInstance().startUp();
    qm::DisplayManager &display = qm::DisplayManager::getInstance();
    std::error_code ignored;
    if (!std::filesystem::exists(qm::FONT_FILE_DEFAULT)) {
      std::filesystem::create_symlink(font_path, qm::FONT_FILE_DEFAULT, ignored);
    }
    if (!font.loadFromFile(qm::FONT_FILE_DEFAULT) || display.startUp() != 0) {
      return -1;
    }
    sf::RenderWindow &window = *display.getWindow();
    for (int ch = '!'; ch < '!' + 94; ch++) {
      glyphs[static_cast<std::size_t>(ch)] =
          &font.getGlyph(static_cast<sf::Uint32>(ch), CHAR_SIZE, true);
    }
    const sf::Vector2u size = window.getSize();
    return compositor.attach(&window, qm::PictureFit(size, size, sf::Vector2u(COLUMNS, ROWS)),
                             &font, true);
  }

  // DisplayBench's grid: frame_number shifts the characters and colours of
  // every changing_every-th cell.
  void grid(std::vector<qm::CompositeCell> *p_cells, int frame_number, int changing_every) const {
    p_cells->clear();
    for (int row = 0; row < ROWS; row++) {
      for (int col = 0; col < COLUMNS; col++) {
        const bool changing = (row * COLUMNS + col) % changing_every == 0;
        const int seed = col * 7 + row * 13 + (changing ? frame_number : 0);
        const qm::Vector pixel_pos =
            qm::spacesToPixels(qm::Vector(static_cast<float>(col), static_cast<float>(row)));
        p_cells->push_back(qm::CompositeCell{sf::Vector2f(pixel_pos.getX(), pixel_pos.getY()),
                                             glyphs[static_cast<std::size_t>('!' + seed % 94)],
                                             SCREEN_COLORS[seed % 7]});
      }
    }
  }
};

// Frames of the grid with every changing_every-th cell changing, or empty
// ones (changing_every 0), composed and put on the window.
void runComposed(benchmark::State &state, int changing_every) {
  static Setup setup;
  if (setup.start() != 0) {
    state.SkipWithError("no window or font (no X server?)");
    return;
  }
  std::vector<qm::CompositeCell> cells;
  int frame_number = 0;
  for (auto _ : state) {
    if (changing_every > 0) {
      setup.grid(&cells, frame_number++, changing_every);
    }
    setup.compositor.compose(cells);
    setup.compositor.show(false);
  }
}

void BM_ComposedFullScreenFrame(benchmark::State &state) {
  runComposed(state, 1);
}
BENCHMARK(BM_ComposedFullScreenFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ComposedFiveCellsChangingFrame(benchmark::State &state) {
  runComposed(state, 384);
}
BENCHMARK(BM_ComposedFiveCellsChangingFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ComposedEmptyFrame(benchmark::State &state) {
  runComposed(state, 0);
}
BENCHMARK(BM_ComposedEmptyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// The still grid with moving glyphs at new places between pixels every pass
// (a ball and a platform make about ten), or with all of it moved between
// pixels every pass, as a view that follows something would: every glyph
// between pixels is learnt from OpenGL at its place.
void runComposedBetweenPixels(benchmark::State &state, int moving) {
  static Setup setup;
  if (setup.start() != 0) {
    state.SkipWithError("no window or font (no X server?)");
    return;
  }
  std::vector<qm::CompositeCell> cells;
  setup.grid(&cells, 0, 1);
  const std::size_t still = moving > 0 ? cells.size() : 0;
  for (int i = 0; i < moving; i++) {
    cells.push_back(cells[static_cast<std::size_t>(i * 37)]);
  }
  const std::vector<qm::CompositeCell> start = cells;
  float offset = 0;
  for (auto _ : state) {
    offset = offset > 100 ? 0 : offset + 0.37f;
    for (std::size_t i = still; i < cells.size(); i++) {
      cells[i].pixel_pos = start[i].pixel_pos + sf::Vector2f(offset, offset * 0.29f);
    }
    setup.compositor.compose(cells, SIZE_MAX);
    setup.compositor.show(false);
  }
}

void BM_ComposedTenGlyphsMovingFrame(benchmark::State &state) {
  runComposedBetweenPixels(state, 10);
}
BENCHMARK(BM_ComposedTenGlyphsMovingFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ComposedFrameMovingBetweenPixels(benchmark::State &state) {
  runComposedBetweenPixels(state, 0);
}
BENCHMARK(BM_ComposedFrameMovingBetweenPixels)->Unit(benchmark::kMillisecond)->UseRealTime();

// The composed picture shown as one quad through OpenGL: the whole picture
// uploaded, or the five changed cells' boxes, then drawn and displayed.
void runComposedAsQuad(benchmark::State &state, int changing_every) {
  static Setup setup;
  if (setup.start() != 0) {
    state.SkipWithError("no window or font (no X server?)");
    return;
  }
  sf::RenderWindow &window = *qm::DisplayManager::getInstance().getWindow();
  const sf::Vector2u size = window.getSize();
  sf::Texture picture;
  picture.create(size.x, size.y);
  // The picture's words go up as they are, and a box's rows as if they lay
  // one after the other: colours and boxes come out wrong, at the same cost.
  const auto *p_bytes = reinterpret_cast<const sf::Uint8 *>(setup.compositor.getPixels());
  std::vector<qm::CompositeCell> cells;
  int frame_number = 0;
  for (auto _ : state) {
    setup.grid(&cells, frame_number++, changing_every);
    setup.compositor.compose(cells);
    if (changing_every == 1) {
      picture.update(p_bytes);
    } else {
      for (int i = 0; i < COLUMNS * ROWS; i += changing_every) {
        const int left = (i % COLUMNS) * 12;
        const int top = (i / COLUMNS) * 32;
        picture.update(
            p_bytes + 4 * (static_cast<std::size_t>(top) * size.x + static_cast<std::size_t>(left)),
            14, 40, static_cast<unsigned int>(left), static_cast<unsigned int>(top));
      }
    }
    window.draw(sf::Sprite(picture), sf::RenderStates(sf::BlendNone));
    window.display();
  }
}

void BM_ComposedAsQuadFullScreenFrame(benchmark::State &state) {
  runComposedAsQuad(state, 1);
}
BENCHMARK(BM_ComposedAsQuadFullScreenFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ComposedAsQuadFiveCellsChangingFrame(benchmark::State &state) {
  runComposedAsQuad(state, 384);
}
BENCHMARK(BM_ComposedAsQuadFiveCellsChangingFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
