// The game loop's pace: GameManager::run in a real window (run it under an X
// server) with a light world, each frame timed by its step event. A frame
// should last the frame time, 33 ms, with little spread, and the loop should
// leave the processor idle while it waits. QM_PACING_FRAMES sets how many
// frames to run (300 by default, about ten seconds).
#include "EventStep.h"
#include "GameManager.h"
#include "Object.h"
#include "ViewObject.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <numeric>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;

// Notes when each step event arrives and ends the loop at the last one.
class Metronome : public qm::Object {
public:
  Metronome(int init_frames, std::vector<SteadyClock::time_point> *p_init_step_times)
      : frames(init_frames), p_step_times(p_init_step_times) {
    setSolidness(qm::SPECTRAL);
    setPosition(qm::Vector(-10, -10)); // out of view: it has nothing to draw
  }
  int eventHandler(const qm::Event *p_e) override {
    if (p_e->getType() != qm::STEP_EVENT) {
      return 0;
    }
    p_step_times->push_back(SteadyClock::now());
    if (static_cast<int>(p_step_times->size()) >= frames) {
      qm::GameManager::getInstance().setGameOver(true);
    }
    return 1;
  }

private:
  const int frames;
  std::vector<SteadyClock::time_point> *const p_step_times;
};

// The font lies in the source tree; the benchmark may run from any folder.
void linkFont() {
  namespace fs = std::filesystem;
  const char *source_dir = std::getenv("QM_SOURCE_DIR");
  const fs::path font = fs::path(source_dir ? source_dir : ".") / "qm-font.ttf";
  std::error_code ignored;
  if (!fs::exists("qm-font.ttf") && fs::exists(font)) {
    fs::create_symlink(font, "qm-font.ttf", ignored);
  }
}

double processSeconds() {
  struct timespec cpu_ts;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu_ts);
  return static_cast<double>(cpu_ts.tv_sec) + static_cast<double>(cpu_ts.tv_nsec) / 1e9;
}

void BM_GameLoopPace(benchmark::State &state) {
  const char *frames_text = std::getenv("QM_PACING_FRAMES");
  const int frames = std::max(4, frames_text ? std::atoi(frames_text) : 300);
  linkFont();
  qm::GameManager &game_manager = qm::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    state.SkipWithError("the engine could not start (no X server, or no font?)");
    return;
  }
  std::vector<SteadyClock::time_point> step_times;
  step_times.reserve(static_cast<std::size_t>(frames));
  std::vector<double> periods_ms;
  double cpu_seconds = 0;
  double wall_seconds = 0;
  for (auto _ : state) { // one iteration: run() itself is what is timed
    game_manager.setGameOver(false);
    new Metronome(frames, &step_times);
    auto *p_score = new qm::ViewObject; // a light world: one line of text
    p_score->setViewString("Points");
    for (int i = 0; i < 4; i++) { // moving below the view, with nothing to draw
      auto *p_mote = new qm::Object;
      p_mote->setSolidness(qm::SOFT);
      p_mote->setPosition(qm::Vector(10.0f * static_cast<float>(i), 40));
      p_mote->setVelocity(qm::Vector(0.25f, 0));
    }
    const double cpu_start = processSeconds();
    const SteadyClock::time_point wall_start = SteadyClock::now();
    game_manager.run();
    cpu_seconds += processSeconds() - cpu_start;
    wall_seconds += std::chrono::duration<double>(SteadyClock::now() - wall_start).count();
    // The first pass maps the window and makes the font's glyph pages: a
    // one-off that says nothing about the pace.
    for (size_t i = 2; i < step_times.size(); i++) {
      periods_ms.push_back(
          std::chrono::duration<double, std::milli>(step_times[i] - step_times[i - 1]).count());
    }
  }
  game_manager.shutDown(); // deletes the world's objects

  std::sort(periods_ms.begin(), periods_ms.end());
  const double total_ms = std::accumulate(periods_ms.begin(), periods_ms.end(), 0.0);
  state.counters["mean_ms"] = total_ms / static_cast<double>(periods_ms.size());
  state.counters["p99_ms"] = periods_ms[(periods_ms.size() * 99 + 99) / 100 - 1];
  state.counters["max_ms"] = periods_ms.back();
  // Processor time over the time the loop ran: low when the loop sleeps.
  state.counters["cpu_percent"] = 100.0 * cpu_seconds / wall_seconds;
}
BENCHMARK(BM_GameLoopPace)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
