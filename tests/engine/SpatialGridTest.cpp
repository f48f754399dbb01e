// The world's collision grid held to the plain walk over every object. Seeded
// random worlds, whose handlers move, resize, copy, create, mark and delete
// objects and change their solidness, run once through the world manager and
// once through the plain reference: both must deliver the same events in the
// same order and leave every object in the same place, and getCollisions must
// agree with the plain walk wherever a handler asks.
#include "EventOut.h"
#include "ObjectListIterator.h"
#include "PlainWorld.h"
#include "Spy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <limits>
#include <random>
#include <vector>

using namespace qm;
using namespace qm_test;

namespace {

std::vector<Object *> inOrder(const ObjectList &list) {
  std::vector<Object *> objects;
  ObjectListIterator li(&list);
  for (li.first(); !li.isDone(); li.next()) {
    objects.push_back(li.currentObject());
  }
  return objects;
}

// One seeded world, run through the world manager or through the plain walk.
// Both runs draw the same random numbers for as long as they see the same
// events.
class RandomWorld {
public:
  RandomWorld(unsigned seed, bool init_plain) : random(seed), plain(init_plain) {}

  // Journals every event of some updates and, after each, every object's
  // place and solidness.
  Journal run(int frames) {
    resetWorld();
    for (int count = 20 + below(80); count > 0; count--) {
      make();
    }
    for (int frame = 0; frame < frames; frame++) {
      update();
      for (Object *p_o : inOrder(world_manager.getAllObjects())) {
        char place[96];
        std::snprintf(place, sizeof place, " at %a %a %d",
                      static_cast<double>(p_o->getPosition().getX()),
                      static_cast<double>(p_o->getPosition().getY()), p_o->getSolidness());
        journal.push_back(p_o->getType() + place);
      }
    }
    world_manager.shutDown();
    return journal;
  }

  Journal journal;
  int probes = 0, probe_mismatches = 0, deletes = 0;

private:
  float uniform(float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random);
  }
  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
  // Mostly around the 80 x 24 boundary; now and then far enough out that the
  // grid's buckets wrap around.
  Vector somewhere() {
    return below(10) == 0 ? Vector(uniform(-400, 400), uniform(-200, 200))
                          : Vector(uniform(-15, 95), uniform(-8, 32));
  }
  Box someBox() {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<float, float> sizes[] = {{0, 0},  {1, 1},  {1, 1},   {1, 1},   {0.5f, 2.5f},
                                             {3, 1},  {7, 1},  {1, 24},  {80, 1},  {30, 12},
                                             {-2, 1}, {1, -3}, {500, 2}, {nan, 1}, {inf, 1}};
    const auto [width, height] = sizes[below(static_cast<int>(std::size(sizes)))];
    // Half the boxes are centred on the position, as a sprite's box is.
    return Box(below(2) ? Vector(-width / 2, -height / 2) : Vector(), width, height);
  }
  Solidness someSolidness() {
    const Solidness solidness[] = {HARD, SOFT, SOFT, SPECTRAL};
    return solidness[below(4)];
  }
  Vector someVelocity() {
    return below(4) ? Vector(uniform(-1.5f, 1.5f), uniform(-1.5f, 1.5f)) : Vector();
  }
  // The world's list, taken again only after objects come or go.
  const std::vector<Object *> &objects() {
    if (objects_seen != changes) {
      objects_now = inOrder(world_manager.getAllObjects());
      objects_seen = changes;
    }
    return objects_now;
  }
  Object *anyObject() {
    return objects()[static_cast<std::size_t>(below(static_cast<int>(objects().size())))];
  }

  void make() {
    auto *p_o = new SpyObject("o" + std::to_string(made++), &journal);
    changes++;
    p_o->setPosition(somewhere());
    p_o->setBox(someBox());
    p_o->setSolidness(someSolidness());
    p_o->setVelocity(someVelocity());
    p_o->on_event = [this, p_o](const Event *p_e) { react(p_o, p_e); };
    p_o->on_destroy = [this] { changes++; };
  }

  void mark(Object *p_o) {
    if (std::find(marked.begin(), marked.end(), p_o) == marked.end()) {
      marked.push_back(p_o);
      if (!plain) {
        world_manager.markForDelete(p_o);
      }
    }
  }

  void move(Object *p_o, Vector where) {
    depth++;
    const int result = plain ? plainMoveObject(p_o, where) : world_manager.moveObject(p_o, where);
    depth--;
    journal.push_back("moved " + std::to_string(result));
  }

