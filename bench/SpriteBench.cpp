// Reading sprite files: the game's largest, the start screen (sixteen frames
// of 80 x 24 cells), and its smallest, the ball. No window is needed.
#include "LogManager.h"
#include "ResourceManager.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

// The sprite files lie in the source tree; the benchmark may run from any
// folder.
std::string spritePath(const std::string &name) {
  const char *source_dir = std::getenv("QM_SOURCE_DIR");
  return std::string(source_dir ? source_dir : ".") + "/Sprites/" + name;
}

void BM_LoadSprite(benchmark::State &state, const std::string &file_name) {
  qm::LogManager::getInstance().startUp();
  qm::ResourceManager &resources = qm::ResourceManager::getInstance();
  resources.startUp();
  const std::string path = spritePath(file_name);
  for (auto _ : state) {
    if (resources.loadSprite(path, "sprite") != 0) {
      state.SkipWithError(("could not load " + path).c_str());
      break;
    }
    resources.unloadSprite("sprite");
  }
  resources.shutDown();
}
BENCHMARK_CAPTURE(BM_LoadSprite, start_screen, std::string("game_start_spr.txt"))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LoadSprite, ball, std::string("ball_spr.txt"))->Unit(benchmark::kMicrosecond);

} // namespace
