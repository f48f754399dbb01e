#include "Test.h"

#include "Ball.h"
#include "Border.h"
#include "DisplayManager.h"
#include "GameManager.h"
#include "GameStart.h"
#include "LogManager.h"
#include "Platform.h"
#include "PowerUp.h"
#include "ResourceManager.h"
#include "WorldManager.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>

namespace qm {

namespace {

// What the display that was asked for needs, for the one line that a failed
// start prints, and how to get a display that works.
struct DisplayTrouble {
  const char *p_trouble;
  const char *p_hint;
};

DisplayTrouble displayTrouble() {
  switch (chosenDisplay()) {
  case WINDOW_DISPLAY:
    return {"no window or no font",
            "; to play in this terminal instead, run it with QUILLMOTH_DISPLAY=terminal"};
  case TERMINAL_DISPLAY:
    return {"no terminal to play in", ""};
  default:
    return {"unknown display", "; QUILLMOTH_DISPLAY must be window (the default) or terminal"};
  }
}

} // namespace

int Test::startEngine() {
  GameManager &game_manager = GameManager::getInstance();
  if (game_manager.startUp() == 0) {
    return 0;
  }
  // Asked before the shut-down closes it: a log that could not be created
  // holds no details to point at.
  const bool has_log = LogManager::getInstance().isFileOpen();
  // Without a window no Q can reach the loop, and it would never end.
  game_manager.shutDown();
  const std::string details = has_log ? "; see " + LOGFILE_NAME + " for details" : "";
  const DisplayTrouble trouble = displayTrouble();
  fprintf(stderr, "quillmoth: could not start the engine (%s)%s%s\n", trouble.p_trouble,
          details.c_str(), trouble.p_hint);
  return -1;
}

int Test::runAndShutDown() {
  GameManager &game_manager = GameManager::getInstance();
  game_manager.run();
  game_manager.shutDown();
  return 0;
}

namespace {

struct SpriteFile {
  const char *label;
  const char *filename;
};

// Where each of the game's sprites is read from, in the game's loading order.
const SpriteFile GAME_SPRITES[] = {
    {"ball", "Sprites/ball_spr.txt"},
    {"platform", "Sprites/platform_spr.txt"},
    {"top_border", "Sprites/border_top_spr.txt"},
    {"side_border", "Sprites/border_side_spr.txt"},
    {"corner", "Sprites/corner_spr.txt"},
    {"power_up", "Sprites/power_up_spr.txt"},
    {"long_platform", "Sprites/platform_long_spr.txt"},
    {"short_platform", "Sprites/platform_short_spr.txt"},
    {"game_start", "Sprites/game_start_spr.txt"},
    {"game_over", "Sprites/game_over_spr.txt"},
    {"win", "Sprites/win_spr.txt"},
};

// The sprites with these labels, in the order given.
void loadSprites(std::initializer_list<std::string> labels) {
  for (const std::string &label : labels) {
    for (const SpriteFile &sprite : GAME_SPRITES) {
      if (label == sprite.label) {
        ResourceManager::getInstance().loadSprite(sprite.filename, sprite.label);
      }
    }
  }
}

// The sprites of a game in play.
void loadPlaySprites() {
  loadSprites({"ball", "platform", "top_border", "side_border", "corner", "power_up",
               "long_platform", "short_platform"});
}

} // namespace

void Test::loadGameResources() {
  loadPlaySprites();
  loadSprites({"game_start", "game_over", "win"});
  ResourceManager &resource_manager = ResourceManager::getInstance();
  resource_manager.loadSound("Sounds/fall.wav", "fall");
  resource_manager.loadMusic("Sounds/lose_music.wav", "lose_music");
  resource_manager.loadSound("Sounds/impact.wav", "impact");
  resource_manager.loadSound("Sounds/power_up_pick_up.wav", "power_up_catch");
  resource_manager.loadSound("Sounds/power_up_spawn.wav", "power_up_spawn");
  resource_manager.loadMusic("Sounds/game_music.wav", "game_music");
}

int Test::testGame() {
  if (startEngine() != 0) {
    return -1;
  }
  loadGameResources();
  new GameStart;
  return runAndShutDown();
}

int Test::testBall() {
  if (startEngine() != 0) {
    return -1;
  }
  loadSprites({"ball"});
  new Ball;
  return runAndShutDown();
}

int Test::testPlatform() {
  if (startEngine() != 0) {
    return -1;
  }
  loadSprites({"platform"});
  new Platform;
  return runAndShutDown();
}

int Test::testBounce() {
  if (startEngine() != 0) {
    return -1;
  }
  loadPlaySprites();
  GameStart::createGame();
  return runAndShutDown();
}

int Test::testRand() {
  for (int i = 0; i < 10; i++) {
    const float value = float(3.0 + rand() % 10);
    printf("%f\n", static_cast<double>(value));
  }
  return 0;
}

int Test::testBorder() {
  if (startEngine() != 0) {
    return -1;
  }
  loadSprites({"top_border", "side_border", "platform"});
  new Platform;
  new Border("top");
  new Border("left");
  new Border("right");
  return runAndShutDown();
}

int Test::testDelBall() {
  GameManager::getInstance().startUp();
  Ball *p_ball = new Ball;
  WorldManager::getInstance().markForDelete(p_ball);
  return 0;
}

int Test::testMoveToStart() {
  GameManager::getInstance().startUp();
  Ball *p_ball = new Ball;
  p_ball->moveToStart();
  return 0;
}

int Test::testPower() {
  if (startEngine() != 0) {
    return -1;
  }
  loadSprites({"platform", "power_up"});
  new Platform;
  new PowerUp;
  return runAndShutDown();
}

} // namespace qm
