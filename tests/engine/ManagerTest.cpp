#include "Manager.h"

#include <gtest/gtest.h>

namespace {

TEST(Manager, StartsOnceUntilShutDown) {
  qm::Manager manager;
  EXPECT_EQ(manager.startUp(), 0);
  EXPECT_EQ(manager.startUp(), -1);
  manager.shutDown();
  EXPECT_FALSE(manager.isStarted());
  EXPECT_EQ(manager.startUp(), 0);
}

} // namespace
