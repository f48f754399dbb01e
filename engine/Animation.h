// An object's playing state over a shared sprite: which frame shows, and how
// many passes have counted towards the next one (-1 freezes it). Held by value
// in every object; the sprite it points at belongs to the resource manager.
#pragma once

#include "Box.h"
#include "Vector.h"

#include <string>

namespace qm {

class Sprite;

class Animation {
public:
  Animation();

  void setSprite(Sprite *p_new_sprite);
  Sprite *getSprite() const;
  void setName(std::string new_name);
  std::string getName() const;
  void setIndex(int new_index);
  int getIndex() const;
  void setSlowdownCount(int new_slowdown_count);
  int getSlowdownCount() const;

  // Draws the current frame, then advances; -1 without a sprite.
  int draw(Vector position);
  // The sprite's box centred on the object's position.
  Box getBox() const;

private:
  Sprite *m_p_sprite;
  std::string m_name;
  int m_index;
  int m_slowdown_count;
};

} // namespace qm
