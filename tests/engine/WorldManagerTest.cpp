#include "WorldManager.h"
#include "EventStep.h"
#include "Object.h"
#include "ObjectList.h"
#include "ObjectListIterator.h"
#include "Spy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using qm_test::Journal;
using qm_test::SpyObject;

namespace {

using Names = std::vector<std::string>;

Names typesOf(const qm::ObjectList &list) {
  Names types;
  qm::ObjectListIterator li(&list);
  for (li.first(); !li.isDone(); li.next()) {
    types.push_back(li.currentObject()->getType());
  }
  return types;
}

class World : public ::testing::Test {
protected:
  void SetUp() override { qm_test::resetWorld(); }
  void TearDown() override { world_manager.shutDown(); }

  SpyObject *spy(const std::string &name, float x = 0, float y = 0) {
    auto *p_o = new SpyObject(name, &journal);
    p_o->setPosition(qm::Vector(x, y));
    return p_o;
  }
  Names world() const { return typesOf(world_manager.getAllObjects()); }

  qm::WorldManager &world_manager = qm::WorldManager::getInstance();
  Journal journal;
};

TEST_F(World, KeepsObjectsInTheOrderTheyCame) {
  EXPECT_EQ("WorldManager", world_manager.getType());
  spy("a");
  SpyObject *p_b = spy("b");
  spy("c");
  EXPECT_EQ(Names({"a", "b", "c"}), world());
  delete p_b;
  EXPECT_EQ(Names({"a", "c"}), world());
  EXPECT_EQ(-1, world_manager.removeObject(p_b));
}

TEST_F(World, ObjectBeyondCapacityLivesOutsideTheWorld) {
  for (int i = 0; i < qm::MAX_OBJECTS; i++) {
    new qm::Object;
  }
  auto *p_outsider = new qm::Object;
  EXPECT_EQ(qm::MAX_OBJECTS, world_manager.getAllObjects().getCount());
  EXPECT_EQ(-1, world_manager.removeObject(p_outsider));
  delete p_outsider;
}

TEST_F(World, ObjectsOfTypeMatchTheWholeTypeExactly) {
  EXPECT_TRUE(world_manager.objectsOfType("Ball").isEmpty());
  spy("Ball", 1);
  spy("ball");
  spy("Balls");
  spy("Ball", 2);
  const qm::ObjectList balls = world_manager.objectsOfType("Ball");
  ASSERT_EQ(Names({"Ball", "Ball"}), typesOf(balls));
  qm::ObjectListIterator li(&balls);
  li.next();
  EXPECT_EQ(2, li.currentObject()->getPosition().getX()) << "in world order";
}

TEST_F(World, BroadcastReachesEveryObjectInWorldOrderButNotNewcomers) {
  const qm::EventStep step(5);
  EXPECT_EQ(0, world_manager.onEvent(&step));
  SpyObject *p_maker = spy("a");
  spy("b");
  p_maker->on_event = [this](const qm::Event *) { spy("newcomer"); };
  EXPECT_EQ(2, world_manager.onEvent(&step));
  EXPECT_EQ(Names({"a qm::step", "b qm::step"}), journal);
  EXPECT_EQ(Names({"a", "b", "newcomer"}), world());
}

TEST_F(World, MarkingTwiceDeletesOnce) {
  SpyObject *p_doomed = spy("doomed");
  spy("survivor");
  EXPECT_EQ(0, world_manager.markForDelete(p_doomed));
  EXPECT_EQ(0, world_manager.markForDelete(p_doomed));
  world_manager.update();
  world_manager.update();
  EXPECT_EQ(Names({"doomed deleted"}), journal);
  EXPECT_EQ(Names({"survivor"}), world());
}

TEST_F(World, ObjectMarkedDuringAStepIsGoneBeforeDrawing) {
  SpyObject *p_doomed = spy("doomed");
  p_doomed->on_event = [this, p_doomed](const qm::Event *) {
    world_manager.markForDelete(p_doomed);
  };
  const qm::EventStep step;
  world_manager.onEvent(&step);
  world_manager.update();
  world_manager.draw();
  EXPECT_EQ(Names({"doomed qm::step", "doomed deleted"}), journal);
}

TEST_F(World, ObjectsMarkedByADestructorGoInTheSameUpdate) {
  SpyObject *p_screen = spy("screen");
  spy("wall");
  spy("start");
  spy("ball");
  // Like an end screen: on its way out it marks all but the start screen,
  // itself included.
  p_screen->on_destroy = [this] {
    const qm::ObjectList all_objects = world_manager.getAllObjects();
    qm::ObjectListIterator li(&all_objects);
    for (li.first(); !li.isDone(); li.next()) {
      if (li.currentObject()->getType() != "start") {
        world_manager.markForDelete(li.currentObject());
      }
    }
  };
  world_manager.markForDelete(p_screen);
  world_manager.update();
  EXPECT_EQ(Names({"screen deleted", "wall deleted", "ball deleted"}), journal);
  EXPECT_EQ(Names({"start"}), world());
}

TEST_F(World, ShutDownDeletesEverythingOnceAndForgetsTheMarks) {
  world_manager.markForDelete(spy("marked"));
  spy("plain");
  world_manager.shutDown();
  EXPECT_EQ(Names({"marked deleted", "plain deleted"}), journal);
  EXPECT_TRUE(world().empty());
  // The marked object is gone: an update now must not delete it again.
  world_manager.update();
  EXPECT_EQ(2u, journal.size());
}

TEST_F(World, UpdateMovesOnlyObjectsWithAVelocity) {
  SpyObject *p_slow = spy("slow", 10, 10);
  p_slow->setVelocity(qm::Vector(0.5f, 0));
  // Two objects at rest on top of each other: neither is a mover.
  SpyObject *p_still = spy("still", 40, 10);
  spy("under", 40, 10);
  world_manager.update();
  world_manager.update();
  EXPECT_EQ(11, p_slow->getPosition().getX());
  EXPECT_EQ(40, p_still->getPosition().getX());
  EXPECT_TRUE(journal.empty());
}

TEST_F(World, ObjectMadeDuringTheMovesIsMovedInTheSameUpdate) {
  SpyObject *p_wall = spy("wall", 10, 5);
  SpyObject *p_ball = spy("ball", 8, 5);
  p_ball->setSolidness(qm::SOFT);
  p_ball->setVelocity(qm::Vector(1, 0));
  SpyObject *p_shard = nullptr;
  p_wall->on_event = [this, &p_shard](const qm::Event *) {
    p_shard = spy("shard", 30, 5);
    p_shard->setVelocity(qm::Vector(0, 1));
  };
  world_manager.update();
  ASSERT_NE(nullptr, p_shard);
  EXPECT_EQ(6, p_shard->getPosition().getY());
}

class WorldDraw : public World {
protected:
  void spyAt(const std::string &name, float x, float y, int altitude = 2) {
    spy(name, x, y)->setAltitude(altitude);
  }
};

TEST_F(WorldDraw, PaintsLowAltitudesFirstThenWorldOrder) {
  spyAt("top", 1, 1, 4);
  spyAt("middle-1", 2, 1, 2);
  spyAt("bottom", 3, 1, 0);
  spyAt("middle-2", 4, 1, 2);
  spyAt("low", 5, 1, 1);
  world_manager.draw();
  EXPECT_EQ(Names({"bottom draw", "low draw", "middle-1 draw", "middle-2 draw", "top draw"}),
            journal);
}

TEST_F(WorldDraw, CullsOnlyObjectsWhollyOutsideTheView) {
  world_manager.setView(qm::Box(qm::Vector(10, 10), 20, 10));
  spyAt("inside", 15, 15);
  spyAt("left-edge", 9, 12); // its box [9, 10] touches the view's left edge
  spyAt("right-edge", 30, 12);
  spyAt("left-out", 8.5f, 12);
  spyAt("below-out", 15, 20.01f);
  world_manager.draw();
  EXPECT_EQ(Names({"inside draw", "left-edge draw", "right-edge draw"}), journal);
}

TEST_F(WorldDraw, ViewObjectsAreDrawnWhereverTheyStand) {
  auto *p_hud = new qm_test::SpyViewObject("hud", &journal);
  p_hud->setPosition(qm::Vector(500, 500));
  spyAt("far-out", 500, 500, 4);
  world_manager.draw();
  EXPECT_EQ(Names({"hud draw"}), journal);
}

} // namespace
