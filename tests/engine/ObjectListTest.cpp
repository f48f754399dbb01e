#include "ObjectList.h"
#include "ObjectListIterator.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Lists only store and compare pointers, so stand-ins that are never
// dereferenced do for objects.
int stand_ins[3];
qm::Object *const p = reinterpret_cast<qm::Object *>(&stand_ins[0]);
qm::Object *const q = reinterpret_cast<qm::Object *>(&stand_ins[1]);
qm::Object *const r = reinterpret_cast<qm::Object *>(&stand_ins[2]);

using Order = std::vector<qm::Object *>;

Order contents(const qm::ObjectList &list) {
  Order walked;
  qm::ObjectListIterator li(&list);
  for (li.first(); !li.isDone(); li.next()) {
    walked.push_back(li.currentObject());
  }
  return walked;
}

qm::ObjectList listOf(const Order &objects) {
  qm::ObjectList list;
  for (qm::Object *p_o : objects) {
    list.insert(p_o);
  }
  return list;
}

TEST(ObjectList, HoldsUpToMaxObjects) {
  qm::ObjectList list;
  EXPECT_TRUE(list.isEmpty());
  EXPECT_TRUE(qm::ObjectListIterator(&list).isDone());
  EXPECT_EQ(nullptr, qm::ObjectListIterator(&list).currentObject());
  for (int i = 0; i < qm::MAX_OBJECTS - 1; i++) {
    ASSERT_EQ(0, list.insert(p));
  }
  EXPECT_FALSE(list.isFull());
  EXPECT_EQ(0, list.insert(q));
  EXPECT_TRUE(list.isFull());
  EXPECT_EQ(-1, list.insert(r));
  EXPECT_EQ(qm::MAX_OBJECTS, list.getCount());
  EXPECT_EQ(q, contents(list).back());
  list.clear();
  EXPECT_TRUE(list.isEmpty());
}

TEST(ObjectList, RemoveTakesTheFirstMatchAndKeepsTheOrderOfTheRest) {
  qm::ObjectList list = listOf({p, q, r, q, nullptr});
  EXPECT_EQ(0, list.remove(q));
  EXPECT_EQ(Order({p, r, q, nullptr}), contents(list));
  EXPECT_EQ(0, list.remove(q));
  EXPECT_EQ(-1, list.remove(q));
  EXPECT_EQ(Order({p, r, nullptr}), contents(list));
}

TEST(ObjectList, CopiesAreIndependent) {
  qm::ObjectList source = listOf({p});
  const qm::ObjectList copy = source;
  source.insert(q);
  source.remove(p);
  EXPECT_EQ(Order({p}), contents(copy));
  EXPECT_EQ(Order({q}), contents(source));
}

TEST(ObjectListIterator, StaysDoneAtTheEndUntilFirst) {
  const qm::ObjectList list = listOf({p, q});
  qm::ObjectListIterator li(&list);
  EXPECT_EQ(p, li.currentObject()) << "starts at the first entry";
  li.next();
  li.next();
  li.next();
  EXPECT_TRUE(li.isDone());
  EXPECT_EQ(nullptr, li.currentObject());
  li.first();
  EXPECT_EQ(p, li.currentObject());
}

TEST(ObjectListIterator, ReadsTheListLiveAndEndsWhenItShrinksBehind) {
  qm::ObjectList list = listOf({p});
  qm::ObjectListIterator li(&list);
  li.next();
  list.insert(q);
  EXPECT_EQ(q, li.currentObject());

  list.insert(r);
  li.next();
  list.remove(p);
  list.remove(q);
  EXPECT_TRUE(li.isDone());
  EXPECT_EQ(nullptr, li.currentObject());
}

} // namespace
