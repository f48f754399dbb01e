// Drawing whole frames in a real window (run it under an X server): the full
// 80 x 24 grid changing every frame, the same grid again, an empty frame, and
// the same changing grid drawn cell by cell as the reference draws it.
#include "DisplayManager.h"
#include "LogManager.h"

#include <benchmark/benchmark.h>

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

// Every cell of the grid; frame_number shifts the characters and colours, so
// that consecutive numbers give frames that differ in every cell.
void drawGrid(DrawCh draw_ch, int frame_number) {
  for (int row = 0; row < qm::WINDOW_VERTICAL_CHARS_DEFAULT; row++) {
    for (int col = 0; col < qm::WINDOW_HORIZONTAL_CHARS_DEFAULT; col++) {
      const int seed = col * 7 + row * 13 + frame_number;
      draw_ch(qm::Vector(static_cast<float>(col), static_cast<float>(row)),
              static_cast<char>('!' + seed % 94), static_cast<qm::Color>(1 + seed % 7));
    }
  }
}

void runFrames(benchmark::State &state, DrawCh draw_ch, bool changing, bool drawing) {
  if (startDisplay() != 0) {
    state.SkipWithError("the display could not start (no X server?)");
    return;
  }
  qm::DisplayManager &display = qm::DisplayManager::getInstance();
  sf::RenderWindow &window = *display.getWindow();
  int frame_number = 0;
  for (auto _ : state) {
    if (drawing) {
      drawGrid(draw_ch, changing ? frame_number++ : 0);
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
  runFrames(state, drawChBatched, true, true);
}
BENCHMARK(BM_FullScreenFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullScreenUnchangedFrame(benchmark::State &state) {
  runFrames(state, drawChBatched, false, true);
}
BENCHMARK(BM_FullScreenUnchangedFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EmptyFrame(benchmark::State &state) {
  runFrames(state, drawChBatched, false, false);
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullScreenFramePerCell(benchmark::State &state) {
  runFrames(state, qm_test::drawChPerCell, true, true);
}
BENCHMARK(BM_FullScreenFramePerCell)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
