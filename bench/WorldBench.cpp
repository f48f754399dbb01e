// The world's per-frame costs without a window: moving every object (each
// move looks for collisions near its destination), handing an event to every
// object, and a single collision query.
#include "Box.h"
#include "EventOut.h"
#include "EventStep.h"
#include "Object.h"
#include "ObjectList.h"
#include "Vector.h"
#include "WorldManager.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

// A soft object that turns back when it leaves the world, so that the world
// stays as crowded however many updates the benchmark runs.
class Mote : public qm::Object {
public:
  Mote() { setSolidness(qm::SOFT); }
  int eventHandler(const qm::Event *p_e) override {
    if (p_e->getType() != qm::OUT_EVENT) {
      return 0;
    }
    const qm::Vector direction = getDirection();
    setDirection(qm::Vector(-direction.getX(), -direction.getY()));
    return 1;
  }
};

// An empty 80 x 24 world filled with object_count soft objects scattered
// over it, each moving a little in its own direction when moving is set.
void fillWorld(int object_count, bool moving) {
  qm::WorldManager &world_manager = qm::WorldManager::getInstance();
  world_manager.shutDown();
  world_manager.startUp();
  world_manager.setBoundary(qm::Box(qm::Vector(0, 0), 80, 24));
  world_manager.setView(qm::Box(qm::Vector(0, 0), 80, 24));
  srand(7);
  for (int i = 0; i < object_count; i++) {
    auto *p_o = new Mote;
    p_o->setPosition(qm::Vector(static_cast<float>(rand() % 80), static_cast<float>(rand() % 24)));
    if (moving) {
      p_o->setVelocity(qm::Vector(static_cast<float>(rand() % 21 - 10) / 100.0f,
                                  static_cast<float>(rand() % 21 - 10) / 100.0f));
    }
  }
}

void emptyWorld() {
  qm::WorldManager::getInstance().shutDown();
}

void BM_WorldUpdate(benchmark::State &state) {
  const int object_count = static_cast<int>(state.range(0));
  fillWorld(object_count, true);
  for (auto _ : state) {
    qm::WorldManager::getInstance().update();
  }
  state.SetItemsProcessed(state.iterations() * object_count);
  emptyWorld();
}
BENCHMARK(BM_WorldUpdate)
    ->Arg(10)
    ->Arg(100)
    ->Arg(200)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMicrosecond);

void BM_Broadcast(benchmark::State &state) {
  const int object_count = static_cast<int>(state.range(0));
  fillWorld(object_count, false);
  const qm::EventStep step(1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(qm::WorldManager::getInstance().onEvent(&step));
  }
  state.SetItemsProcessed(state.iterations() * object_count);
  emptyWorld();
}
BENCHMARK(BM_Broadcast)->Arg(2000)->Unit(benchmark::kMicrosecond);

void BM_GetCollisions(benchmark::State &state) {
  const int object_count = static_cast<int>(state.range(0));
  fillWorld(object_count, false);
  qm::WorldManager &world_manager = qm::WorldManager::getInstance();
  // The probe fills the world's last place.
  auto *p_probe = new qm::Object;
  p_probe->setSolidness(qm::SOFT);
  for (auto _ : state) {
    const qm::ObjectList found = world_manager.getCollisions(p_probe, qm::Vector(40, 12));
    benchmark::DoNotOptimize(found.getCount());
  }
  state.SetItemsProcessed(state.iterations() * object_count);
  emptyWorld();
}
BENCHMARK(BM_GetCollisions)->Arg(1999)->Unit(benchmark::kMicrosecond);

} // namespace
