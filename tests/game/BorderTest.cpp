// Walls and corners: their placement from the world's boundary and their
// indifference to events.
#include "Border.h"
#include "Corner.h"
#include "EventCollision.h"
#include "GameFixture.h"
#include "LogLines.h"
#include "ResourceManager.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

// The resource manager opens the audio device, and GL and audio drivers are
// unloaded before the leak check runs, so their allocations would show as
// leaks from "<unknown module>".
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

namespace {

using Arena = qm_test::GameFixture;

void expectAt(const qm::Object *p_o, float x, float y) {
  EXPECT_EQ(p_o->getPosition().getX(), x) << p_o->getType();
  EXPECT_EQ(p_o->getPosition().getY(), y) << p_o->getType();
}

TEST_F(Arena, WallsAndCornersOfTheDefaultWorld) {
  Border *p_top = new Border("top");
  Border *p_left = new Border("left");
  Border *p_right = new Border("right");
  Corner *p_left_corner = new Corner("left");
  Corner *p_right_corner = new Corner("right");
  expectAt(p_top, 40, 0);
  expectAt(p_left, 1, 14);
  expectAt(p_right, 80, 14);
  expectAt(p_left_corner, 1, 2);
  expectAt(p_right_corner, 80, 2);
  EXPECT_EQ(spriteLabel(p_top), "top_border");
  EXPECT_EQ(spriteLabel(p_left), "side_border");
  EXPECT_EQ(spriteLabel(p_right_corner), "corner");
  for (const qm::Object *p_o : {static_cast<qm::Object *>(p_top), static_cast<qm::Object *>(p_left),
                                static_cast<qm::Object *>(p_left_corner)}) {
    EXPECT_EQ(p_o->getSolidness(), qm::HARD);
    EXPECT_EQ(p_o->getAltitude(), 2);
  }
  EXPECT_EQ(p_top->getType(), "Border");
  EXPECT_EQ(p_left_corner->getType(), "Corner");
}

TEST_F(Arena, PlacementFollowsTheBoundary) {
  setWorldSize(100, 30);
  expectAt(new Border("top"), 50, 0);
  expectAt(new Border("left"), 1, 17);
  expectAt(new Border("right"), 100, 17);
  expectAt(new Corner("left"), 1, 2);
  expectAt(new Corner("right"), 100, 2);
}

TEST_F(Arena, UnknownPlaceLeavesAHardObjectAtTheOrigin) {
  Border *p_border = new Border("Top");
  expectAt(p_border, 0, 0);
  EXPECT_EQ(p_border->getType(), "Border");
  EXPECT_EQ(p_border->getSolidness(), qm::HARD);
  EXPECT_EQ(spriteLabel(p_border), "");
  EXPECT_EQ(p_border->getBox().getHorizontal(), 1.0f);
  Corner *p_corner = new Corner("top");
  expectAt(p_corner, 0, 0);
  EXPECT_EQ(spriteLabel(p_corner), "corner");
}

TEST_F(Arena, MissingCornerSpriteIsReportedForEachAttempt) {
  qm::ResourceManager::getInstance().unloadSprite("corner");
  qm_test::restartLog();
  new Corner("left");
  EXPECT_EQ(qm_test::countLogLines("Error! Sprite does not exist\n"), 2);
}

TEST_F(Arena, CollisionsLeaveWallsWhereTheyAre) {
  Border *p_wall = new Border("left");
  Corner *p_corner = new Corner("right");
  const qm::EventCollision event(p_wall, p_corner, qm::Vector(1, 2));
  EXPECT_EQ(p_wall->eventHandler(&event), 0);
  EXPECT_EQ(p_corner->eventHandler(&event), 0);
  expectAt(p_wall, 1, 14);
  expectAt(p_corner, 80, 2);
}

} // namespace
