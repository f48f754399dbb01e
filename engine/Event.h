// Base of every event. Events are told apart by their type string; each is
// built by its sender on the stack and lives for one delivery.
#pragma once

#include <string>

namespace qm {

inline const std::string UNDEFINED_EVENT = "qm::undefined";

class Event {
public:
  Event();
  virtual ~Event();

  void setType(std::string new_type);
  std::string getType() const;

private:
  std::string m_event_type;
};

} // namespace qm
