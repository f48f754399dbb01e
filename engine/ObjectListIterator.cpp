#include "ObjectListIterator.h"

#include "ObjectList.h"

namespace qm {

ObjectListIterator::ObjectListIterator(const ObjectList *p_l) : m_index(0), m_p_list(p_l) {}

void ObjectListIterator::first() {
  m_index = 0;
}

void ObjectListIterator::next() {
  if (m_index >= 0 && m_index < MAX_OBJECTS && m_index < m_p_list->m_count) {
    m_index++;
  }
}

bool ObjectListIterator::isDone() const {
  return m_index >= m_p_list->m_count;
}

Object *ObjectListIterator::currentObject() const {
  if (m_index < 0 || m_index >= m_p_list->m_count || m_index >= MAX_OBJECTS) {
    return nullptr;
  }
  return m_p_list->m_p_obj[m_index];
}

} // namespace qm
