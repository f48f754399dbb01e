// What a caught power-up does: two points more or a score of -2, the ball a
// thousandth faster or slower in each component, or the platform longer or
// shorter until its time is up; whichever of the two is reported moving.
#include "Platform.h"

#include "Ball.h"
#include "EventCollision.h"
#include "GameFixture.h"
#include "Points.h"
#include "PowerUp.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "TestSupport.h"

#include <utility>

namespace {

using qm_test::countOf;

class Catch : public qm_test::GameFixture {
protected:
  void SetUp() override {
    GameFixture::SetUp();
    qm::ResourceManager &resources = qm::ResourceManager::getInstance();
    resources.startUp();
    const struct {
      const char *label, *row;
    } sprites[] = {{"platform", "====="}, {"long_platform", "======="}, {"short_platform", "==="}};
    for (const auto &sprite : sprites) {
      const std::string width = std::to_string(std::string(sprite.row).size());
      ASSERT_EQ(
          resources.loadSprite(qm_test::writeFile("platform.txt", "1\n" + width + "\n1\n1\nred\n" +
                                                                      sprite.row + "\n"),
                               sprite.label),
          0);
    }
    p_platform = new Platform;
    p_ball = new Ball;
    p_points = new Points;
  }
  void TearDown() override {
    GameFixture::TearDown();
    qm::ResourceManager::getInstance().shutDown();
  }

  // The score, the ball's velocity and the platform's sprite and width once a
  // power-up of the kind is caught with an even or odd draw: each case
  // starts from a score of 5, a velocity of (-0.1, 0) and the normal platform.
  struct Outcome {
    int score;
    float vx, vy;
    std::string sprite;
    float width;
  };
  Outcome afterCatch(const std::string &power, bool even_draw, bool power_up_moves) {
    p_points->setValue(5);
    p_ball->setVelocity(qm::Vector(-0.1f, 0));
    p_ball->setPosition(qm::Vector(40, 10)); // far from leaving the world in the update
    auto *p_power_up = new PowerUp;
    p_power_up->setPower(power);
    srand(qm_test::seedWithFirstDraw(even_draw));
    qm::Object *p_mover = p_power_up, *p_other = p_platform;
    if (!power_up_moves) {
      std::swap(p_mover, p_other);
    }
    const qm::EventCollision catch_event(p_mover, p_other, p_platform->getPosition());
    EXPECT_EQ(p_platform->eventHandler(&catch_event), 1);
    qm::WorldManager::getInstance().update();
    EXPECT_EQ(countOf("PowerUp"), 0) << power << " power-up left after its catch";
    return outcome();
  }
  Outcome outcome() const {
    return {p_points->getValue(), p_ball->getVelocity().getX(), p_ball->getVelocity().getY(),
            p_platform->getAnimation().getSprite()->getLabel(),
            p_platform->getBox().getHorizontal()};
  }
  void expectOutcome(const Outcome &got, const Outcome &expected) {
    EXPECT_EQ(got.score, expected.score);
    EXPECT_NEAR(got.vx, expected.vx, 1e-6);
    EXPECT_NEAR(got.vy, expected.vy, 1e-6);
    EXPECT_EQ(got.sprite, expected.sprite);
    EXPECT_EQ(got.width, expected.width);
  }
  void stepThePlatform(int count) {
    for (int i = 0; i < count; i++) {
      const qm::EventStep step_event(i);
      p_platform->eventHandler(&step_event);
    }
  }

  Platform *p_platform = nullptr;
  Ball *p_ball = nullptr;
  Points *p_points = nullptr;
};

TEST_F(Catch, EachPowerChangesTheScoreTheBallOrThePlatformAlone) {
  const struct {
    const char *power;
    bool even_draw;
    Outcome expected;
  } cases[] = {{"points", true, {7, -0.1f, 0, "platform", 5}},
               {"points", false, {-2, -0.1f, 0, "platform", 5}},
               // A component of 0 counts as positive.
               {"speed", true, {5, -0.101f, 0.001f, "platform", 5}},
               {"speed", false, {5, -0.099f, -0.001f, "platform", 5}},
               {"platform", true, {5, -0.1f, 0, "long_platform", 7}},
               {"platform", false, {5, -0.1f, 0, "short_platform", 3}}};
  for (const bool power_up_moves : {true, false}) {
    for (const auto &c : cases) {
      SCOPED_TRACE(std::string(c.power) + (c.even_draw ? " even" : " odd") +
                   (power_up_moves ? ", the power-up moving" : ", the platform moving"));
      p_platform->setSprite("platform");
      expectOutcome(afterCatch(c.power, c.even_draw, power_up_moves), c.expected);
    }
  }
}

TEST_F(Catch, ALongOrShortPlatformReturnsToItsNormalSizeWhenItsTimeIsUp) {
  for (const bool even_draw : {true, false}) {
    const Outcome changed = afterCatch("platform", even_draw, true);
    stepThePlatform(PLATFORM_POWER_UP_TIME - 1);
    EXPECT_EQ(outcome().sprite, changed.sprite) << "one step before its time is up";
    stepThePlatform(1);
    EXPECT_EQ(outcome().sprite, "platform");
    EXPECT_EQ(outcome().width, 5);
  }
}

} // namespace
