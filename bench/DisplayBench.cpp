// Drawing whole frames in a real window (run it under an X server): the full
// 80 x 24 grid changing every frame, the grid with five cells changing, the
// same grid again, those three also at twice the first size, an empty frame,
// and the changing grid drawn cell by cell as the reference draws it.
#include "DisplayManager.h"
#include "LogManager.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

// The per-cell reference lives with the tests; it is compiled in here so that
// both ways are timed in the same run.
#include "../tests/support/PerCellDrawing.cpp"

namespace {

// 0 once the display runs, with the font linked in from the source tree.
int startDisplay() {
  const char *source_dir = std::getenv("QM_SOURCE_DIR");
  const std::filesystem::path font =
      std::filesystem::path(source_dir ? source_dir : ".") / qm::FONT_FILE_DEFAULT;
  std::error_code ignored;
  if (!std::filesystem::exists(qm::FONT_FILE_DEFAULT) && std::filesystem::exists(font)) {
    std::filesystem::create_symlink(font, qm::FONT_FILE_DEFAULT, ignored);
  }
  qm::LogManager::getInstance().startUp();
  return qm::DisplayManager::getInstance().startUp();
}

using DrawCh = int (*)(qm::Vector, char, qm::Color);

int drawChBatched(qm::Vector pos, char ch, qm::Color color) {
  return qm::DisplayManager::getInstance().drawCh(pos, ch, color);
}

// Every cell of the grid; frame_number shifts the characters and colours of
// every changing_every-th cell, so that consecutive numbers give frames that
// differ in those cells.
void drawGrid(DrawCh draw_ch, int frame_number, int changing_every) {
  for (int row = 0; row < qm::WINDOW_VERTICAL_CHARS_DEFAULT; row++) {
    for (int col = 0; col < qm::WINDOW_HORIZONTAL_CHARS_DEFAULT; col++) {
      const bool changing = (row * qm::WINDOW_HORIZONTAL_CHARS_DEFAULT + col) % changing_every == 0;
      const int seed = col * 7 + row * 13 + (changing ? frame_number : 0);
      draw_ch(qm::Vector(static_cast<float>(col), static_cast<float>(row)),
              static_cast<char>('!' + seed % 94), static_cast<qm::Color>(1 + seed % 7));
    }
  }
}

// Frames of the grid with every changing_every-th cell changing (none at 0),
// or empty ones.
void runFrames(benchmark::State &state, DrawCh draw_ch, int changing_every, bool drawing) {
  if (startDisplay() != 0) {
    state.SkipWithError("the display could not start (no X server?)");
    return;
  }
  qm::DisplayManager &display = qm::DisplayManager::getInstance();
  sf::RenderWindow &window = *display.getWindow();
  int frame_number = 0;
  for (auto _ : state) {
    if (drawing) {
      drawGrid(draw_ch, changing_every > 0 ? frame_number++ : 0, std::max(changing_every, 1));
    }
    if (draw_ch == drawChBatched) {
      display.swapBuffers();
    } else {
      // The per-cell reference drew straight to the window.
      window.display();
      window.clear(sf::Color::Black);
    }
  }
  state.counters["fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_FullScreenFrame(benchmark::State &state) {
  runFrames(state, drawChBatched, 1, true);
}
BENCHMARK(BM_FullScreenFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// Sets the window's size and waits up to a second for the window system to
// say so, the picture then fitted to it; false when it did not.
bool resizeWindow(sf::Vector2u size) {
  qm::DisplayManager &display = qm::DisplayManager::getInstance();
  display.getWindow()->setPosition(sf::Vector2i(0, 0));
  display.getWindow()->setSize(size);
  sf::Event window_event;
  for (int wait = 0; wait < 100; wait++) {
    while (display.pollEvent(&window_event)) {
      if (window_event.type == sf::Event::Resized && window_event.size.width == size.x &&
          window_event.size.height == size.y) {
        return true;
      }
    }
    sf::sleep(sf::milliseconds(10));
  }
  return false;
}

// The same frames drawn afresh at twice the first size, once the grid has
// stood still long enough for the display to learn how its glyphs come out
// there (about a second).
void runFramesTwiceTheSize(benchmark::State &state, int changing_every) {
  if (startDisplay() != 0 || !resizeWindow(sf::Vector2u(2048, 1536))) {
    state.SkipWithError("no window of twice the first size (no X server?)");
    return;
  }
  for (int pass = 0; pass < 40; pass++) {
    drawGrid(drawChBatched, 0, 1);
    qm::DisplayManager::getInstance().swapBuffers();
  }
  runFrames(state, drawChBatched, changing_every, true);
  resizeWindow(sf::Vector2u(1024, 768));
}

void BM_FullScreenFrameTwiceTheSize(benchmark::State &state) {
  runFramesTwiceTheSize(state, 1);
}
BENCHMARK(BM_FullScreenFrameTwiceTheSize)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FiveCellsChangingFrameTwiceTheSize(benchmark::State &state) {
  runFramesTwiceTheSize(state, 384);
}
BENCHMARK(BM_FiveCellsChangingFrameTwiceTheSize)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullScreenUnchangedFrameTwiceTheSize(benchmark::State &state) {
  runFramesTwiceTheSize(state, 0);
}
BENCHMARK(BM_FullScreenUnchangedFrameTwiceTheSize)->Unit(benchmark::kMillisecond)->UseRealTime();

// 1920 cells, every 384th changing: five.
void BM_FiveCellsChangingFrame(benchmark::State &state) {
  runFrames(state, drawChBatched, 384, true);
}
BENCHMARK(BM_FiveCellsChangingFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullScreenUnchangedFrame(benchmark::State &state) {
  runFrames(state, drawChBatched, 0, true);
}
BENCHMARK(BM_FullScreenUnchangedFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EmptyFrame(benchmark::State &state) {
  runFrames(state, drawChBatched, 0, false);
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullScreenFramePerCell(benchmark::State &state) {
  runFrames(state, qm_test::drawChPerCell, 1, true);
}
BENCHMARK(BM_FullScreenFramePerCell)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
