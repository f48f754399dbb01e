#include "Sprite.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

const std::string FULL = "Message : Error! Sprite frame is full\n";
const std::string NO_FRAME = "Message : Error! Cannot draw non-existent frame\n";
const std::string NO_MEMORY = "Message : Error! Memory allocation failed when initilizing Sprite\n";

TEST(Sprite, HoldsAndDrawsFramesOnlyWithinItsSlots) {
  qm_test::restartLog();
  qm::Sprite sprite(3);
  ASSERT_EQ(sprite.addFrame(qm::Frame(1, 1, "a")), 0);
  EXPECT_EQ(sprite.getFrame(-1).getString() + sprite.getFrame(1).getString(), "");
  // An unfilled slot holds an empty frame, which refuses without a message.
  EXPECT_EQ(sprite.draw(2, qm::Vector(5, 5)), -1);
  EXPECT_EQ(qm_test::readLog(), "");
  EXPECT_EQ(sprite.draw(3, qm::Vector(5, 5)), -1);
  EXPECT_EQ(sprite.draw(-1, qm::Vector(5, 5)), -1);
  EXPECT_EQ(sprite.addFrame(qm::Frame(1, 1, "b")), 0);
  EXPECT_EQ(sprite.addFrame(qm::Frame(1, 1, "c")), 0);
  EXPECT_EQ(sprite.addFrame(qm::Frame(1, 1, "d")), -1);
  EXPECT_EQ(qm_test::readLog(), NO_FRAME + NO_FRAME + FULL);
}

TEST(Sprite, ASpriteWhoseSlotsCannotBeAllocatedHasNone) {
  for (int max_frames : {-1, INT_MIN, qm::MAX_SPRITE_FRAMES + 1, INT_MAX}) {
    qm_test::restartLog();
    qm::Sprite unallocated(max_frames);
    EXPECT_EQ(unallocated.addFrame(qm::Frame(1, 1, "a")), -1) << max_frames;
    EXPECT_EQ(unallocated.draw(0, qm::Vector(5, 5)), -1) << max_frames;
    EXPECT_EQ(qm_test::readLog(), NO_MEMORY + FULL + NO_FRAME) << max_frames;
  }
}

} // namespace
