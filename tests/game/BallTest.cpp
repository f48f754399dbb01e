// The ball's rules: bounces, lock-out, scoring, countdowns, the speed event,
// its start column and leaving the world.
#include "Ball.h"
#include "Border.h"
#include "Corner.h"
#include "EventCollision.h"
#include "EventSpeed.h"
#include "EventStep.h"
#include "GameFixture.h"
#include "Points.h"
#include "PowerUp.h"
#include "Spy.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

#include <cstdlib>

// The resource manager opens the audio device, and GL and audio drivers are
// unloaded before the leak check runs, so their allocations would show as
// leaks from "<unknown module>".
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

namespace {

using qm_test::GameFixture;

class BallRules : public GameFixture {
protected:
  void SetUp() override {
    GameFixture::SetUp();
    p_ball = new Ball;
    p_points = new Points;
  }

  // The construction lock-out of 3 steps runs out.
  void unlock() {
    for (int i = 0; i < 3; i++) {
      step(i);
    }
  }
  void step(int step_count) {
    const qm::EventStep event(step_count);
    p_ball->eventHandler(&event);
  }
  void collideWith(qm::Object *p_other) {
    const qm::EventCollision event(p_ball, p_other, p_ball->getPosition());
    p_ball->eventHandler(&event);
  }
  void expectVelocity(float x, float y) {
    EXPECT_NEAR(p_ball->getVelocity().getX(), x, 1e-5);
    EXPECT_NEAR(p_ball->getVelocity().getY(), y, 1e-5);
  }

  qm::Object *platform() { return new qm_test::SpyObject("Platform", &journal); }

