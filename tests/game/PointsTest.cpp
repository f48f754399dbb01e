// The score display: its place and look, view events, and the win check.
#include "Points.h"
#include "EventStep.h"
#include "EventView.h"
#include "GameFixture.h"
#include "Spy.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

// The resource manager opens the audio device, and GL and audio drivers are
// unloaded before the leak check runs, so their allocations would show as
// leaks from "<unknown module>".
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

namespace {

class Score : public qm_test::GameFixture {
protected:
  void SetUp() override {
    GameFixture::SetUp();
    p_points = new Points;
  }
  int send(const std::string &tag, int value, bool delta) {
    const qm::EventView event(tag, value, delta);
    return p_points->eventHandler(&event);
  }

  qm_test::Journal journal;
  Points *p_points = nullptr;
};

TEST_F(Score, StandsTopRightInYellowAndLogsItsAddress) {
  EXPECT_EQ(p_points->getType(), "points");
  EXPECT_EQ(p_points->getViewString(), "Points");
  EXPECT_EQ(p_points->getLocation(), qm::TOP_RIGHT);
  EXPECT_EQ(p_points->getColor(), qm::YELLOW);
  EXPECT_EQ(p_points->getValue(), 0);
  EXPECT_FLOAT_EQ(p_points->getPosition().getX(), 66.666664f);
  EXPECT_EQ(p_points->getPosition().getY(), 1.0f);
  EXPECT_TRUE(addressLogged(p_points));
}

TEST_F(Score, ViewEventsTaggedPointsAddOrSet) {
  EXPECT_EQ(send("Points", 1, true), 1);
  EXPECT_EQ(send("Points", 2, true), 1);
  EXPECT_EQ(p_points->getValue(), 3);
  EXPECT_EQ(send("Points", -2, false), 1);
  EXPECT_EQ(p_points->getValue(), -2);
  EXPECT_EQ(send("points", 50, true), 0);
  EXPECT_EQ(p_points->getValue(), -2);
}

TEST_F(Score, NinetyNineNeverWins) {
  p_points->setValue(99);
  for (int step_count = 0; step_count <= 90; step_count += 30) {
    runFrame(step_count);
  }
  EXPECT_EQ(countOfType("Win"), 0);
  EXPECT_EQ(countOfType("points"), 1);
}

TEST_F(Score, NegativeScoreNeverWins) {
  p_points->setValue(-2);
  runFrame(0);
  EXPECT_EQ(countOfType("Win"), 0);
}

TEST_F(Score, HundredWinsAtTheNextMultipleOf30AndOnlyOnce) {
  new qm_test::SpyObject("Ball", &journal);
  p_points->setValue(100);
  const qm::EventStep step(45);
  EXPECT_EQ(p_points->eventHandler(&step), 1);
  EXPECT_EQ(countOfType("Win"), 0);
  runFrame(59);
  EXPECT_EQ(countOfType("Win"), 0);
  runFrame(60);
  // Everything else went in that pass's update; the win screen alone is left.
  EXPECT_EQ(countOfType("Win"), 1);
  EXPECT_EQ(qm::WorldManager::getInstance().getAllObjects().getCount(), 1);
  runFrame(90);
  EXPECT_EQ(countOfType("Win"), 1);
}

TEST_F(Score, HundredAtStepZeroWinsAtOnce) {
  p_points->setValue(150);
  runFrame(0);
  EXPECT_EQ(countOfType("Win"), 1);
  EXPECT_EQ(countOfType("points"), 0);
}

TEST_F(Score, OtherEventsAreNotHandled) {
  const qm::Event other;
  EXPECT_EQ(p_points->eventHandler(&other), 0);
}

} // namespace
