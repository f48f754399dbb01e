#include "Sprite.h"

#include "LogLines.h"
#include "TestSupport.h"

#include <climits>
#include <gtest/gtest.h>

using qm_test::countLogLines;
using qm_test::NO_WINDOW_LINE;

namespace {

const std::string FULL_LINE = "Error! Sprite frame is full\n";
const std::string NO_FRAME_LINE = "Error! Cannot draw non-existent frame\n";
const std::string NO_MEMORY_LINE = "Error! Memory allocation failed when initilizing Sprite\n";

// Without a window every drawn cell writes one log line.
class SpriteTest : public ::testing::Test {
protected:
  void SetUp() override { qm_test::restartLog(); }
};

TEST_F(SpriteTest, AcceptsAsManyFramesAsSlotsThenRefuses) {
  qm::Sprite sprite(3);
  EXPECT_EQ(sprite.addFrame(qm::Frame(1, 1, "a")), 0);
  EXPECT_EQ(sprite.addFrame(qm::Frame(1, 1, "b")), 0);
  EXPECT_EQ(sprite.addFrame(qm::Frame(1, 1, "c")), 0);
  EXPECT_EQ(qm_test::readLog(), "");

  EXPECT_EQ(sprite.addFrame(qm::Frame(1, 1, "d")), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : " + FULL_LINE);
  EXPECT_EQ(sprite.getFrameCount(), 3);
  EXPECT_EQ(sprite.getFrame(2).getString(), "c");
}

TEST_F(SpriteTest, FrameOutsideTheAddedOnesIsEmptyAndSilent) {
  qm::Sprite sprite(3);
  sprite.addFrame(qm::Frame(2, 1, "ab"));
  for (int frame_number : {-1, 1, 2, 3}) {
    const qm::Frame frame = sprite.getFrame(frame_number);
    EXPECT_EQ(frame.getWidth(), 0) << frame_number;
    EXPECT_EQ(frame.getHeight(), 0) << frame_number;
    EXPECT_EQ(frame.getString(), "") << frame_number;
  }
  EXPECT_EQ(sprite.getFrame(0).getString(), "ab");
  EXPECT_EQ(qm_test::readLog(), "");
}

TEST_F(SpriteTest, DrawIsBoundedBySlotsNotByFramesAdded) {
  qm::Sprite sprite(3);
  sprite.addFrame(qm::Frame(2, 2, "abcd"));

  EXPECT_EQ(sprite.draw(0, qm::Vector(5, 5)), 0);
  EXPECT_EQ(countLogLines(NO_WINDOW_LINE), 4);

  // An unfilled slot holds an empty frame: refused without a message.
  EXPECT_EQ(sprite.draw(2, qm::Vector(5, 5)), -1);
  EXPECT_EQ(countLogLines(NO_FRAME_LINE), 0);

  EXPECT_EQ(sprite.draw(3, qm::Vector(5, 5)), -1);
  EXPECT_EQ(sprite.draw(-1, qm::Vector(5, 5)), -1);
  EXPECT_EQ(countLogLines(NO_FRAME_LINE), 2);
  EXPECT_EQ(countLogLines(NO_WINDOW_LINE), 4);
}

TEST_F(SpriteTest, UnallocatableSlotCountGivesASpriteThatHoldsNothing) {
  for (int max_frames : {-1, INT_MIN, qm::MAX_SPRITE_FRAMES + 1, INT_MAX}) {
    qm_test::restartLog();
    qm::Sprite sprite(max_frames);
    EXPECT_EQ(qm_test::readLog(), "Message : " + NO_MEMORY_LINE) << max_frames;

    EXPECT_EQ(sprite.addFrame(qm::Frame(1, 1, "a")), -1) << max_frames;
    EXPECT_EQ(sprite.getFrameCount(), 0) << max_frames;
    EXPECT_EQ(sprite.draw(0, qm::Vector(5, 5)), -1) << max_frames;
    EXPECT_EQ(sprite.getFrame(0).getString(), "") << max_frames;
    EXPECT_EQ(countLogLines(FULL_LINE), 1) << max_frames;
    EXPECT_EQ(countLogLines(NO_FRAME_LINE), 1) << max_frames;
    EXPECT_EQ(countLogLines(NO_WINDOW_LINE), 0) << max_frames;
  }
}

TEST_F(SpriteTest, LargestAllowedSlotCountAndZeroAreAllocated) {
  qm::Sprite largest(qm::MAX_SPRITE_FRAMES);
  EXPECT_EQ(largest.addFrame(qm::Frame(1, 1, "a")), 0);
  EXPECT_EQ(largest.draw(qm::MAX_SPRITE_FRAMES - 1, qm::Vector(0, 0)), -1);

  qm::Sprite empty(0);
  EXPECT_EQ(qm_test::readLog(), "");
  EXPECT_EQ(empty.addFrame(qm::Frame(1, 1, "a")), -1);
  EXPECT_EQ(countLogLines(FULL_LINE), 1);
}

} // namespace
