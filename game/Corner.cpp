#include "Corner.h"

#include "WorldManager.h"

Corner::Corner(std::string place) {
  setType(CORNER_TYPE);
  setSprite("corner");
  setSolidness(qm::HARD);
  const float h = qm::WorldManager::getInstance().getBoundary().getHorizontal();
  // Deliberate: each side sets the sprite again, harmless with the sprite
  // loaded; a missing one is logged twice for a placed corner.
  if (place == "left") {
    setSprite("corner");
    setPosition(qm::Vector(1.0f, 2.0f));
  } else if (place == "right") {
    setSprite("corner");
    setPosition(qm::Vector(h, 2.0f));
  }
}
