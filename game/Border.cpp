#include "Border.h"

#include "WorldManager.h"

Border::Border(std::string place) {
  setType(BORDER_TYPE);
  setSolidness(qm::HARD);
  const qm::Box boundary = qm::WorldManager::getInstance().getBoundary();
  const float h = boundary.getHorizontal();
  const float v = boundary.getVertical();
  if (place == "top") {
    setSprite("top_border");
    setPosition(qm::Vector(h / 2.0f, 0.0f));
  } else if (place == "left") {
    setSprite("side_border");
    setPosition(qm::Vector(1.0f, v / 2.0f + 2.0f));
  } else if (place == "right") {
    setSprite("side_border");
    setPosition(qm::Vector(h, v / 2.0f + 2.0f));
  }
}
