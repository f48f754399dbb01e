#include "GameStart.h"

#include "Ball.h"
#include "Border.h"
#include "Corner.h"
#include "EventKeyboard.h"
#include "GameManager.h"
#include "LogManager.h"
#include "Platform.h"
#include "Points.h"
#include "ResourceManager.h"
#include "WorldManager.h"

GameStart::GameStart() {
  setType(GAME_START_TYPE);
  setSprite("game_start");
  setLocation(qm::CENTER_CENTER);
  p_music = qm::ResourceManager::getInstance().getMusic("game_music");
  playMusic();
  // Deliberate: a line with nothing but the address.
  qm::LogManager::getInstance().writeLog("%p\n", static_cast<void *>(this));
}

GameStart::~GameStart() {
  if (p_music != nullptr) {
    p_music->stop();
  }
}

int GameStart::eventHandler(const qm::Event *p_e) {
  if (p_e->getType() != qm::KEYBOARD_EVENT) {
    return 0;
  }
  // Presses and releases alike: the action is not looked at.
  const qm::Keyboard::Key key = static_cast<const qm::EventKeyboard *>(p_e)->getKey();
  if (key == qm::Keyboard::P) {
    start();
  } else if (key == qm::Keyboard::Q) {
    qm::GameManager::getInstance().setGameOver(true);
  }
  return 1;
}

int GameStart::draw() {
  return Object::draw();
}

void GameStart::start() {
  if (game_started) {
    return;
  }
  game_started = true;
  qm::WorldManager::getInstance().markForDelete(this);
  createGame();
}

bool GameStart::hasStarted() const {
  return game_started;
}

void GameStart::createGame() {
  new Platform;
  new Ball;
  new Border("top");
  new Border("left");
  new Border("right");
  new Corner("left");
  new Corner("right");
  new Points;
}

void GameStart::playMusic() {
  if (p_music != nullptr) {
    p_music->play(true);
  }
}
