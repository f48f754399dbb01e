// Base of every engine service: a named singleton with a started flag, and the
// broadcast that hands one event to every object in the world.
#pragma once

#include <string>

namespace qm {

class Event;

class Manager {
public:
  Manager();
  virtual ~Manager();

  // 0 on success; -1 when the manager is already started.
  virtual int startUp();
  virtual void shutDown();

  std::string getType() const;
  bool isStarted() const;

  // Hands the event to every object of the world, walking a copy of the
  // world's list so that handlers may create or mark objects meanwhile.
  // Returns the number of objects that were handed the event.
  int onEvent(const Event *p_event) const;

protected:
  void setType(std::string type);

private:
  std::string m_type;
  bool m_is_started;
};

} // namespace qm
