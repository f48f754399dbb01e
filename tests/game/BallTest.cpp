// The ball's rules, through its own event handler: bounce arithmetic, the
// lock-out after a hit, scoring and its countdowns. The speed event's change
// is the platform test's, which sends it.
#include "Ball.h"
#include "Border.h"
#include "Corner.h"
#include "EventCollision.h"
#include "GameFixture.h"
#include "Platform.h"
#include "Points.h"

namespace {

using qm::Vector;
using qm_test::countOf;

class BallRules : public qm_test::GameFixture {
protected:
  void SetUp() override {
    GameFixture::SetUp();
    p_ball = new Ball;
    p_points = new Points;
  }
  // Steps first to last - 1, to the ball alone.
  void steps(int first, int last) {
    for (int step_count = first; step_count < last; step_count++) {
      const qm::EventStep step_event(step_count);
      p_ball->eventHandler(&step_event);
    }
  }
  void hit(qm::Object *p_other) {
    const qm::EventCollision collision(p_ball, p_other, p_ball->getPosition());
    p_ball->eventHandler(&collision);
  }
  void expectBall(float vx, float vy, int score) {
    EXPECT_NEAR(p_ball->getVelocity().getX(), vx, 1e-5);
    EXPECT_NEAR(p_ball->getVelocity().getY(), vy, 1e-5);
    EXPECT_EQ(p_points->getValue(), score);
  }

  Ball *p_ball = nullptr;
  Points *p_points = nullptr;
};

TEST_F(BallRules, BouncesOffTheTopTheSidesAndThePlatformAndScoresOnThePlatform) {
  const struct {
    qm::Object *p_other;
    Vector at, before, after;
    int score;
  } hits[] = {{new Border("top"), {40, 2}, {0.5f, -0.3f}, {0.47f, 0.298f}, 0},
              {new Border("right"), {78, 10}, {0.5f, 0.3f}, {-0.5f, 0.302f}, 0},
              {new Platform, {40, 20}, {-0.2f, 0.4f}, {-0.17f, -0.4f}, 1}};
  for (int i = 0; i < 3; i++) {
    SCOPED_TRACE(i);
    // Three steps end the lock-out of the construction or the last hit.
    steps(3 * i, 3 * i + 3);
    p_ball->setPosition(hits[i].at);
    p_ball->setVelocity(hits[i].before);
    hit(hits[i].p_other);
    expectBall(hits[i].after.getX(), hits[i].after.getY(), hits[i].score);
  }
}

TEST_F(BallRules, PlatformAndWallHitsAreLockedOutForThreeStepsCornerHitsNever) {
  Platform *p_platform = new Platform;
  Border *p_wall = new Border("left");
  Corner *p_corner = new Corner("left");
  p_ball->setPosition(Vector(40, 10));
  p_ball->setVelocity(Vector(0.5f, 0.3f));
  steps(0, 2);
  hit(p_platform);
  hit(p_wall);
  expectBall(0.5f, 0.3f, 0);
  steps(2, 3);
  hit(p_platform);
  expectBall(0.53f, -0.3f, 1);
  // The accepted hit locks out the rest of its step and the next two.
  hit(p_platform);
  hit(p_wall);
  steps(3, 5);
  hit(p_platform);
  expectBall(0.53f, -0.3f, 1);
  hit(p_corner);
  hit(p_corner);
  expectBall(0.53f, -0.296f, 3);
  steps(5, 6);
  hit(p_platform);
  expectBall(0.56f, 0.296f, 4);
}

TEST_F(BallRules, HitDuringTheConstructorsMoveToRowThreeIsLockedOut) {
  // Across all of row 3, so that it meets the ball at any start column; soft,
  // since the ball is still hard during that move and would be stopped.
  Platform *p_wide = new Platform;
  p_wide->setPosition(Vector(40, 3));
  p_wide->setBox(qm::Box(Vector(-50, -1), 100, 2));
  p_wide->setSolidness(qm::SOFT);
  Ball *p_new_ball = new Ball;
  EXPECT_NEAR(p_new_ball->getVelocity().getY(), 0.23f, 1e-6);
  EXPECT_EQ(p_points->getValue(), 0);
}

TEST_F(BallRules, MakesAPowerUpEvery331StepsAndSpeedsUpEveryStepAfter1485) {
  p_ball->setVelocity(Vector(0, -0.2f));
  steps(0, 330);
  EXPECT_EQ(countOf("PowerUp"), 0);
  steps(330, 331);
  EXPECT_EQ(countOf("PowerUp"), 1);
  steps(331, 661);
  EXPECT_EQ(countOf("PowerUp"), 1);
  steps(661, 662);
  EXPECT_EQ(countOf("PowerUp"), 2);
  steps(662, 1485);
  expectBall(0, -0.2f, 0);
  // A component of 0 counts as positive.
  steps(1485, 1486);
  expectBall(0.001f, -0.201f, 0);
  steps(1486, 1487);
  expectBall(0.002f, -0.202f, 0);
}

} // namespace
