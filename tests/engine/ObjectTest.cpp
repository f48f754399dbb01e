#include "Object.h"
#include "Spy.h"
#include "TestSupport.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

using qm_test::XY;
using qm_test::xy;

namespace {

class GameObject : public ::testing::Test {
protected:
  void SetUp() override {
    qm_test::resetWorld();
    p_o = new qm::Object;
  }
  void TearDown() override { qm::WorldManager::getInstance().shutDown(); }

  qm::Object *p_o = nullptr;
};

TEST_F(GameObject, StartsAsAHardOneCellObjectAtAltitudeTwo) {
  EXPECT_EQ("Object", p_o->getType());
  EXPECT_EQ(XY(0, 0), xy(p_o->getPosition()));
  EXPECT_EQ(2, p_o->getAltitude());
  EXPECT_EQ(XY(0, 0), xy(p_o->getVelocity()));
  EXPECT_TRUE(p_o->isSolid());
  EXPECT_EQ(qm::HARD, p_o->getSolidness());
  EXPECT_EQ(XY(0, 0), qm_test::cornerOf(p_o->getBox()));
  EXPECT_EQ(XY(1, 1), XY(p_o->getBox().getHorizontal(), p_o->getBox().getVertical()));
  EXPECT_EQ(-1, p_o->draw()) << "no sprite to draw";
}

TEST_F(GameObject, IdsAreConsecutiveAndNeverReused) {
  auto *p_second = new qm::Object;
  EXPECT_EQ(p_o->getID() + 1, p_second->getID());
  p_second->setID(77);
  EXPECT_EQ(77, p_second->getID());
  auto *p_third = new qm::Object;
  EXPECT_EQ(p_o->getID() + 2, p_third->getID());
}

TEST_F(GameObject, IsInTheWorldFromConstructionToDestruction) {
  EXPECT_EQ(1, qm::WorldManager::getInstance().getAllObjects().getCount());
  delete p_o;
  EXPECT_TRUE(qm::WorldManager::getInstance().getAllObjects().isEmpty());
}

TEST_F(GameObject, AltitudeOutOfRangeIsRefusedAndLogged) {
  EXPECT_EQ(0, p_o->setAltitude(0));
  EXPECT_EQ(0, p_o->setAltitude(4));
  EXPECT_EQ(-1, p_o->setAltitude(5));
  EXPECT_EQ(-1, p_o->setAltitude(-1));
  EXPECT_EQ(4, p_o->getAltitude());
  EXPECT_EQ("Message : Error! Given altitude not in range.\n"
            "Message : Error! Given altitude not in range.\n",
            qm_test::readLog());
}

TEST_F(GameObject, VelocitySplitsIntoSpeedAndUnitDirection) {
  p_o->setPosition(qm::Vector(10, 20));
  p_o->setVelocity(qm::Vector(0, -0.25f));
  EXPECT_EQ(0.25f, p_o->getSpeed());
  EXPECT_EQ(XY(0, -1), xy(p_o->getDirection()));
  EXPECT_EQ(XY(0, -0.25f), xy(p_o->getVelocity()));
  EXPECT_EQ(XY(10, 19.75f), xy(p_o->predictPosition()));
  EXPECT_EQ(XY(10, 20), xy(p_o->getPosition())) << "predicting does not move";

  p_o->setVelocity(qm::Vector(0, 0));
  EXPECT_EQ(0, p_o->getSpeed());
  EXPECT_EQ(XY(0, 0), xy(p_o->getDirection()));
}

TEST_F(GameObject, DirectionIsNotNormalised) {
  p_o->setDirection(qm::Vector(1, 1));
  p_o->setSpeed(2);
  EXPECT_EQ(XY(2, 2), xy(p_o->getVelocity()));
}

TEST_F(GameObject, SolidnessRefusesUnknownValuesSilently) {
  EXPECT_EQ(0, p_o->setSolidness(qm::SPECTRAL));
  EXPECT_FALSE(p_o->isSolid());
  EXPECT_EQ(0, p_o->setSolidness(qm::SOFT));
  EXPECT_TRUE(p_o->isSolid());
  EXPECT_EQ(-1, p_o->setSolidness(static_cast<qm::Solidness>(3)));
  EXPECT_EQ(qm::SOFT, p_o->getSolidness());
  EXPECT_EQ("", qm_test::readLog());
}

} // namespace
