// Sent to both parties when a moving object would overlap a solid one:
// object 1 is the mover, object 2 the one it runs into, position the
// destination of the move. Built by the world on the stack for one delivery.
#pragma once

#include "Event.h"
#include "Vector.h"

namespace qm {

class Object;

inline const std::string COLLISION_EVENT = "qm::collision";

class EventCollision : public Event {
public:
  EventCollision();
  EventCollision(Object *p_o1, Object *p_o2, Vector p);

  void setObject1(Object *p_new_o1);
  Object *getObject1() const;
  void setObject2(Object *p_new_o2);
  Object *getObject2() const;
  void setPosition(Vector new_pos);
  Vector getPosition() const;

private:
  Vector m_pos;
  Object *m_p_obj1;
  Object *m_p_obj2;
};

} // namespace qm