  qm_test::Journal journal;
  Ball *p_ball = nullptr;
  Points *p_points = nullptr;
};

TEST_F(BallRules, StartsSoftOnRowThreeMovingDownAndRight) {
  EXPECT_EQ(p_ball->getType(), "Ball");
  EXPECT_EQ(p_ball->getSolidness(), qm::SOFT);
  EXPECT_EQ(p_ball->getPosition().getY(), 3.0f);
  EXPECT_GE(p_ball->getPosition().getX(), 0.0f);
  EXPECT_LE(p_ball->getPosition().getX(), 76.0f);
  EXPECT_GT(p_ball->getVelocity().getX(), 0.0f);
  EXPECT_LT(p_ball->getVelocity().getX(), 1.0f);
  EXPECT_NEAR(p_ball->getVelocity().getY(), 0.23f, 1e-6);
}

TEST_F(BallRules, CollisionDuringConstructionIsLockedOut) {
  // A platform across the whole of row 3 meets the ball at any start column.
  qm::Object *p_wide_platform = platform();
  p_wide_platform->setPosition(qm::Vector(40, 3));
  p_wide_platform->setBox(qm::Box(qm::Vector(-50, -1), 100, 2));
  // Soft, since the ball is still hard during that move and would be stopped.
  p_wide_platform->setSolidness(qm::SOFT);
  Ball *p_new_ball = new Ball;
  EXPECT_EQ(p_new_ball->getPosition().getY(), 3.0f);
  EXPECT_GT(p_new_ball->getVelocity().getY(), 0.0f);
  EXPECT_EQ(p_points->getValue(), 0);
}

TEST(StartColumn, MovesTheEdgeColumnsInward) {
  EXPECT_EQ(startColumn(0, 80.0f), 0.0f);
  EXPECT_EQ(startColumn(4, 80.0f), 4.0f);
  EXPECT_EQ(startColumn(5, 80.0f), 4.0f);
  EXPECT_EQ(startColumn(50, 80.0f), 49.0f);
  EXPECT_EQ(startColumn(77, 80.0f), 76.0f);
  EXPECT_EQ(startColumn(78, 80.0f), 73.0f);
  EXPECT_EQ(startColumn(79, 80.0f), 74.0f);
  EXPECT_EQ(startColumn(80 + 50, 80.0f), 49.0f);
}

TEST(StartColumn, WorldUnderOneCellWideGivesColumnZero) {
  EXPECT_EQ(startColumn(12345, 0.5f), 0.0f);
  EXPECT_EQ(startColumn(12345, 0.0f), 0.0f);
}

TEST_F(BallRules, MoveToStartInAWorldUnderOneCellWideUsesColumnZero) {
  setWorldSize(0.5f, 24);
  p_ball->moveToStart();
  EXPECT_EQ(p_ball->getPosition().getX(), 0.0f);
  EXPECT_EQ(p_ball->getPosition().getY(), 3.0f);
}

TEST_F(BallRules, PlatformHitReversesVerticalShiftsRightAndScores) {
  unlock();
  p_ball->setVelocity(qm::Vector(-0.2f, 0.4f));
  collideWith(platform());
  expectVelocity(-0.17f, -0.4f);
  EXPECT_EQ(p_points->getValue(), 1);
}

TEST_F(BallRules, PlatformAndWallHitsAreLockedOutForThreeSteps) {
  Border *p_wall = new Border("left");
  qm::Object *p_platform = platform();
  p_ball->setVelocity(qm::Vector(0.5f, 0.3f));
  // Locked from construction until the third step.
  step(0);
  step(1);
  collideWith(p_platform);
  collideWith(p_wall);
  expectVelocity(0.5f, 0.3f);
  EXPECT_EQ(p_points->getValue(), 0);
  step(2);
  collideWith(p_platform);
  expectVelocity(0.53f, -0.3f);
  // The accepted hit locks out the rest of its step and the next two.
  collideWith(p_platform);
  collideWith(p_wall);
  step(3);
  step(4);
  collideWith(p_platform);
  expectVelocity(0.53f, -0.3f);
  EXPECT_EQ(p_points->getValue(), 1);
  step(5);
  collideWith(p_platform);
  expectVelocity(0.56f, 0.3f);
  EXPECT_EQ(p_points->getValue(), 2);
}

TEST_F(BallRules, WallHitAtTheTopKeepsDirectionAndTurnsDown) {
  unlock();
  p_ball->setPosition(qm::Vector(40, 2));
  p_ball->setVelocity(qm::Vector(0.5f, -0.3f));
  collideWith(new Border("top"));
  expectVelocity(0.47f, 0.298f);
  EXPECT_EQ(p_points->getValue(), 0);
}

TEST_F(BallRules, WallHitBelowTheTopTurnsSideways) {
  unlock();
  p_ball->setPosition(qm::Vector(78, 10));
  p_ball->setVelocity(qm::Vector(0.5f, 0.3f));
  collideWith(new Border("right"));
  expectVelocity(-0.5f, 0.302f);
  EXPECT_EQ(p_points->getValue(), 0);
}

TEST_F(BallRules, CornerHitsAreNeverLockedOutAndEachScores) {
  Corner *p_corner = new Corner("left");
  p_ball->setVelocity(qm::Vector(0.5f, 0.3f));
  collideWith(p_corner);
  expectVelocity(-0.5f, 0.302f);
  collideWith(p_corner);
  expectVelocity(0.5f, 0.304f);
  EXPECT_EQ(p_points->getValue(), 2);
}

TEST_F(BallRules, PowerUpOrBallCollisionChangesNothing) {
  unlock();
  p_ball->setVelocity(qm::Vector(0.5f, 0.3f));
  collideWith(new PowerUp);
  collideWith(new Ball);
  expectVelocity(0.5f, 0.3f);
  EXPECT_EQ(p_points->getValue(), 0);
  // Nor was a lock-out started: a platform hit is still accepted.
  collideWith(platform());
  EXPECT_EQ(p_points->getValue(), 1);
}

TEST_F(BallRules, SpeedsUpAtEveryStepAfterTheFirst1485) {
  p_ball->setVelocity(qm::Vector(0.0f, -0.2f));
  for (int i = 0; i < 1485; i++) {
    step(i);
  }
  expectVelocity(0.0f, -0.2f);
  step(1485);
  // A component of 0 counts as positive.
  expectVelocity(0.001f, -0.201f);
  step(1486);
  expectVelocity(0.002f, -0.202f);
}

TEST_F(BallRules, MakesAPowerUpAtStep331AndEvery331After) {
  for (int i = 0; i < 330; i++) {
    step(i);
  }
  EXPECT_EQ(countOfType("PowerUp"), 0);
  step(330);
  EXPECT_EQ(countOfType("PowerUp"), 1);
  for (int i = 331; i < 661; i++) {
    step(i);
  }
  EXPECT_EQ(countOfType("PowerUp"), 1);
  step(661);
  EXPECT_EQ(countOfType("PowerUp"), 2);
}

TEST_F(BallRules, SpeedEventSpeedsUpOnAnEvenDrawAndSlowsDownOnAnOdd) {
  for (unsigned seed = 1; seed < 40; seed++) {
    srand(seed);
    const bool even = (rand() & 1) == 0;
    srand(seed);
    p_ball->setVelocity(qm::Vector(-0.1f, 0.0f));
    const EventSpeed event;
    EXPECT_EQ(p_ball->eventHandler(&event), 1);
    if (even) {
      expectVelocity(-0.101f, 0.001f);
    } else {
      expectVelocity(-0.099f, -0.001f);
    }
  }
}

TEST_F(BallRules, LeavingTheWorldMakesOneGameOverAndRemovesTheBall) {
  p_ball->setPosition(qm::Vector(40, 23));
  qm::WorldManager::getInstance().moveObject(p_ball, qm::Vector(40, 40));
  EXPECT_EQ(countOfType("GameOver"), 1);
  qm::WorldManager::getInstance().update();
  EXPECT_EQ(countOfType("Ball"), 0);
  EXPECT_EQ(countOfType("GameOver"), 1);
}

} // namespace
