#include "Frame.h"

#include "LogLines.h"
#include "TestSupport.h"

#include <climits>
#include <gtest/gtest.h>

using qm_test::countLogLines;
using qm_test::NO_WINDOW_LINE;

namespace {

// No window is opened here, so every drawCh writes one line to the log and
// the number of those lines is the number of cells drawn.
class FrameDraw : public ::testing::Test {
protected:
  void SetUp() override { qm_test::restartLog(); }
};

TEST_F(FrameDraw, EmptyFrameRefusesAndDrawsNothing) {
  EXPECT_EQ(qm::Frame().draw(qm::Vector(10, 5), qm::RED), -1);
  EXPECT_EQ(qm::Frame(3, 2, "").draw(qm::Vector(10, 5), qm::RED), -1);
  EXPECT_EQ(qm_test::readLog(), "");
}

TEST_F(FrameDraw, DrawsEveryCellSpacesIncluded) {
  EXPECT_EQ(qm::Frame(3, 2, "      ").draw(qm::Vector(10, 5), qm::RED), 0);
  EXPECT_EQ(countLogLines(NO_WINDOW_LINE), 6);
}

TEST_F(FrameDraw, ShortStringDrawsOnlyTheCharactersItHas) {
  EXPECT_EQ(qm::Frame(3, 3, "abcd").draw(qm::Vector(10, 5), qm::RED), 0);
  EXPECT_EQ(countLogLines(NO_WINDOW_LINE), 4);
}

TEST_F(FrameDraw, SizeBeyondTheStringDrawsOnlyWhatExists) {
  EXPECT_EQ(qm::Frame(INT_MAX, INT_MAX, "ab").draw(qm::Vector(0, 0), qm::RED), 0);
  EXPECT_EQ(qm::Frame(1, INT_MAX, "xyz").draw(qm::Vector(0, 0), qm::RED), 0);
  EXPECT_EQ(countLogLines(NO_WINDOW_LINE), 5);
  EXPECT_EQ(qm::Frame(-3, 2, "abcdef").draw(qm::Vector(0, 0), qm::RED), 0);
  EXPECT_EQ(qm::Frame(3, -2, "abcdef").draw(qm::Vector(0, 0), qm::RED), 0);
  EXPECT_EQ(countLogLines(NO_WINDOW_LINE), 5);
}

} // namespace
