// Owns every game object: the registry, deferred deletion, movement with
// collisions, the world's boundary and view, and drawing by altitude.
// A singleton started by the game manager.
#pragma once

#include "Box.h"
#include "Manager.h"
#include "ObjectList.h"
#include "SpatialGrid.h"
#include "Vector.h"

#include <string>

namespace qm {

class Object;

class WorldManager : public Manager {
public:
  static WorldManager &getInstance();

  // Empties the lists without deleting anything.
  int startUp() override;
  // Deletes every object still in the world.
  void shutDown() override;

  // Called only by Object's constructor and destructor.
  int insertObject(Object *p_o);
  int removeObject(Object *p_o);

  ObjectList getAllObjects() const;
  ObjectList objectsOfType(std::string type) const;

  // Deletion waits for the start of the next update; marking twice is fine.
  int markForDelete(Object *p_o);

  // Deletes the marked objects, then moves every object whose velocity
  // takes it somewhere.
  void update();
  // Altitudes 0 to MAX_ALTITUDE in turn, in world order; objects outside the
  // view are skipped unless they are view objects.
  void draw();

  // The solid objects p_o would overlap if it stood at where.
  ObjectList getCollisions(const Object *p_o, Vector where) const;
  // 0 when the object now stands at where; -1 when a hard object blocked a
  // hard mover.
  int moveObject(Object *p_o, Vector where);

  void setBoundary(Box new_boundary);
  Box getBoundary() const;
  void setView(Box new_view);
  Box getView() const;
  // Centres the view on view_pos as far as the boundary allows.
  void setViewPosition(Vector view_pos);
  // nullptr stops following; -1 for an object not in the world.
  int setViewFollowing(Object *p_new_view_following);

private:
  // Object tells the world of every change of its position or box, so that
  // the grid never lags behind.
  friend class Object;

  WorldManager();
  WorldManager(const WorldManager &);
  void operator=(const WorldManager &);

  // Called by Object whenever its position or box changes.
  void refile(const Object *p_o);
  // Puts the solid objects p_o would overlap at where in p_found (room for
  // MAX_OBJECTS), in world order, and returns how many there are.
  int findCollisions(const Object *p_o, Vector where, Object **p_found) const;

  ObjectList m_updates;
  ObjectList m_deletions;
  Box m_boundary;
  Box m_view;
  Object *m_p_view_following;
  // Every object of m_updates, filed by where its box lies.
  SpatialGrid m_grid;
};

} // namespace qm
