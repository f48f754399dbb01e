// The game-over screen, made by the ball when it leaves the arena: plays its
// animation once with the losing music, then clears the world and puts up a
// new start screen. Owned by the world.
#pragma once

#include "ViewObject.h"

namespace qm {
class Event;
class Music;
} // namespace qm

class GameOver : public qm::ViewObject {
public:
  GameOver();
  // Stops the losing music.
  ~GameOver() override;

  // 1 for a step event; every other event is ignored with 0.
  int eventHandler(const qm::Event *p_e) override;
  // The sprite, as a plain object draws it; no text.
  int draw() override;

private:
  void step();

  int time_to_live = 0;
  qm::Music *p_music = nullptr;
};
