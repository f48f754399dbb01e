// An ordered list of object pointers with a fixed capacity and no heap
// allocation; a value, whose copies are independent. The world holds two and
// owns their objects; the list itself never owns what it points at.
#pragma once

namespace qm {

class Object;

inline constexpr int MAX_OBJECTS = 2000;

class ObjectList {
public:
  ObjectList();

  // -1 when the list is full.
  int insert(Object *p_o);
  // Removes the first occurrence, keeping the order of the rest; -1 when the
  // object is not in the list.
  int remove(Object *p_o);
  void clear();

  int getCount() const;
  bool isEmpty() const;
  bool isFull() const;

private:
  friend class ObjectListIterator;

  int m_count;
  Object *m_p_obj[MAX_OBJECTS];
};

} // namespace qm
