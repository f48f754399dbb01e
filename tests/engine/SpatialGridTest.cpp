// The world's collision grid where it can be wrong: the candidates it offers.
// Seeded random worlds of boxes of every kind (empty, negative, NaN, infinite,
// huge, far outside the boundary) are changed one step at a time the ways a
// game changes them, and after every step getCollisions must name exactly the
// objects that a look at every object of the world finds, in world order.
// What a move does with its collisions is the world manager's test.
#include "Spy.h"
#include "utility.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

using namespace qm;

namespace {

// The solid objects other than p_o whose boxes meet p_o's box at where.
std::vector<Object *> metByBruteForce(const Object *p_o, Vector where) {
  const Box mover_box = getWorldBox(p_o, where);
  std::vector<Object *> met;
  for (Object *p_other : qm_test::listed(WorldManager::getInstance().getAllObjects())) {
    if (p_other != p_o && p_other->isSolid() && boxIntersectsBox(mover_box, getWorldBox(p_other))) {
      met.push_back(p_other);
    }
  }
  return met;
}

class RandomWorld {
public:
  explicit RandomWorld(unsigned seed) : random(seed) {}

  // One change of the world, the way the game's objects make them.
  void change() {
    const std::vector<Object *> objects = qm_test::listed(world_manager.getAllObjects());
    if (objects.size() < 20 || (objects.size() < 300 && below(8) == 0)) {
      auto *p_o = new Object;
      p_o->setPosition(somewhere());
      p_o->setBox(someBox());
      p_o->setSolidness(someSolidness());
      p_o->setVelocity(below(2) ? Vector(uniform(-3, 3), uniform(-3, 3)) : Vector());
      return;
    }
    Object *p_o = objects[static_cast<std::size_t>(below(static_cast<int>(objects.size())))];
    switch (below(8)) {
    case 0:
      p_o->setPosition(somewhere());
      break;
    case 1:
      p_o->setBox(someBox());
      break;
    case 2:
      p_o->setSolidness(someSolidness());
      break;
    case 3:
      *p_o = *objects.front(); // takes the other's place and box
      break;
    case 4: // to the end of the world's order
      world_manager.removeObject(p_o);
      world_manager.insertObject(p_o);
      break;
    case 5:
      delete p_o;
      break;
    case 6:
      world_manager.markForDelete(p_o);
      world_manager.update(); // the deletion, then every move by velocity
      break;
    default: // a step to a neighbouring cell, or within its own
      p_o->setPosition(p_o->getPosition() + Vector(uniform(-2, 2), 0.5f));
      break;
    }
  }

  // Asks about one object at a random place; false when the grid and the
  // brute force disagree.
  bool probe(int *p_met_count) {
    const std::vector<Object *> objects = qm_test::listed(world_manager.getAllObjects());
    Object *p_o = objects[static_cast<std::size_t>(below(static_cast<int>(objects.size())))];
    const Vector where = below(2) ? somewhere() : p_o->predictPosition();
    const std::vector<Object *> met = metByBruteForce(p_o, where);
    *p_met_count += static_cast<int>(met.size());
    return qm_test::listed(world_manager.getCollisions(p_o, where)) == met;
  }

private:
  float uniform(float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random);
  }
  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
  // Mostly around the 80 x 24 boundary; now and then far enough out that the
  // grid's buckets wrap around, or beyond any cell.
  Vector somewhere() {
    switch (below(20)) {
    case 0:
      return Vector(uniform(-400, 400), uniform(-200, 200));
    case 1:
      return Vector(uniform(-1e30f, 1e30f), uniform(-15, 40));
    default:
      return Vector(uniform(-15, 95), uniform(-8, 32));
    }
  }
  Box someBox() {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<float, float> sizes[] = {{0, 0},   {1, 1},   {1, 1},   {0.5f, 2.5f}, {3, 1},
                                             {7, 1},   {1, 24},  {80, 1},  {30, 12},     {-2, 1},
                                             {1, -3},  {-9, -5}, {500, 2}, {2, 1e20f},   {nan, 1},
                                             {1, nan}, {inf, 1}, {-inf, 1}};
    const auto [width, height] = sizes[below(static_cast<int>(std::size(sizes)))];
    // Half the boxes are centred on the position, as a sprite's box is.
    return Box(below(2) ? Vector(-width / 2, -height / 2) : Vector(), width, height);
  }
  Solidness someSolidness() {
    const Solidness solidness[] = {HARD, SOFT, SOFT, SPECTRAL};
    return solidness[below(4)];
  }

  std::mt19937 random;
  WorldManager &world_manager = WorldManager::getInstance();
};

} // namespace

TEST(SpatialGrid, FindsWhatABruteForceSearchFindsInRandomWorlds) {
  int met_count = 0;
  for (unsigned seed = 1; seed <= 30; seed++) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    qm_test::resetWorld();
    RandomWorld world(seed);
    for (int change = 0; change < 400; change++) {
      world.change();
      for (int probe = 0; probe < 3; probe++) {
        ASSERT_TRUE(world.probe(&met_count)) << "after change " << change;
      }
    }
    WorldManager::getInstance().shutDown();
  }
  // Worlds too sparse to meet would pass as well.
  EXPECT_GT(met_count, 10000);
}
