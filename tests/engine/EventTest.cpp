#include "Event.h"
#include "EventCollision.h"
#include "EventOut.h"
#include "EventStep.h"
#include "Spy.h"

#include <gtest/gtest.h>

namespace {

TEST(Event, EachKindCarriesItsTypeAndFields) {
  EXPECT_EQ("qm::undefined", qm::Event().getType());
  EXPECT_EQ("qm::out", qm::EventOut().getType());
  EXPECT_EQ("qm::step", qm::EventStep().getType());
  EXPECT_EQ(0, qm::EventStep().getStepCount());
  EXPECT_EQ(41, qm::EventStep(41).getStepCount());
  EXPECT_EQ(nullptr, qm::EventCollision().getObject1());

  // Only the pointers are kept; the objects are never touched.
  int stand_ins[2];
  auto *p_mover = reinterpret_cast<qm::Object *>(&stand_ins[0]);
  auto *p_other = reinterpret_cast<qm::Object *>(&stand_ins[1]);
  const qm::EventCollision collision(p_mover, p_other, qm::Vector(3.5f, -2));
  EXPECT_EQ("qm::collision", collision.getType());
  EXPECT_EQ(p_mover, collision.getObject1());
  EXPECT_EQ(p_other, collision.getObject2());
  EXPECT_EQ(qm_test::XY(3.5f, -2), qm_test::xy(collision.getPosition()));
}

} // namespace
