// What needs no world: managers, the log, the clock, geometry and object lists.
#include "Clock.h"
#include "LogManager.h"
#include "ObjectList.h"
#include "ObjectListIterator.h"
#include "TestSupport.h"
#include "utility.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qm;

TEST(Manager, StartsOnceUntilShutDown) {
  Manager manager;
  EXPECT_EQ(0, manager.startUp());
  EXPECT_EQ(-1, manager.startUp());
  manager.shutDown();
  EXPECT_FALSE(manager.isStarted());
  EXPECT_EQ(0, manager.startUp());
}

TEST(Log, WritesTheExactLineAndCountsItButNothingOnceShutDown) {
  qm_test::restartLog();
  LogManager &log_manager = LogManager::getInstance();
  EXPECT_EQ(39, log_manager.writeLog("Error! Sprite does not exist\n"));
  log_manager.writeLog("%s %d", "points", -7); // printf-like, adding no newline
  const std::string log = "Message : Error! Sprite does not exist\nMessage : points -7";
  EXPECT_EQ(log, qm_test::readLog());
  // Starting again while open neither truncates the file nor loses its handle.
  EXPECT_EQ(-1, log_manager.startUp());
  EXPECT_EQ(39, log_manager.writeLog("Error! Sprite does not exist\n"));
  log_manager.shutDown();
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(-1, log_manager.writeLog("lost\n"));
  EXPECT_EQ("", testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr());
  EXPECT_EQ(log + "Message : Error! Sprite does not exist\n", qm_test::readLog());
}

TEST(Clock, NonPositiveSleepReturnsAtOnce) {
  Clock clock;
  EXPECT_EQ(-1, clock.sleep(-5000));
  EXPECT_EQ(0, clock.sleep(0));
  EXPECT_LT(clock.split(), 100000) << "microseconds, generous for a busy machine";
}

TEST(Clock, SleepLastsAboutWhatWasAsked) {
  Clock clock;
  EXPECT_EQ(clock.sleep(20000), 0);
  const long slept = clock.split();
  EXPECT_GE(slept, 20000);
  EXPECT_LT(slept, 520000) << "microseconds, generous for a busy machine";
}

TEST(Geometry, VectorsBoxesAndNumbers) {
  Vector v(3, 4), zero;
  EXPECT_FLOAT_EQ(5, v.getMagnitude());
  v.normalize();
  zero.normalize();
  EXPECT_FLOAT_EQ(0.6f, v.getX());
  EXPECT_FLOAT_EQ(0.8f, v.getY());
  EXPECT_EQ(0, zero.getMagnitude());
  const Box unit(Vector(0, 0), 1, 1);
  EXPECT_TRUE(boxIntersectsBox(unit, Box(Vector(1, 1), 1, 1))) << "a shared corner";
  EXPECT_TRUE(boxIntersectsBox(Box(Vector(-5, -5), 10, 10), unit)) << "containment";
  EXPECT_FALSE(boxIntersectsBox(unit, Box(Vector(1.5f, 0), 1, 1)));
  EXPECT_FALSE(boxIntersectsBox(Box(Vector(0, 3), 10, 1), Box(Vector(5, 0), 1, 1)));
  EXPECT_EQ("-42", toString(-42));
}

// Lists only store and compare pointers: stand-ins that are never used do.
int stand_ins[3];
Object *const p = reinterpret_cast<Object *>(&stand_ins[0]);
Object *const q = reinterpret_cast<Object *>(&stand_ins[1]);
Object *const r = reinterpret_cast<Object *>(&stand_ins[2]);
using Order = std::vector<Object *>;

Order contents(const ObjectList &list) {
  Order walked;
  for (ObjectListIterator li(&list); !li.isDone(); li.next()) {
    walked.push_back(li.currentObject());
  }
  return walked;
}

TEST(ObjectList, HoldsUpTo2000RemovesKeepingTheOrderAndCopiesIndependently) {
  ObjectList list;
  for (int i = 0; i < 2000; i++) {
    ASSERT_EQ(0, list.insert(r));
  }
  EXPECT_EQ(-1, list.insert(r));
  EXPECT_EQ(2000, list.getCount());
  list.clear();
  for (Object *p_o : {p, q, r, q}) {
    list.insert(p_o);
  }
  const ObjectList copy = list;
  EXPECT_EQ(0, list.remove(q));
  EXPECT_EQ(Order({p, r, q}), contents(list));
  EXPECT_EQ(Order({p, q, r, q}), contents(copy));
  ObjectListIterator li(&list);
  li.next();
  list.remove(p);
  EXPECT_EQ(q, li.currentObject()) << "reads the list live";
  li.next();
  list.remove(q);
  EXPECT_TRUE(li.isDone()) << "past the count";
  EXPECT_EQ(nullptr, li.currentObject());
}
