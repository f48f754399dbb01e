// The platform's size after a caught "platform" power-up, and its way back.
#include "Platform.h"

#include "EventCollision.h"
#include "GameFixture.h"
#include "PowerUp.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "TestSupport.h"

namespace {

class PlatformSize : public qm_test::GameFixture {
protected:
  void SetUp() override {
    GameFixture::SetUp();
    qm::ResourceManager &resources = qm::ResourceManager::getInstance();
    resources.startUp();
    const struct {
      const char *label, *row;
    } sprites[] = {
        {"platform", "=====\n"}, {"long_platform", "=======\n"}, {"short_platform", "===\n"}};
    for (const auto &sprite : sprites) {
      const std::string width = std::to_string(std::string(sprite.row).size() - 1);
      ASSERT_EQ(
          resources.loadSprite(
              qm_test::writeFile("platform.txt", "1\n" + width + "\n1\n1\nred\n" + sprite.row),
              sprite.label),
          0);
    }
  }
  void TearDown() override {
    GameFixture::TearDown();
    qm::ResourceManager::getInstance().shutDown();
  }
  static std::string spriteOf(const Platform &platform) {
    return platform.getAnimation().getSprite()->getLabel();
  }
};

TEST_F(PlatformSize, ALongOrShortPlatformReturnsToItsNormalSizeWhenItsTimeIsUp) {
  for (const auto &[even_draw, changed] :
       {std::pair{true, "long_platform"}, {false, "short_platform"}}) {
    qm_test::resetWorld();
    Platform *p_platform = new Platform;
    PowerUp *p_power_up = new PowerUp;
    p_power_up->setPower("platform");
    srand(qm_test::seedWithFirstDraw(even_draw));
    const qm::EventCollision catch_event(p_power_up, p_platform, p_platform->getPosition());
    p_platform->eventHandler(&catch_event);
    EXPECT_EQ(spriteOf(*p_platform), changed);
    for (int step = 0; step < PLATFORM_POWER_UP_TIME - 1; step++) {
      runFrame(step);
    }
    EXPECT_EQ(spriteOf(*p_platform), changed) << "one step before its time is up";
    runFrame(PLATFORM_POWER_UP_TIME);
    EXPECT_EQ(spriteOf(*p_platform), "platform");
  }
}

} // namespace
