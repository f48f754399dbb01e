// Objects in the world: deletion, the update walk, broadcasts, drawing, movement,
// the view and world boxes. Every spy has the default box: one cell, its corner at the position.
#include "EventStep.h"
#include "Spy.h"
#include "ViewObject.h"
#include "utility.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace qm;
using namespace qm_test;

class World : public ::testing::Test {
protected:
  void SetUp() override { resetWorld(); }
  void TearDown() override { world_manager.shutDown(); }

  SpyObject *spy(const std::string &name, float x = 0, float y = 0, Solidness solid = HARD) {
    auto *p_o = new SpyObject(name, &journal);
    p_o->setPosition(Vector(x, y));
    p_o->setSolidness(solid);
    return p_o;
  }
  int move(Object *p_o, float x, float y) { return world_manager.moveObject(p_o, Vector(x, y)); }
  XY viewCorner() const { return xy(world_manager.getView().getCorner()); }

  WorldManager &world_manager = WorldManager::getInstance();
  Journal journal;
};

TEST_F(World, ObjectsAreInItFromConstructionToDestructionWithConsecutiveIds) {
  auto *p_o = new Object;
  auto *p_second = new Object;
  EXPECT_EQ(p_o->getID() + 1, p_second->getID());
  EXPECT_EQ(world_manager.getAllObjects().getCount(), 2);
  delete p_second;
  EXPECT_EQ(world_manager.getAllObjects().getCount(), 1);
}

TEST_F(World, WorldBoxesAndViewCoordinates) {
  auto *p_o = new Object;
  p_o->setPosition(Vector(10, 20));
  p_o->setBox(Box(Vector(-1.5f, -0.5f), 3, 1));
  const Box box = getWorldBox(p_o);
  EXPECT_EQ(xy(box.getCorner()), XY(8.5f, 19.5f));
  EXPECT_EQ(XY(box.getHorizontal(), box.getVertical()), XY(3, 1));
  world_manager.setView(Box(Vector(10, 5), 80, 24));
  world_manager.setBoundary(Box(Vector(-3, 4), 100, 100));
  EXPECT_EQ(xy(worldToView(Vector(12, 7))), XY(2, 2)) << "relative to the view";
  EXPECT_EQ(xy(viewToWorld(Vector(2, 2))), XY(-1, 6)) << "relative to the boundary";
}

TEST_F(World, MarkedObjectsGoOnceEvenWhenADestructorMarksThemAgain) {
  SpyObject *p_screen = spy("screen");
  SpyObject *p_wall = spy("wall");
  spy("start");
  p_screen->on_destroy = [&] {
    world_manager.markForDelete(p_wall);
    world_manager.markForDelete(p_screen);
  };
  world_manager.markForDelete(p_screen);
  world_manager.markForDelete(p_screen);
  world_manager.update();
  EXPECT_EQ(journal, Journal({"screen deleted", "wall deleted"}));
}

TEST_F(World, ShutDownDeletesEveryObjectAndForgetsTheirMarks) {
  spy("start");
  world_manager.markForDelete(spy("marked"));
  world_manager.shutDown();
  world_manager.update(); // the mark went with the object
  EXPECT_EQ(journal, Journal({"start deleted", "marked deleted"}));
}

TEST_F(World, BroadcastSkipsObjectsMadeDuringItButTheUpdateWalkMovesThem) {
  Object *p_made = nullptr;
  spy("maker", 10, 5)->on_event = [&](const Event *) {
    p_made = spy("made", 0, 0, SPECTRAL);
    p_made->setVelocity(Vector(0, 1));
  };
  const EventStep step;
  EXPECT_EQ(world_manager.onEvent(&step), 1);
  EXPECT_EQ(journal, Journal({"maker qm::step"}));
  spy("ball", 9, 5)->setVelocity(Vector(1, 0)); // bumps into the maker in the update
  world_manager.update();
  EXPECT_EQ(p_made->getPosition().getY(), 1);
}

TEST_F(World, BeyondItsCapacityObjectsAndMarksAreRefusedAndTheWorldGoesOn) {
  for (int i = 0; i < MAX_OBJECTS - 1; i++) {
    (new Object)->setPosition(Vector(-100, -100)); // out of view: not drawn
  }
  spy("last", 5, 5);
  SpyObject *p_outsider = spy("outsider", 5, 5);
  p_outsider->setVelocity(Vector(1, 0));
  EXPECT_EQ(world_manager.getAllObjects().getCount(), MAX_OBJECTS);
  EXPECT_EQ(world_manager.objectsOfType("outsider").getCount(), 0);
  // The 2001st is never sent events, moved or drawn.
  const EventStep step;
  EXPECT_EQ(world_manager.onEvent(&step), MAX_OBJECTS);
  world_manager.update();
  world_manager.draw();
  EXPECT_EQ(journal, Journal({"last qm::step", "last draw"}));
  EXPECT_EQ(xy(p_outsider->getPosition()), XY(5, 5));

  // With every object marked the deletion list is full: one more mark is
  // refused and its object stays until a later update takes it.
  for (Object *p_o : listed(world_manager.getAllObjects())) {
    ASSERT_EQ(world_manager.markForDelete(p_o), 0);
  }
  EXPECT_EQ(world_manager.markForDelete(p_outsider), -1);
  world_manager.update();
  EXPECT_EQ(world_manager.getAllObjects().getCount(), 0);
  EXPECT_EQ(journal.back(), "last deleted");
  EXPECT_EQ(world_manager.markForDelete(p_outsider), 0);
  world_manager.update();
  EXPECT_EQ(journal.back(), "outsider deleted");
  spy("after");
  EXPECT_EQ(world_manager.getAllObjects().getCount(), 1);
  EXPECT_EQ(readLog(), "");
}

