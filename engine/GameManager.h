// Starts and stops every manager in order and runs the fixed-rate game loop.
// A singleton; the game's set-up routine drives it.
#pragma once

#include "Manager.h"

namespace qm {

inline constexpr int FRAME_TIME_DEFAULT = 33; // milliseconds

class GameManager : public Manager {
public:
  static GameManager &getInstance();

  // Starts log, world, display (then sets the world's boundary and view to
  // the display's size), input and resources; -1 at the first that fails.
  // From then on SIGINT, SIGTERM and SIGHUP end the game as game over does.
  int startUp() override;
  // Sets game over and stops resources, input, display, world and log.
  void shutDown() override;

  // Runs passes of the loop until game over is set; the pass in which it is
  // set is finished first.
  void run();

  // One pass of the loop without the pacing: step event, input, world update,
  // world draw and buffer swap; sets game over when a stop signal came.
  void runPass(int step_count);

  void setGameOver(bool new_game_over);
  bool getGameOver() const;
  int getFrameTime() const;

private:
  GameManager();
  GameManager(const GameManager &);
  void operator=(const GameManager &);

  bool game_over;
  int frame_time;
};

// Microseconds to sleep after a pass that took loop_time of a frame of
// target_time: never negative, and never more than one frame, even when the
// wall clock jumped back during the pass.
long frameSleepTime(long target_time, long loop_time);

} // namespace qm
