// Walks an object list from front to back, reading the list live:
// first(); while (!isDone()) { currentObject(); next(); }
// A local of each walk, over a list it does not own.
#pragma once

namespace qm {

class Object;
class ObjectList;

class ObjectListIterator {
public:
  explicit ObjectListIterator(const ObjectList *p_l);

  void first();
  void next();
  // Done once the position is at or past the count, so a list that shrinks
  // during a walk still ends it.
  bool isDone() const;
  // nullptr outside the list.
  Object *currentObject() const;

private:
  ObjectListIterator() = delete;

  int m_index;
  const ObjectList *m_p_list;
};

} // namespace qm
