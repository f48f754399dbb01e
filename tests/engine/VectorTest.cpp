#include "Vector.h"

#include <gtest/gtest.h>

namespace {

TEST(Vector, NormalizingKeepsTheDirectionAtLengthOne) {
  qm::Vector v(3, 4);
  EXPECT_FLOAT_EQ(v.getMagnitude(), 5);
  v.normalize();
  EXPECT_FLOAT_EQ(v.getX(), 0.6f);
  EXPECT_FLOAT_EQ(v.getY(), 0.8f);
}

TEST(Vector, NormalizingZeroLeavesZero) {
  qm::Vector zero;
  zero.normalize();
  EXPECT_EQ(zero.getMagnitude(), 0);
}

} // namespace
