#include "Clock.h"

#include <gtest/gtest.h>

namespace {

TEST(Clock, NonPositiveSleepReturnsAtOnce) {
  qm::Clock clock;
  EXPECT_EQ(clock.sleep(-5000), -1);
  EXPECT_EQ(clock.sleep(0), 0);
  EXPECT_LT(clock.split(), 100000) << "microseconds, generous for a busy machine";
}

TEST(Clock, SleepLastsAboutWhatWasAsked) {
  qm::Clock clock;
  EXPECT_EQ(clock.sleep(20000), 0);
  const long slept = clock.split();
  EXPECT_GE(slept, 20000);
  EXPECT_LT(slept, 520000) << "microseconds, generous for a busy machine";
}

} // namespace
