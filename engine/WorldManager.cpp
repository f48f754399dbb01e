#include "WorldManager.h"

#include "EventCollision.h"
#include "EventOut.h"
#include "Object.h"
#include "ObjectListIterator.h"
#include "ViewObject.h"
#include "utility.h"

namespace qm {

namespace {

bool listHas(const ObjectList &list, const Object *p_o) {
  ObjectListIterator li(&list);
  for (li.first(); !li.isDone(); li.next()) {
    if (li.currentObject() == p_o) {
      return true;
    }
  }
  return false;
}

// Where a view of view_size centred on centre starts along one axis of the
// boundary. The lower clamp comes last, so a view larger than the boundary
// sits at 0.
float viewStart(float centre, float view_size, float boundary_size) {
  float start = centre - view_size / 2.0f;
  if (start + view_size > boundary_size) {
    start = boundary_size - view_size;
  }
  if (start < 0.0f) {
    start = 0.0f;
  }
  return start;
}

} // namespace

WorldManager::WorldManager() : m_p_view_following(nullptr) {
  setType("WorldManager");
}

WorldManager &WorldManager::getInstance() {
  static WorldManager world_manager;
  return world_manager;
}

int WorldManager::startUp() {
  m_updates.clear();
  m_deletions.clear();
  m_grid.clear();
  return Manager::startUp();
}

void WorldManager::shutDown() {
  // Each destructor takes its object out of m_updates, so walk a copy.
  const ObjectList all_objects = m_updates;
  ObjectListIterator li(&all_objects);
  for (li.first(); !li.isDone(); li.next()) {
    delete li.currentObject();
  }
  // What is still marked was deleted above (or marked by those destructors);
  // an update after this must not delete it again.
  m_deletions.clear();
  Manager::shutDown();
}

int WorldManager::insertObject(Object *p_o) {
  // The grid holds as many entries as the list, so it takes whatever the
  // list takes.
  if (m_updates.insert(p_o) != 0) {
    return -1;
  }
  return m_grid.insert(p_o);
}

int WorldManager::removeObject(Object *p_o) {
  if (m_updates.remove(p_o) != 0) {
    return -1;
  }
  m_grid.remove(p_o);
  // The view must not go on following an object that is about to be gone.
  if (p_o == m_p_view_following) {
    m_p_view_following = nullptr;
  }
  return 0;
}

ObjectList WorldManager::getAllObjects() const {
  return m_updates;
}

ObjectList WorldManager::objectsOfType(std::string type) const {
  ObjectList of_type;
  ObjectListIterator li(&m_updates);
  for (li.first(); !li.isDone(); li.next()) {
    if (li.currentObject()->getType() == type) {
      of_type.insert(li.currentObject());
    }
  }
  return of_type;
}

int WorldManager::markForDelete(Object *p_o) {
  if (listHas(m_deletions, p_o)) {
    return 0;
  }
  return m_deletions.insert(p_o);
}

void WorldManager::update() {
  // Live walks: a destructor may mark more objects, which go in this same
  // walk; while it runs its own object is still listed, so marking it again
  // does not add it twice.
  ObjectListIterator deletion_li(&m_deletions);
  for (deletion_li.first(); !deletion_li.isDone(); deletion_li.next()) {
    delete deletion_li.currentObject();
  }
  m_deletions.clear();

  // Objects made by handlers during the walk are appended and moved in it.
  ObjectListIterator update_li(&m_updates);
  for (update_li.first(); !update_li.isDone(); update_li.next()) {
    Object *p_o = update_li.currentObject();
    const Vector old_pos = p_o->getPosition();
    const Vector new_pos = p_o->predictPosition();
    // Negated equality, so that a NaN coordinate counts as a change.
    if (!(new_pos.getX() == old_pos.getX()) || !(new_pos.getY() == old_pos.getY())) {
      moveObject(p_o, new_pos);
    }
  }
}

void WorldManager::draw() {
  for (int altitude = 0; altitude <= MAX_ALTITUDE; altitude++) {
    ObjectListIterator li(&m_updates);
    for (li.first(); !li.isDone(); li.next()) {
      Object *p_o = li.currentObject();
      if (p_o->getAltitude() != altitude) {
        continue;
      }
      // View objects place themselves on the screen, so their world box
      // says nothing about whether they show.
      if (boxIntersectsBox(getWorldBox(p_o), m_view) ||
          dynamic_cast<const ViewObject *>(p_o) != nullptr) {
        p_o->draw();
      }
    }
  }
}

ObjectList WorldManager::getCollisions(const Object *p_o, Vector where) const {
  Object *found[MAX_OBJECTS];
  const int found_count = findCollisions(p_o, where, found);
  ObjectList collisions;
  for (int i = 0; i < found_count; i++) {
    collisions.insert(found[i]);
  }
  return collisions;
}

int WorldManager::findCollisions(const Object *p_o, Vector where, Object **p_found) const {
  const Box mover_box = getWorldBox(p_o, where);
  int found_count = 0;
  // The grid offers the objects near the box in world order; the exact test
  // is the same as for a walk over the whole world.
  m_grid.forEachCandidate(mover_box, [&](Object *p_other) {
    if (p_other != p_o && boxIntersectsBox(mover_box, getWorldBox(p_other)) && p_other->isSolid()) {
      p_found[found_count++] = p_other;
    }
  });
  return found_count;
}

void WorldManager::refile(const Object *p_o) {
  m_grid.refile(p_o);
}

int WorldManager::moveObject(Object *p_o, Vector where) {
  if (p_o->isSolid()) {
    // A plain array rather than an ObjectList, which clears all its places
    // when made: with the grid, that was a fifth of a crowded world's update.
    // Each move, nested ones from handlers too, has its own.
    Object *collisions[MAX_OBJECTS];
    const int collision_count = findCollisions(p_o, where, collisions);
    bool do_move = true;
    for (int i = 0; i < collision_count; i++) {
      Object *p_other = collisions[i];
      EventCollision collision(p_o, p_other, where);
      p_o->eventHandler(&collision);
      p_other->eventHandler(&collision);
      // Read after both handlers, which may have changed either solidness.
      if (p_o->getSolidness() == HARD && p_other->getSolidness() == HARD) {
        do_move = false;
      }
    }
    if (!do_move) {
      return -1;
    }
  }

  const Box box_before = getWorldBox(p_o);
  p_o->setPosition(where);
  const Box box_after = getWorldBox(p_o);

  if (p_o == m_p_view_following) {
    setViewPosition(p_o->getPosition());
  }

  // Only the crossing from inside to outside is news to the object.
  if (boxIntersectsBox(box_before, m_boundary) && !boxIntersectsBox(box_after, m_boundary)) {
    EventOut out;
    p_o->eventHandler(&out);
  }
  return 0;
}

void WorldManager::setBoundary(Box new_boundary) {
  m_boundary = new_boundary;
}

Box WorldManager::getBoundary() const {
  return m_boundary;
}

void WorldManager::setView(Box new_view) {
  m_view = new_view;
}

Box WorldManager::getView() const {
  return m_view;
}

void WorldManager::setViewPosition(Vector view_pos) {
  m_view.setCorner(
      Vector(viewStart(view_pos.getX(), m_view.getHorizontal(), m_boundary.getHorizontal()),
             viewStart(view_pos.getY(), m_view.getVertical(), m_boundary.getVertical())));
}

int WorldManager::setViewFollowing(Object *p_new_view_following) {
  if (!p_new_view_following) {
    m_p_view_following = nullptr;
    return 0;
  }
  if (!listHas(m_updates, p_new_view_following)) {
    return -1;
  }
  m_p_view_following = p_new_view_following;
  setViewPosition(p_new_view_following->getPosition());
  return 0;
}

} // namespace qm
