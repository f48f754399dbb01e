#include "ObjectList.h"

#include "ObjectListIterator.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using qm::Object;
using qm::ObjectList;
using qm::ObjectListIterator;

// Lists only store and compare pointers: stand-ins that are never used do.
int stand_ins[3];
Object *const p = reinterpret_cast<Object *>(&stand_ins[0]);
Object *const q = reinterpret_cast<Object *>(&stand_ins[1]);
Object *const r = reinterpret_cast<Object *>(&stand_ins[2]);
using Order = std::vector<Object *>;

ObjectList listOf(const Order &objects) {
  ObjectList list;
  for (Object *p_o : objects) {
    list.insert(p_o);
  }
  return list;
}

TEST(ObjectList, HoldsUpTo2000Objects) {
  ObjectList list;
  for (int i = 0; i < qm::MAX_OBJECTS; i++) {
    ASSERT_EQ(list.insert(r), 0);
  }
  EXPECT_EQ(list.insert(r), -1);
  EXPECT_EQ(list.getCount(), 2000);
}

TEST(ObjectList, RemoveTakesTheFirstAndKeepsTheOrderOfTheRest) {
  ObjectList list = listOf({p, q, r, q});
  EXPECT_EQ(list.remove(q), 0);
  EXPECT_EQ(qm_test::listed(list), Order({p, r, q}));
}

TEST(ObjectList, ACopyChangesIndependently) {
  ObjectList list = listOf({p, q, r, q});
  const ObjectList copy = list;
  list.remove(q);
  EXPECT_EQ(qm_test::listed(copy), Order({p, q, r, q}));
}

TEST(ObjectListIterator, ReadsTheListLiveAndIsDonePastTheCount) {
  ObjectList list = listOf({p, q, r});
  ObjectListIterator li(&list);
  li.next();
  list.remove(p);
  EXPECT_EQ(li.currentObject(), r) << "reads the list live";
  li.next();
  list.remove(q);
  EXPECT_TRUE(li.isDone()) << "past the count";
  EXPECT_EQ(li.currentObject(), nullptr);
}

} // namespace
