#include "Object.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(Object, AnUnknownSpriteLabelIsLoggedAndRefusedLeavingTheBox) {
  qm_test::restartLog();
  qm::Object o;
  EXPECT_EQ(o.setSprite("bars"), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Sprite does not exist\n");
  EXPECT_EQ(o.getBox().getHorizontal(), 1);
  EXPECT_EQ(o.getBox().getVertical(), 1);
}

} // namespace
