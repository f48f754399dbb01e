// A game object's own state: what it refuses, with the log's lines, and what
// its velocity tells.
#include "Object.h"

#include "Spy.h"

#include <gtest/gtest.h>

namespace {

using qm_test::XY;
using qm_test::xy;

TEST(Object, AnUnknownSpriteAndAltitudesOutsideZeroToFourAreLoggedAndRefused) {
  qm_test::resetWorld();
  qm::Object o;
  EXPECT_EQ(o.setSprite("bars"), -1);
  EXPECT_EQ(xy(o.getBox().getCorner()), XY(0, 0));
  EXPECT_EQ(XY(o.getBox().getHorizontal(), o.getBox().getVertical()), XY(1, 1));
  EXPECT_EQ(o.setAltitude(0), 0);
  EXPECT_EQ(o.setAltitude(4), 0);
  EXPECT_EQ(o.setAltitude(5), -1);
  EXPECT_EQ(o.setAltitude(-1), -1);
  EXPECT_EQ(o.getAltitude(), 4);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Sprite does not exist\n"
                                "Message : Error! Given altitude not in range.\n"
                                "Message : Error! Given altitude not in range.\n");
}

TEST(Object, VelocityGivesTheObjectsSpeedDirectionAndNextPosition) {
  qm_test::resetWorld();
  qm::Object o;
  o.setVelocity(qm::Vector(0, -0.25f));
  EXPECT_EQ(xy(o.getDirection()), XY(0, -1));
  EXPECT_EQ(XY(o.getSpeed(), o.predictPosition().getY()), XY(0.25f, -0.25f));
  o.setVelocity(qm::Vector(0, 0));
  EXPECT_EQ(XY(o.getSpeed(), o.getDirection().getMagnitude()), XY(0, 0));
}

} // namespace
