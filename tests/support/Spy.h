// Spies for world and event tests: game objects that write what happens to
// them into one journal shared by all spies of a test, so that the order of
// events across objects can be checked.
#pragma once

#include "Box.h"
#include "Object.h"
#include "Vector.h"
#include "ViewObject.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace qm_test {

using Journal = std::vector<std::string>;

// Its type is its name. Journals "<name> <event type>" for each event (for a
// collision "<name> qm::collision <mover>><other>"), "<name> draw" and
// "<name> deleted".
class SpyObject : public qm::Object {
public:
  SpyObject(std::string init_name, Journal *p_init_journal);
  ~SpyObject() override;

  int eventHandler(const qm::Event *p_e) override;
  int draw() override;

  // Run after the event is journalled, to act from inside a handler.
  std::function<void(const qm::Event *)> on_event;
  // Run first thing in the destructor.
  std::function<void()> on_destroy;

private:
  std::string name;
  Journal *p_journal;
};

// A view object that journals its draws the same way.
class SpyViewObject : public qm::ViewObject {
public:
  SpyViewObject(std::string init_name, Journal *p_init_journal);
  int draw() override;

private:
  std::string name;
  Journal *p_journal;
};

// A started, empty world with boundary and view 80 x 24 at (0, 0), following
// nothing, and a fresh, flushing log.
void resetWorld();

// Coordinates as a pair, so that one comparison checks a whole position.
using XY = std::pair<float, float>;
XY xy(qm::Vector v);
XY cornerOf(const qm::Box &box);

} // namespace qm_test
