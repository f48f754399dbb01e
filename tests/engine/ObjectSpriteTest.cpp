// Object::setSprite goes through the resource manager, whose construction opens
// the audio device; the drivers' allocations would show up as leaks from
// "<unknown module>", so leak checking is off for this binary only.
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

#include "Object.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

TEST(ObjectSprite, UnknownLabelIsLoggedAndRefusedLeavingTheBox) {
  qm_test::restartLog();
  qm::Object o;
  EXPECT_EQ(-1, o.setSprite("bars"));
  EXPECT_EQ("Message : Error! Sprite does not exist\n", qm_test::readLog());
  EXPECT_EQ(1, o.getBox().getHorizontal());
  EXPECT_EQ(1, o.getBox().getVertical());
}
