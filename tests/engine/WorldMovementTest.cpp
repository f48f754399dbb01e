#include "Object.h"
#include "ObjectList.h"
#include "ObjectListIterator.h"
#include "Spy.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using qm_test::Journal;
using qm_test::SpyObject;
using qm_test::XY;
using qm_test::xy;

namespace {

using Names = std::vector<std::string>;

class WorldMovement : public ::testing::Test {
protected:
  void SetUp() override { qm_test::resetWorld(); }
  void TearDown() override { world_manager.shutDown(); }

  // Every spy has the default box: one cell, its corner at the position.
  SpyObject *spyAt(const std::string &name, float x, float y, qm::Solidness solidness) {
    auto *p_o = new SpyObject(name, &journal);
    p_o->setPosition(qm::Vector(x, y));
    p_o->setSolidness(solidness);
    return p_o;
  }
  int move(qm::Object *p_o, float x, float y) {
    return world_manager.moveObject(p_o, qm::Vector(x, y));
  }
  XY viewCorner() const { return qm_test::cornerOf(world_manager.getView()); }

  qm::WorldManager &world_manager = qm::WorldManager::getInstance();
  Journal journal;
};

TEST_F(WorldMovement, CollisionsAreTheSolidOthersAtTheDestinationInWorldOrder) {
  SpyObject *p_mover = spyAt("mover", 0, 0, qm::HARD);
  SpyObject *p_soft = spyAt("soft", 11, 5, qm::SOFT); // touches along an edge
  spyAt("ghost", 10, 5, qm::SPECTRAL);
  SpyObject *p_hard = spyAt("hard", 10, 4, qm::HARD);
  spyAt("away", 13, 5, qm::HARD);
  const qm::ObjectList found = world_manager.getCollisions(p_mover, qm::Vector(10, 5));
  ASSERT_EQ(2, found.getCount());
  qm::ObjectListIterator li(&found);
  EXPECT_EQ(p_soft, li.currentObject());
  li.next();
  EXPECT_EQ(p_hard, li.currentObject());
  EXPECT_TRUE(world_manager.getCollisions(p_mover, qm::Vector(0, 0)).isEmpty()) << "never itself";
}

TEST_F(WorldMovement, HardOnHardIsRefusedAfterEveryoneIsTold) {
  SpyObject *p_mover = spyAt("mover", 5, 5, qm::HARD);
  spyAt("wall", 10, 5, qm::HARD);
  spyAt("cushion", 10, 5, qm::SOFT);
  EXPECT_EQ(-1, move(p_mover, 10, 5));
  EXPECT_EQ(XY(5, 5), xy(p_mover->getPosition()));
  EXPECT_EQ(Names({"mover qm::collision mover>wall", "wall qm::collision mover>wall",
                   "mover qm::collision mover>cushion", "cushion qm::collision mover>cushion"}),
            journal);
}

TEST_F(WorldMovement, SoftOnEitherSideLetsTheMoveHappen) {
  SpyObject *p_hard = spyAt("hard", 5, 5, qm::HARD);
  SpyObject *p_soft = spyAt("soft", 20, 5, qm::SOFT);
  spyAt("cushion", 10, 5, qm::SOFT);
  spyAt("wall", 30, 5, qm::HARD);
  EXPECT_EQ(0, move(p_hard, 10, 5));
  EXPECT_EQ(0, move(p_soft, 30, 5));
  EXPECT_EQ(XY(30, 5), xy(p_soft->getPosition())) << "overlapping the wall";
  EXPECT_EQ(Names({"hard qm::collision hard>cushion", "cushion qm::collision hard>cushion",
                   "soft qm::collision soft>wall", "wall qm::collision soft>wall"}),
            journal);
}

TEST_F(WorldMovement, SpectralNeverCollides) {
  SpyObject *p_ghost = spyAt("ghost", 5, 5, qm::SPECTRAL);
  SpyObject *p_hard = spyAt("hard", 20, 5, qm::HARD);
  spyAt("wall", 10, 5, qm::HARD);
  spyAt("mist", 30, 5, qm::SPECTRAL);
  EXPECT_EQ(0, move(p_ghost, 10, 5));
  EXPECT_EQ(0, move(p_hard, 30, 5));
  EXPECT_EQ(XY(10, 5), xy(p_ghost->getPosition()));
  EXPECT_EQ(XY(30, 5), xy(p_hard->getPosition()));
  EXPECT_TRUE(journal.empty());
}

TEST_F(WorldMovement, SolidnessIsReadAfterTheHandlers) {
  SpyObject *p_mover = spyAt("mover", 5, 5, qm::HARD);
  SpyObject *p_door = spyAt("door", 10, 5, qm::HARD);
  p_door->on_event = [p_door](const qm::Event *) { p_door->setSolidness(qm::SOFT); };
  EXPECT_EQ(0, move(p_mover, 10, 5));

  spyAt("wall", 20, 5, qm::HARD);
  p_mover->setSolidness(qm::SOFT);
  p_mover->on_event = [p_mover](const qm::Event *) { p_mover->setSolidness(qm::HARD); };
  EXPECT_EQ(-1, move(p_mover, 20, 5));
  EXPECT_EQ(XY(10, 5), xy(p_mover->getPosition()));
}

TEST_F(WorldMovement, MoveEndsAtTheDestinationWhateverTheHandlersDid) {
  SpyObject *p_ball = spyAt("ball", 5, 5, qm::SOFT);
  spyAt("wall", 10, 5, qm::HARD);
  p_ball->on_event = [p_ball](const qm::Event *) { p_ball->setPosition(qm::Vector(0, 0)); };
  EXPECT_EQ(0, move(p_ball, 10, 5));
  EXPECT_EQ(XY(10, 5), xy(p_ball->getPosition()));
}

TEST_F(WorldMovement, OutEventOnlyWhenLeavingTheWorld) {
  // The boundary is [0, 80] x [0, 24].
  SpyObject *p_ball = spyAt("ball", 40, 23, qm::SOFT);
  move(p_ball, 40, 24); // touching the edge: still in
  EXPECT_TRUE(journal.empty());
  move(p_ball, 40, 24.5f);
  EXPECT_EQ(Names({"ball qm::out"}), journal);
  move(p_ball, 40, 30);
  move(p_ball, 40, 10); // back in
  EXPECT_EQ(1u, journal.size());
  move(p_ball, -50, 10); // straight out in one move
  EXPECT_EQ(Names({"ball qm::out", "ball qm::out"}), journal);
}

class WorldView : public WorldMovement {
protected:
  void SetUp() override {
    WorldMovement::SetUp();
    world_manager.setBoundary(qm::Box(qm::Vector(0, 0), 200, 50));
  }
};

TEST_F(WorldView, FollowingCentresTheViewWithinTheBoundary) {
  SpyObject *p_hero = spyAt("hero", 150, 40, qm::SOFT);
  EXPECT_EQ(0, world_manager.setViewFollowing(p_hero));
  EXPECT_EQ(XY(110, 26), viewCorner());
  move(p_hero, 10, 5);
  EXPECT_EQ(XY(0, 0), viewCorner());
  move(p_hero, 195, 10);
  EXPECT_EQ(XY(120, 0), viewCorner());
  move(p_hero, 100, 25);
  EXPECT_EQ(XY(60, 13), viewCorner());
  EXPECT_EQ(XY(80, 24),
            XY(world_manager.getView().getHorizontal(), world_manager.getView().getVertical()));
}

TEST_F(WorldView, ViewWiderThanTheBoundaryStaysAtZero) {
  world_manager.setView(qm::Box(qm::Vector(0, 0), 300, 24));
  world_manager.setViewPosition(qm::Vector(190, 25));
  EXPECT_EQ(XY(0, 13), viewCorner());
}

TEST_F(WorldView, RefusedMoveSendsNoOutEventAndLeavesTheView) {
  SpyObject *p_mover = spyAt("mover", 150, 40, qm::HARD);
  spyAt("wall", 150, 60, qm::HARD);
  ASSERT_EQ(0, world_manager.setViewFollowing(p_mover));
  EXPECT_EQ(-1, move(p_mover, 150, 60));
  EXPECT_EQ(Names({"mover qm::collision mover>wall", "wall qm::collision mover>wall"}), journal);
  EXPECT_EQ(XY(110, 26), viewCorner());
}

TEST_F(WorldView, FollowsOnlyObjectsOfTheWorld) {
  SpyObject *p_hero = spyAt("hero", 150, 40, qm::SOFT);
  EXPECT_EQ(0, world_manager.setViewFollowing(nullptr)) << "nothing was followed";
  ASSERT_EQ(0, world_manager.setViewFollowing(p_hero));
  SpyObject *p_outsider = spyAt("outsider", 0, 0, qm::SOFT);
  world_manager.removeObject(p_outsider);
  EXPECT_EQ(-1, world_manager.setViewFollowing(p_outsider));
  move(p_hero, 10, 5);
  EXPECT_EQ(XY(0, 0), viewCorner()) << "the hero is still followed";
  EXPECT_EQ(0, world_manager.setViewFollowing(nullptr));
  move(p_hero, 150, 40);
  EXPECT_EQ(XY(0, 0), viewCorner());
  delete p_outsider;
}

TEST_F(WorldView, ObjectLeavingTheWorldIsNoLongerFollowed) {
  SpyObject *p_hero = spyAt("hero", 150, 40, qm::SOFT);
  ASSERT_EQ(0, world_manager.setViewFollowing(p_hero));
  ASSERT_EQ(0, world_manager.removeObject(p_hero));
  move(p_hero, 10, 5);
  EXPECT_EQ(XY(110, 26), viewCorner());
  delete p_hero;
}

} // namespace
