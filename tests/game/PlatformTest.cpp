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

#include <cstdio>
#include <utility>

namespace {

class Catch : public qm_test::GameFixture {
protected:
  void SetUp() override {
    GameFixture::SetUp();
    qm::ResourceManager &resources = qm::ResourceManager::getInstance();
    resources.startUp();
    for (const auto &[label, width] :
         {std::pair{"platform", 5}, {"long_platform", 7}, {"short_platform", 3}}) {
      const std::string sprite_text = "1\n" + std::to_string(width) + "\n1\n1\nred\n" +
                                      std::string(static_cast<size_t>(width), '=') + "\n";
      ASSERT_EQ(resources.loadSprite(qm_test::writeFile("platform.txt", sprite_text), label), 0);
    }
    p_platform = new Platform;
    p_ball = new Ball;
    p_points = new Points;
  }
  void TearDown() override {
    GameFixture::TearDown();
    qm::ResourceManager::getInstance().shutDown();
  }

  // A power-up of the kind caught with an even or odd draw, from a score of
  // 5, a ball moving at (-0.1, 0) far from leaving the world and the normal
  // platform; what is left of it once the world has updated.
  void catchPowerUp(const std::string &power, bool even_draw, bool power_up_moves) {
    p_points->setValue(5);
    p_ball->setVelocity(qm::Vector(-0.1f, 0));
    p_ball->setPosition(qm::Vector(40, 10));
    auto *p_power_up = new PowerUp;
    p_power_up->setPower(power);
    qm::Object *p_mover = p_power_up, *p_other = p_platform;
    if (!power_up_moves) {
      std::swap(p_mover, p_other);
    }
    srand(qm_test::seedWithFirstDraw(even_draw));
    const qm::EventCollision catch_event(p_mover, p_other, p_platform->getPosition());
    EXPECT_EQ(p_platform->eventHandler(&catch_event), 1);
    qm::WorldManager::getInstance().update();
  }
  // The score, the ball's velocity, the platform's sprite and width, and the
  // power-ups left.
  std::string state() const {
    char text[80];
    std::snprintf(text, sizeof text, "%d (%.3f, %.3f) %s %g, %d", p_points->getValue(),
                  static_cast<double>(p_ball->getVelocity().getX()),
                  static_cast<double>(p_ball->getVelocity().getY()),
                  p_platform->getAnimation().getSprite()->getLabel().c_str(),
                  static_cast<double>(p_platform->getBox().getHorizontal()),
                  qm_test::countOf("PowerUp"));
    return text;
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
    const char *state;
  } cases[] = {{"points", true, "7 (-0.100, 0.000) platform 5, 0"},
               {"points", false, "-2 (-0.100, 0.000) platform 5, 0"},
               // A component of 0 counts as positive.
               {"speed", true, "5 (-0.101, 0.001) platform 5, 0"},
               {"speed", false, "5 (-0.099, -0.001) platform 5, 0"},
               {"platform", true, "5 (-0.100, 0.000) long_platform 7, 0"},
               {"platform", false, "5 (-0.100, 0.000) short_platform 3, 0"}};
  for (const bool power_up_moves : {true, false}) {
    for (const auto &c : cases) {
      SCOPED_TRACE(power_up_moves ? "the power-up moving" : "the platform moving");
      p_platform->setSprite("platform");
      catchPowerUp(c.power, c.even_draw, power_up_moves);
      EXPECT_EQ(state(), c.state);
    }
  }
}

TEST_F(Catch, ALongOrShortPlatformReturnsToItsNormalSizeWhenItsTimeIsUp) {
  for (const bool even_draw : {true, false}) {
    catchPowerUp("platform", even_draw, true);
    const std::string changed = state();
    stepThePlatform(PLATFORM_POWER_UP_TIME - 1);
    EXPECT_EQ(state(), changed) << "one step before its time is up";
    stepThePlatform(1);
    EXPECT_EQ(state(), "5 (-0.100, 0.000) platform 5, 0");
  }
}

} // namespace
