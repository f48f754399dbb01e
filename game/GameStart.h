// The start screen: a full-screen picture with the game music; P builds a new
// game in its place, Q ends the program. Made by the set-up and by the end
// screens; owned by the world.
#pragma once

#include "ViewObject.h"

#include <string>

namespace qm {
class Event;
class Music;
} // namespace qm

inline const std::string GAME_START_TYPE = "GameStart";

class GameStart : public qm::ViewObject {
public:
  GameStart();
  // Stops the game music: a game itself runs without it.
  ~GameStart() override;

  // 1 for every keyboard event, 0 for any other.
  int eventHandler(const qm::Event *p_e) override;
  // The sprite, as a plain object draws it; no text.
  int draw() override;

  // Removes this screen and builds the objects of a new game, once per screen.
  void start();
  // True once P has built a game here; the screen is then on its way out.
  bool hasStarted() const;
  void playMusic();

  // The objects of a new game: platform, ball, walls, corners and score.
  static void createGame();

private:
  qm::Music *p_music = nullptr;
  // A press and a release of P in one pass both arrive before the world
  // deletes this screen; only the first may build a game.
  bool game_started = false;
};
