#include "Animation.h"
#include "Sprite.h"

#include "LogLines.h"
#include "TestSupport.h"

#include <climits>
#include <gtest/gtest.h>
#include <vector>

using qm_test::countLogLines;
using qm_test::NO_WINDOW_LINE;

namespace {

const std::string NO_FRAME_LINE = "Error! Cannot draw non-existent frame\n";

// No window is open, so each drawn cell writes one log line. The frames of
// the sprites below differ in size, so the number of cells that a pass drew
// tells which frame it was.
class AnimationTest : public ::testing::Test {
protected:
  void SetUp() override { qm_test::restartLog(); }

  // Draws once and returns the number of cells drawn.
  int cellsDrawn(qm::Animation &animation) {
    const int before = countLogLines(NO_WINDOW_LINE);
    EXPECT_EQ(animation.draw(qm::Vector(10, 10)), 0);
    return countLogLines(NO_WINDOW_LINE) - before;
  }
};

// Frame 0 has one cell, frame 1 two, frame 2 three.
void addFramesOfGrowingSize(qm::Sprite &sprite, int frame_count) {
  for (int f = 0; f < frame_count; f++) {
    sprite.addFrame(qm::Frame(f + 1, 1, std::string(f + 1, '#')));
  }
}

TEST_F(AnimationTest, WithoutSpriteLogsAndDoesNotAdvance) {
  qm::Animation animation;
  EXPECT_EQ(animation.draw(qm::Vector(1, 1)), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! No Sprite defined for Animation\n");
  EXPECT_EQ(animation.getIndex(), 0);
  EXPECT_EQ(animation.getSlowdownCount(), 0);
}

TEST_F(AnimationTest, EachFrameStaysForSlowdownPassesThenWraps) {
  qm::Sprite sprite(2);
  addFramesOfGrowingSize(sprite, 2);
  sprite.setSlowdown(3);
  qm::Animation animation;
  animation.setSprite(&sprite);

  std::vector<int> shown;
  for (int pass = 0; pass < 7; pass++) {
    shown.push_back(cellsDrawn(animation) - 1);
  }
  EXPECT_EQ(shown, (std::vector<int>{0, 0, 0, 1, 1, 1, 0}));
  EXPECT_EQ(animation.getIndex(), 0);
  EXPECT_EQ(animation.getSlowdownCount(), 1);
}

TEST_F(AnimationTest, SlowdownOfOneOrLessChangesFrameEveryPass) {
  for (int slowdown : {1, 0, -5}) {
    qm::Sprite sprite(3);
    addFramesOfGrowingSize(sprite, 3);
    sprite.setSlowdown(slowdown);
    qm::Animation animation;
    animation.setSprite(&sprite);

    std::vector<int> shown;
    for (int pass = 0; pass < 4; pass++) {
      shown.push_back(cellsDrawn(animation) - 1);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 0})) << slowdown;
  }
}

TEST_F(AnimationTest, CountOfMinusOneFreezesTheFrame) {
  qm::Sprite sprite(3);
  addFramesOfGrowingSize(sprite, 3);
  sprite.setSlowdown(1);
  qm::Animation animation;
  animation.setSprite(&sprite);
  animation.setIndex(1);
  animation.setSlowdownCount(-1);

  for (int pass = 0; pass < 5; pass++) {
    EXPECT_EQ(cellsDrawn(animation), 2);
  }
  EXPECT_EQ(animation.getIndex(), 1);
  EXPECT_EQ(animation.getSlowdownCount(), -1);
}

TEST_F(AnimationTest, SmallerReplacementSpriteLogsUntilTheIndexWraps) {
  qm::Sprite two_frames(2);
  addFramesOfGrowingSize(two_frames, 2);
  qm::Sprite one_frame(1);
  addFramesOfGrowingSize(one_frame, 1);
  one_frame.setSlowdown(2);

  qm::Animation animation;
  animation.setSprite(&two_frames);
  animation.setIndex(1);
  animation.setSprite(&one_frame);
  EXPECT_EQ(animation.getIndex(), 1);

  EXPECT_EQ(cellsDrawn(animation), 0);
  EXPECT_EQ(cellsDrawn(animation), 0);
  EXPECT_EQ(countLogLines(NO_FRAME_LINE), 2);
  EXPECT_EQ(animation.getIndex(), 0);
  EXPECT_EQ(cellsDrawn(animation), 1);
  EXPECT_EQ(countLogLines(NO_FRAME_LINE), 2);
}

TEST_F(AnimationTest, LargestIndexAndCountStepOnWithoutOverflow) {
  qm::Sprite sprite(2);
  addFramesOfGrowingSize(sprite, 2);
  sprite.setSlowdown(INT_MAX);
  qm::Animation animation;
  animation.setSprite(&sprite);
  animation.setIndex(INT_MAX);
  animation.setSlowdownCount(INT_MAX);

  animation.draw(qm::Vector(0, 0));
  EXPECT_EQ(animation.getIndex(), 0);
  EXPECT_EQ(animation.getSlowdownCount(), 0);
}

TEST(AnimationBox, IsTheSpriteCentredInExactHalves) {
  qm::Sprite sprite(1);
  sprite.setWidth(5);
  sprite.setHeight(3);
  qm::Animation animation;
  animation.setSprite(&sprite);

  const qm::Box box = animation.getBox();
  EXPECT_FLOAT_EQ(box.getCorner().getX(), -2.5f);
  EXPECT_FLOAT_EQ(box.getCorner().getY(), -1.5f);
  EXPECT_FLOAT_EQ(box.getHorizontal(), 5.0f);
  EXPECT_FLOAT_EQ(box.getVertical(), 3.0f);
}

TEST(AnimationBox, WithoutSpriteIsJustUnderOneCell) {
  const qm::Box box = qm::Animation().getBox();
  EXPECT_FLOAT_EQ(box.getCorner().getX(), -0.5f);
  EXPECT_FLOAT_EQ(box.getCorner().getY(), -0.5f);
  EXPECT_FLOAT_EQ(box.getHorizontal(), 0.99f);
  EXPECT_FLOAT_EQ(box.getVertical(), 0.99f);
}

} // namespace