  // The world's update, or its double: the marked objects go, then a walk
  // over the live list, which handlers lengthen and shorten as it goes.
  void update() {
    if (!plain) {
      // The world deletes these first; marks made during its walk wait for
      // the next update.
      deletes += static_cast<int>(marked.size());
      marked.clear();
      world_manager.update();
      return;
    }
    for (Object *p_o : marked) {
      delete p_o;
    }
    deletes += static_cast<int>(marked.size());
    marked.clear();
    for (size_t i = 0; i < objects().size(); i++) {
      Object *p_o = objects()[i];
      const Vector from = p_o->getPosition(), to = p_o->predictPosition();
      if (!(to.getX() == from.getX()) || !(to.getY() == from.getY())) {
        plainMoveObject(p_o, to);
      }
    }
  }

  void react(Object *p_self, const Event *p_e) {
    if (below(8) == 0) {
      Object *p_probe = anyObject();
      const Vector where = below(2) ? somewhere() : p_probe->predictPosition();
      probes++;
      if (inOrder(world_manager.getCollisions(p_probe, where)) !=
          inOrder(plainCollisions(p_probe, where))) {
        probe_mismatches++;
      }
    }
    // An out event of an update's own move comes after its collisions, so
    // nothing holds a pointer that a deletion would leave dangling; one
    // deletion at most, so that the update's walk stays within its list.
    if (p_e->getType() == OUT_EVENT && depth == 0 && below(3) == 0) {
      Object *p_victim = anyObject();
      if (p_victim != p_self && std::find(marked.begin(), marked.end(), p_victim) == marked.end()) {
        deletes++;
        delete p_victim;
      }
      return;
    }
    switch (below(40)) {
    case 0:
    case 1:
      anyObject()->setPosition(somewhere());
      break;
    case 2:
    case 3:
      anyObject()->setBox(someBox());
      break;
    case 4:
    case 5:
      anyObject()->setSolidness(someSolidness());
      break;
    case 6:
      p_self->setVelocity(someVelocity());
      break;
    case 7:
      if (objects().size() < 200) {
        make();
      }
      break;
    case 8:
    case 9:
      mark(anyObject());
      break;
    case 10:
      if (depth < 2) {
        Object *p_o = anyObject();
        move(p_o, p_o->getPosition() + Vector(uniform(-3, 3), uniform(-3, 3)));
      }
      break;
    case 11: {
      const Object *p_model = anyObject();
      *anyObject() = *p_model; // takes the model's place, box and name
      break;
    }
    default: // most events change nothing
      break;
    }
  }

  std::mt19937 random;
  const bool plain;
  WorldManager &world_manager = WorldManager::getInstance();
  std::vector<Object *> marked;
  int made = 0, depth = 0, changes = 0, objects_seen = -1;
  std::vector<Object *> objects_now;
};

size_t countOf(const Journal &journal, const std::string &what) {
  return static_cast<size_t>(
      std::count_if(journal.begin(), journal.end(),
                    [&](const std::string &line) { return line.find(what) != std::string::npos; }));
}

} // namespace

TEST(SpatialGrid, RandomWorldsDeliverTheEventsOfThePlainWalkInTheSameOrder) {
  size_t compared = 0, collisions = 0, outs = 0, deletes = 0, probes = 0;
  for (unsigned seed = 1; seed <= 40; seed++) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    RandomWorld grid(seed, false), plain(seed, true);
    const Journal by_grid = grid.run(40), by_plain = plain.run(40);
    const auto [grid_end, plain_end] =
        std::mismatch(by_grid.begin(), by_grid.end(), by_plain.begin(), by_plain.end());
    ASSERT_TRUE(grid_end == by_grid.end() && plain_end == by_plain.end())
        << "first difference after " << grid_end - by_grid.begin()
        << " lines: " << (grid_end == by_grid.end() ? "(end)" : *grid_end) << " / "
        << (plain_end == by_plain.end() ? "(end)" : *plain_end);
    EXPECT_EQ(grid.probe_mismatches + plain.probe_mismatches, 0);
    compared += by_grid.size();
    collisions += countOf(by_grid, "qm::collision");
    outs += countOf(by_grid, "qm::out");
    deletes += static_cast<size_t>(grid.deletes);
    probes += static_cast<size_t>(grid.probes + plain.probes);
  }
  // Worlds too tame to test anything would pass as well.
  EXPECT_GT(collisions, 20000u);
  EXPECT_GT(outs, 300u);
  EXPECT_GT(deletes, 300u);
  RecordProperty("journal_lines", static_cast<int>(compared));
  RecordProperty("collision_events", static_cast<int>(collisions));
  RecordProperty("out_events", static_cast<int>(outs));
  RecordProperty("getCollisions_probes", static_cast<int>(probes));
}
