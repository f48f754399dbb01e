#include "utility.h"

#include "Box.h"

#include <gtest/gtest.h>

namespace {

using qm::Box;
using qm::Vector;

TEST(Utility, BoxesIntersectWhenTheyOverlapTouchOrContainOneAnother) {
  const Box unit(Vector(0, 0), 1, 1);
  EXPECT_TRUE(qm::boxIntersectsBox(unit, Box(Vector(1, 1), 1, 1))) << "a shared corner";
  EXPECT_TRUE(qm::boxIntersectsBox(Box(Vector(-5, -5), 10, 10), unit)) << "containment";
  EXPECT_FALSE(qm::boxIntersectsBox(unit, Box(Vector(1.5f, 0), 1, 1)));
  EXPECT_FALSE(qm::boxIntersectsBox(Box(Vector(0, 3), 10, 1), Box(Vector(5, 0), 1, 1)));
}

TEST(Utility, ToStringWritesTheNumber) {
  EXPECT_EQ(qm::toString(-42), "-42");
}

} // namespace
