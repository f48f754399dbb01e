#include "Sprite.h"
#include "Animation.h"

#include "LogLines.h"
#include "TestSupport.h"

#include <climits>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace {

const std::string FULL = "Message : Error! Sprite frame is full\n";
const std::string NO_FRAME = "Message : Error! Cannot draw non-existent frame\n";
const std::string NO_MEMORY = "Message : Error! Memory allocation failed when initilizing Sprite\n";

// No window is open, so every drawn cell writes one log line: their count is
// the number of cells drawn.
class SpriteDraw : public ::testing::Test {
protected:
  void SetUp() override { qm_test::restartLog(); }
  static int cellsDrawn() { return qm_test::countLogLines(qm_test::NO_WINDOW_LINE); }

  // Draws once; frame f of the sprites below has f + 1 cells, so the number
  // of cells drawn tells which frame was shown.
  static int shownFrame(qm::Animation &animation) {
    qm_test::restartLog();
    EXPECT_EQ(animation.draw(qm::Vector(10, 10)), 0);
    return cellsDrawn() - 1;
  }
};

TEST_F(SpriteDraw, FrameDrawsEachCellOnceAndNothingPastItsString) {
  // Width and height are set apart from the string and may claim more cells.
  const std::tuple<int, int, std::string, int> frames[] = {
      {3, 2, "      ", 6},    {3, 3, "abcd", 4},    {INT_MAX, INT_MAX, "ab", 2},
      {1, INT_MAX, "xyz", 3}, {-3, 2, "abcdef", 0}, {3, -2, "abcdef", 0},
      {-1, INT_MAX, "ab", 0}};
  for (const auto &[width, height, frame_str, cells] : frames) {
    qm_test::restartLog();
    EXPECT_EQ(qm::Frame(width, height, frame_str).draw(qm::Vector(0, 0), qm::RED), 0);
    EXPECT_EQ(cellsDrawn(), cells) << width << " x " << height;
  }
}

TEST_F(SpriteDraw, SpriteHoldsAndDrawsFramesOnlyWithinItsSlots) {
  qm::Sprite sprite(3);
  ASSERT_EQ(sprite.addFrame(qm::Frame(1, 1, "a")), 0);
  EXPECT_EQ(sprite.getFrame(-1).getString() + sprite.getFrame(1).getString(), "");
  // An unfilled slot holds an empty frame, which refuses without a message or
  // a cell drawn, as any frame without characters does.
  EXPECT_EQ(sprite.draw(2, qm::Vector(5, 5)), -1);
  EXPECT_EQ(qm::Frame(3, 2, "").draw(qm::Vector(10, 5), qm::RED), -1);
  EXPECT_EQ(qm_test::readLog(), "");
  EXPECT_EQ(sprite.draw(3, qm::Vector(5, 5)), -1);
  EXPECT_EQ(sprite.draw(-1, qm::Vector(5, 5)), -1);
  EXPECT_EQ(sprite.addFrame(qm::Frame(1, 1, "b")), 0);
  EXPECT_EQ(sprite.addFrame(qm::Frame(1, 1, "c")), 0);
  EXPECT_EQ(sprite.addFrame(qm::Frame(1, 1, "d")), -1);
  EXPECT_EQ(qm_test::readLog(), NO_FRAME + NO_FRAME + FULL);

  // A sprite whose slots cannot be allocated has none.
  for (int max_frames : {-1, INT_MIN, qm::MAX_SPRITE_FRAMES + 1, INT_MAX}) {
    qm_test::restartLog();
    qm::Sprite unallocated(max_frames);
    EXPECT_EQ(unallocated.addFrame(qm::Frame(1, 1, "a")), -1) << max_frames;
    EXPECT_EQ(unallocated.draw(0, qm::Vector(5, 5)), -1) << max_frames;
    EXPECT_EQ(qm_test::readLog(), NO_MEMORY + FULL + NO_FRAME) << max_frames;
  }
}

TEST_F(SpriteDraw, AnimationIsBoxedByItsSpriteAndHoldsEachFrameForTheSlowdown) {
  const auto corner_and_size = [](const qm::Box &box) {
    return std::make_tuple(box.getCorner().getX(), box.getCorner().getY(), box.getHorizontal(),
                           box.getVertical());
  };
  qm::Animation animation;
  EXPECT_EQ(animation.draw(qm::Vector(1, 1)), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! No Sprite defined for Animation\n");
  EXPECT_EQ(corner_and_size(animation.getBox()), std::make_tuple(-0.5f, -0.5f, 0.99f, 0.99f));

  // The sprite's size is its own, whatever its frames' sizes.
  qm::Sprite sprite(2);
  sprite.setWidth(5);
  sprite.setHeight(3);
  sprite.addFrame(qm::Frame(1, 1, "#"));
  sprite.addFrame(qm::Frame(2, 1, "##"));
  sprite.setSlowdown(3);
  animation.setSprite(&sprite);
  EXPECT_EQ(corner_and_size(animation.getBox()), std::make_tuple(-2.5f, -1.5f, 5.0f, 3.0f));
  std::vector<int> shown;
  for (int pass = 0; pass < 7; pass++) {
    shown.push_back(shownFrame(animation));
  }
  EXPECT_EQ(shown, (std::vector<int>{0, 0, 0, 1, 1, 1, 0}));

  // A count of -1 freezes the frame, even at a slowdown that moves every pass.
  sprite.setSlowdown(1);
  animation.setIndex(1);
  animation.setSlowdownCount(-1);
  EXPECT_EQ(shownFrame(animation), 1);
  EXPECT_EQ(shownFrame(animation), 1);
  EXPECT_EQ(animation.getSlowdownCount(), -1);

  // The largest index and count step on like any other, without overflow.
  animation.setIndex(INT_MAX);
  animation.setSlowdownCount(INT_MAX);
  animation.draw(qm::Vector(0, 0));
  EXPECT_EQ(animation.getIndex(), 0);
}

} // namespace
