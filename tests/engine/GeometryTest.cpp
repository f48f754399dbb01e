#include "Box.h"
#include "Object.h"
#include "Spy.h"
#include "Vector.h"
#include "WorldManager.h"
#include "utility.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using qm_test::XY;
using qm_test::xy;

namespace {

const float NaN = std::numeric_limits<float>::quiet_NaN();

bool meet(float ax, float ay, float ah, float av, float bx, float by, float bh, float bv) {
  return qm::boxIntersectsBox(qm::Box(qm::Vector(ax, ay), ah, av),
                              qm::Box(qm::Vector(bx, by), bh, bv));
}

TEST(Vector, NormalizeGivesUnitLengthAndLeavesZeroAndNanAlone) {
  qm::Vector v(3, 4);
  EXPECT_FLOAT_EQ(5, v.getMagnitude());
  v.normalize();
  EXPECT_FLOAT_EQ(0.6f, v.getX());
  EXPECT_FLOAT_EQ(0.8f, v.getY());

  qm::Vector zero;
  zero.normalize();
  EXPECT_EQ(XY(0, 0), xy(zero));
  qm::Vector half_nan(NaN, 2);
  half_nan.normalize();
  EXPECT_EQ(2, half_nan.getY());
}

TEST(Vector, ScaleAndSumLeaveTheOperandsAlone) {
  qm::Vector v(-1.5f, 2);
  v.scale(2);
  EXPECT_EQ(XY(-3, 4), xy(v));
  EXPECT_EQ(XY(-2.75f, 0), xy(v + qm::Vector(0.25f, -4)));
  EXPECT_EQ(XY(-3, 4), xy(v));
}

TEST(BoxIntersection, EdgesAndCornersCount) {
  EXPECT_TRUE(meet(0, 0, 1, 1, 1, 0, 1, 1));
  EXPECT_TRUE(meet(0, 0, 1, 1, 1, 1, 1, 1));
  EXPECT_FALSE(meet(0, 0, 1, 1, 1.5f, 0, 1, 1));
  EXPECT_FALSE(meet(1.5f, 0, 1, 1, 0, 0, 1, 1));
  EXPECT_FALSE(meet(0, 0, 1, 1, 0, -1.01f, 1, 1));
  EXPECT_FALSE(meet(0, 0, 10, 1, 5, 3, 1, 1)) << "both axes must overlap";
}

TEST(BoxIntersection, ContainmentAndPointsInEitherOrder) {
  EXPECT_TRUE(meet(0, 0, 80, 24, 10, 10, 2, 2));
  EXPECT_TRUE(meet(10, 10, 2, 2, 0, 0, 80, 24));
  EXPECT_TRUE(meet(3, 3, 0, 0, 3, 3, 0, 0));
  EXPECT_TRUE(meet(3, 3, 0, 0, 0, 0, 3, 3));
  EXPECT_FALSE(meet(3, 3, 0, 0, 3.1f, 3, 0, 0));
  EXPECT_FALSE(meet(NaN, 0, 1, 1, 0, 0, 80, 24));
}

TEST(Utility, PositionsWithinOneCellAndNumberText) {
  EXPECT_TRUE(qm::positionsIntersect(qm::Vector(5, 5), qm::Vector(6, 4)));
  EXPECT_FALSE(qm::positionsIntersect(qm::Vector(5, 5), qm::Vector(6.5f, 5)));
  EXPECT_FALSE(qm::positionsIntersect(qm::Vector(5, 5), qm::Vector(5, 3.9f)));
  EXPECT_EQ("0", qm::toString(0));
  EXPECT_EQ("-42", qm::toString(-42));
  EXPECT_EQ("-2147483648", qm::toString(std::numeric_limits<int>::min()));
}

class WorldGeometry : public ::testing::Test {
protected:
  void SetUp() override { qm_test::resetWorld(); }
  void TearDown() override { world_manager.shutDown(); }

  qm::WorldManager &world_manager = qm::WorldManager::getInstance();
};

TEST_F(WorldGeometry, WorldBoxIsTheRelativeBoxMovedByThePosition) {
  auto *p_o = new qm::Object;
  p_o->setPosition(qm::Vector(10, 20));
  p_o->setBox(qm::Box(qm::Vector(-1.5f, -0.5f), 3, 1));
  const qm::Box now = qm::getWorldBox(p_o);
  EXPECT_EQ(XY(8.5f, 19.5f), qm_test::cornerOf(now));
  EXPECT_EQ(XY(3, 1), XY(now.getHorizontal(), now.getVertical()));
  EXPECT_EQ(XY(-1.5f, -1.5f), qm_test::cornerOf(qm::getWorldBox(p_o, qm::Vector(0, -1))));
}

TEST_F(WorldGeometry, WorldToViewUsesTheViewAndViewToWorldTheBoundary) {
  world_manager.setView(qm::Box(qm::Vector(10, 5), 80, 24));
  EXPECT_EQ(XY(2, 2), xy(qm::worldToView(qm::Vector(12, 7))));
  EXPECT_EQ(XY(2, 2), xy(qm::viewToWorld(qm::Vector(2, 2))));
  world_manager.setBoundary(qm::Box(qm::Vector(-3, 4), 100, 100));
  EXPECT_EQ(XY(-1, 6), xy(qm::viewToWorld(qm::Vector(2, 2))));
}

} // namespace
