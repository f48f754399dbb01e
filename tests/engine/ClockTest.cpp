#include "Clock.h"

#include <gtest/gtest.h>

namespace {

// Generous bounds for "at once": the machine may be busy.
constexpr long AT_ONCE = 100000;

TEST(Clock, NegativeOrZeroSleepReturnsAtOnce) {
  qm::Clock clock;
  EXPECT_EQ(-1, clock.sleep(-5000));
  EXPECT_EQ(-1, clock.sleep(-1));
  EXPECT_EQ(0, clock.sleep(0));
  EXPECT_LT(clock.split(), AT_ONCE);
}

TEST(Clock, SleepAndSplitCountMicroseconds) {
  qm::Clock clock;
  EXPECT_EQ(0, clock.sleep(20000));
  const long first_split = clock.split();
  EXPECT_GE(first_split, 20000);
  EXPECT_LT(first_split, 2000000);
  EXPECT_GE(clock.split(), first_split) << "split does not reset";
  EXPECT_GE(clock.delta(), first_split);
  EXPECT_LT(clock.delta(), AT_ONCE) << "delta resets";
}

} // namespace
