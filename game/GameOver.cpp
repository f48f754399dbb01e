#include "GameOver.h"

#include "EventStep.h"
#include "LogManager.h"
#include "ResourceManager.h"
#include "endScreens.h"

GameOver::GameOver() {
  setType("GameOver");
  // Without the sprite the length is 0, and the screen ends at its first step.
  setSprite("game_over");
  time_to_live = animationLength(*this);
  setLocation(qm::CENTER_CENTER);
  p_music = qm::ResourceManager::getInstance().getMusic("lose_music");
  if (p_music != nullptr) {
    p_music->play(true);
  }
  // Deliberate: a line with nothing but the address.
  qm::LogManager::getInstance().writeLog("%p\n", static_cast<void *>(this));
}

GameOver::~GameOver() {
  if (p_music != nullptr) {
    p_music->stop();
  }
}

int GameOver::eventHandler(const qm::Event *p_e) {
  if (p_e->getType() == qm::STEP_EVENT) {
    step();
    return 1;
  }
  return 0;
}

int GameOver::draw() {
  return Object::draw();
}

void GameOver::step() {
  countDown(time_to_live);
}
