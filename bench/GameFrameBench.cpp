// One whole pass of the game loop in a real window (run it under an X server):
// the start screen, which paints every cell of the grid, and a game in play.
// A pass must fit well inside the 33 ms frame for the game to keep its pace.
#include "GameData.h"
#include "GameManager.h"
#include "GameStart.h"
#include "Test.h"
#include "WorldManager.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

namespace {

// 0 once the engine runs with the game's resources loaded and the world empty.
int startGame() {
  linkGameData();
  qm::GameManager &game_manager = qm::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    return -1;
  }
  qm::Test().loadGameResources();
  return 0;
}

void runPasses(benchmark::State &state) {
  qm::GameManager &game_manager = qm::GameManager::getInstance();
  int step_count = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    game_manager.runPass(step_count++);
  }
  const std::chrono::duration<double, std::milli> elapsed =
      std::chrono::steady_clock::now() - start;
  // Time per pass over the frame time: below 1 keeps the pace.
  state.counters["frame_budget_used"] =
      elapsed.count() / static_cast<double>(state.iterations()) / game_manager.getFrameTime();
  game_manager.shutDown();
}

void BM_StartScreenPass(benchmark::State &state) {
  if (startGame() != 0) {
    state.SkipWithError("the engine could not start (no X server?)");
    return;
  }
  new GameStart;
  runPasses(state);
}
BENCHMARK(BM_StartScreenPass)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GamePass(benchmark::State &state) {
  if (startGame() != 0) {
    state.SkipWithError("the engine could not start (no X server?)");
    return;
  }
  GameStart::createGame();
  runPasses(state);
}
BENCHMARK(BM_GamePass)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