TEST_F(World, DrawsByAltitudeInWorldOrderCullingObjectsWhollyOutOfView) {
  world_manager.setView(Box(Vector(10, 10), 20, 10));
  spy("top", 15, 15)->setAltitude(4);
  spy("mid-1", 9, 12); // its box [9, 10] touches the view's left edge
  spy("low", 30, 12)->setAltitude(0);
  spy("mid-2", 15, 15);
  spy("out", 8.5f, 12)->setAltitude(0);
  spy("out", 15, 20.01f);
  new Spy<ViewObject>("view", &journal); // at altitude 4, wherever it stands
  world_manager.draw();
  EXPECT_EQ(journal, Journal({"low draw", "mid-1 draw", "mid-2 draw", "top draw", "view draw"}));
}

// The other sits outside the boundary [0, 80] x [0, 24]: moving onto it leaves the world.
TEST_F(World, SolidnessDecidesWhoIsToldAndWhetherTheMoveHappens) {
  const std::string M = "mover qm::collision mover>other", O = "other qm::collision mover>other",
                    OUT = "mover qm::out";
  const std::tuple<Solidness, Solidness, int, Journal> cases[] = {
      {HARD, HARD, -1, {M, O}},     {HARD, SOFT, 0, {M, O, OUT}}, {SOFT, HARD, 0, {M, O, OUT}},
      {SOFT, SOFT, 0, {M, O, OUT}}, {SPECTRAL, HARD, 0, {OUT}},   {HARD, SPECTRAL, 0, {OUT}}};
  for (const auto &[mover, other, result, told] : cases) {
    SCOPED_TRACE(testing::Message() << "solidness " << mover << " onto " << other);
    resetWorld();
    journal.clear();
    SpyObject *p_mover = spy("mover", 40, 23, mover);
    spy("other", 40, 30, other);
    EXPECT_EQ(result, move(p_mover, 40, 30));
    EXPECT_EQ(result == 0 ? 30 : 23, p_mover->getPosition().getY());
    EXPECT_EQ(told, journal);
  }
}

TEST_F(World, SolidnessIsReadAfterTheHandlers) {
  SpyObject *p_door = spy("door", 10, 5);
  p_door->on_event = [p_door](const Event *) { p_door->setSolidness(SOFT); };
  EXPECT_EQ(move(spy("mover", 5, 5), 10, 5), 0);
}

TEST_F(World, OutEventOnlyWhenGoingFromInsideToOutside) {
  SpyObject *p_ball = spy("ball", 40, 23, SPECTRAL);
  std::vector<size_t> outs;
  for (XY to : {XY(40, 24), XY(40, 24.5f), XY(40, 30), XY(40, 10), XY(-50, 10)}) {
    move(p_ball, to.first, to.second); // the first only touches the edge
    outs.push_back(journal.size());
  }
  EXPECT_EQ(outs, std::vector<size_t>({0, 1, 1, 1, 2}));
}

TEST_F(World, ViewIsClampedToTheBoundaryAndFollowsAnObjectUntilItLeavesTheWorld) {
  world_manager.setBoundary(Box(Vector(0, 0), 200, 50));
  for (auto [centre, corner] :
       {std::pair<XY, XY>({150, 40}, {110, 26}), {{10, 5}, {0, 0}}, {{195, 10}, {120, 0}}}) {
    world_manager.setViewPosition(Vector(centre.first, centre.second));
    EXPECT_EQ(corner, viewCorner());
  }
  SpyObject *p_hero = spy("hero", 150, 40);
  ASSERT_EQ(world_manager.setViewFollowing(p_hero), 0);
  move(p_hero, 10, 5);
  EXPECT_EQ(viewCorner(), XY(0, 0));
  world_manager.removeObject(p_hero);
  move(p_hero, 150, 40);
  EXPECT_EQ(viewCorner(), XY(0, 0)) << "no longer followed";
  delete p_hero;
  world_manager.setView(Box(Vector(0, 0), 300, 24)); // wider than the boundary
  world_manager.setViewPosition(Vector(190, 25));
  EXPECT_EQ(viewCorner(), XY(0, 13));
}
