// Object::setSprite goes through the resource manager, whose construction
// opens the audio device. GL and audio drivers are unloaded before the leak
// check, so their allocations show up as leaks from "<unknown module>":
// leak checking is off for this binary only.
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

#include "Object.h"
#include "ResourceManager.h"
#include "Spy.h"
#include "TestSupport.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

namespace {

class ObjectSprite : public ::testing::Test {
protected:
  void SetUp() override {
    qm_test::resetWorld();
    resource_manager.shutDown();
    resource_manager.startUp();
  }
  void TearDown() override {
    qm::WorldManager::getInstance().shutDown();
    resource_manager.shutDown();
  }

  qm::ResourceManager &resource_manager = qm::ResourceManager::getInstance();
};

TEST_F(ObjectSprite, TakesTheSpriteCentredOnThePositionOnlyWhenItExists) {
  const std::string file = qm_test::writeFile("bar_spr.txt", "2\n4\n2\n3\nred\n"
                                                             "abcd\nefgh\n"
                                                             "ijkl\nmnop\n");
  ASSERT_EQ(0, resource_manager.loadSprite(file, "bar"));
  auto *p_o = new qm::Object;
  EXPECT_EQ(-1, p_o->setSprite("bars"));
  EXPECT_EQ("Message : Error! Sprite does not exist\n", qm_test::readLog());
  EXPECT_EQ(1, p_o->getBox().getHorizontal()) << "unchanged by a failed lookup";
  qm_test::restartLog();

  qm::Animation playing;
  playing.setIndex(1);
  playing.setSlowdownCount(2);
  p_o->setAnimation(playing);

  EXPECT_EQ(0, p_o->setSprite("bar"));
  EXPECT_EQ(resource_manager.getSprite("bar"), p_o->getAnimation().getSprite());
  EXPECT_EQ(1, p_o->getAnimation().getIndex());
  EXPECT_EQ(2, p_o->getAnimation().getSlowdownCount());
  const qm::Box box = p_o->getBox();
  EXPECT_EQ(qm_test::XY(-2, -1), qm_test::cornerOf(box));
  EXPECT_EQ(qm_test::XY(4, 2), qm_test::XY(box.getHorizontal(), box.getVertical()));
  EXPECT_EQ("", qm_test::readLog());
}

} // namespace
