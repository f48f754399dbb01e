// The world's movement as a walk over every object for each move: the
// reference that the world manager's collision grid must match, event for
// event. It follows no view, so compare it only on worlds that follow none.
#pragma once

#include "ObjectList.h"
#include "Vector.h"

namespace qm {
class Object;
}

namespace qm_test {

// The solid objects other than p_o whose boxes meet p_o's box at where, in
// world order, found by looking at every object in the world.
qm::ObjectList plainCollisions(const qm::Object *p_o, qm::Vector where);

// WorldManager::moveObject with the collisions of plainCollisions.
int plainMoveObject(qm::Object *p_o, qm::Vector where);

} // namespace qm_test
