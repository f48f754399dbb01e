#include "Animation.h"

#include "LogLines.h"
#include "Sprite.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <vector>

namespace {

std::tuple<float, float, float, float> cornerAndSize(const qm::Box &box) {
  return std::make_tuple(box.getCorner().getX(), box.getCorner().getY(), box.getHorizontal(),
                         box.getVertical());
}

// A sprite of 5 x 3 cells whose frame f has f + 1 cells: no window is open,
// so each drawn cell writes one log line, and their count tells which frame
// was shown.
class AnimationOfTwoFrames : public ::testing::Test {
protected:
  void SetUp() override {
    sprite.setWidth(5);
    sprite.setHeight(3);
    sprite.addFrame(qm::Frame(1, 1, "#"));
    sprite.addFrame(qm::Frame(2, 1, "##"));
    sprite.setSlowdown(3);
    animation.setSprite(&sprite);
  }
  int shownFrame() {
    qm_test::restartLog();
    EXPECT_EQ(animation.draw(qm::Vector(10, 10)), 0);
    return qm_test::countLogLines(qm_test::NO_WINDOW_LINE) - 1;
  }

  qm::Sprite sprite{2};
  qm::Animation animation;
};

TEST(Animation, WithoutASpriteRefusesToDrawAndHasAUnitBox) {
  qm_test::restartLog();
  qm::Animation animation;
  EXPECT_EQ(animation.draw(qm::Vector(1, 1)), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! No Sprite defined for Animation\n");
  EXPECT_EQ(cornerAndSize(animation.getBox()), std::make_tuple(-0.5f, -0.5f, 0.99f, 0.99f));
}

TEST_F(AnimationOfTwoFrames, IsBoxedByItsSpritesOwnSize) {
  EXPECT_EQ(cornerAndSize(animation.getBox()), std::make_tuple(-2.5f, -1.5f, 5.0f, 3.0f));
}

TEST_F(AnimationOfTwoFrames, HoldsEachFrameForTheSlowdown) {
  std::vector<int> shown;
  for (int pass = 0; pass < 7; pass++) {
    shown.push_back(shownFrame());
  }
  EXPECT_EQ(shown, (std::vector<int>{0, 0, 0, 1, 1, 1, 0}));
}

TEST_F(AnimationOfTwoFrames, ACountOfMinusOneFreezesTheFrame) {
  // Even at a slowdown that moves every pass.
  sprite.setSlowdown(1);
  animation.setIndex(1);
  animation.setSlowdownCount(-1);
  EXPECT_EQ(shownFrame(), 1);
  EXPECT_EQ(shownFrame(), 1);
  EXPECT_EQ(animation.getSlowdownCount(), -1);
}

TEST_F(AnimationOfTwoFrames, TheLargestIndexAndCountStepOnWithoutOverflow) {
  sprite.setSlowdown(1);
  animation.setIndex(INT_MAX);
  animation.setSlowdownCount(INT_MAX);
  animation.draw(qm::Vector(0, 0));
  EXPECT_EQ(animation.getIndex(), 0);
}

} // namespace
