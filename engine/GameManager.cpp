#include "GameManager.h"

#include "Box.h"
#include "Clock.h"
#include "DisplayManager.h"
#include "EventStep.h"
#include "InputManager.h"
#include "LogManager.h"
#include "ResourceManager.h"
#include "StopSignals.h"
#include "WorldManager.h"

#include <cerrno>
#include <ctime>

namespace qm {

namespace {

// Sleeps until wait_time from now on the monotonic clock, which changes of the
// wall clock cannot stretch. The deadline is absolute, so a signal that cuts
// the sleep short resumes it to the same end, except a stop request, which
// ends the frame at once.
void waitOut(long wait_time) {
  if (wait_time <= 0) {
    return;
  }
  struct timespec deadline;
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  deadline.tv_sec += wait_time / 1000000;
  deadline.tv_nsec += (wait_time % 1000000) * 1000;
  if (deadline.tv_nsec >= 1000000000) {
    deadline.tv_sec++;
    deadline.tv_nsec -= 1000000000;
  }
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    if (stopRequested()) {
      return;
    }
  }
}

} // namespace

GameManager::GameManager() : game_over(false), frame_time(FRAME_TIME_DEFAULT) {
  setType("GameManager");
}

GameManager &GameManager::getInstance() {
  static GameManager game_manager;
  return game_manager;
}

int GameManager::startUp() {
  LogManager &log_manager = LogManager::getInstance();
  if (log_manager.startUp() == -1) {
    return -1;
  }
  WorldManager &world_manager = WorldManager::getInstance();
  if (world_manager.startUp() == -1) {
    log_manager.writeLog("Error!: Unable to start up WorldManager\n");
    return -1;
  }
  DisplayManager &display_manager = DisplayManager::getInstance();
  if (display_manager.startUp() == -1) {
    log_manager.writeLog("Error!: Unable to start up DisplayManager\n");
    return -1;
  }
  // The world is exactly the screen's grid, and the view shows all of it.
  const Box screen(Vector(0, 0), static_cast<float>(display_manager.getHorizontal()),
                   static_cast<float>(display_manager.getVertical()));
  world_manager.setBoundary(screen);
  world_manager.setView(screen);

  if (InputManager::getInstance().startUp() == -1) {
    log_manager.writeLog("Error!: Unable to start up InputManager\n");
    return -1;
  }
  if (ResourceManager::getInstance().startUp() == -1) {
    log_manager.writeLog("Error! Unable to start up ResourceManager\n");
    return -1;
  }
  // After the display, and released before it: a terminal's own handlers,
  // set when it is taken, must be the ones handed back to.
  catchStopSignals();
  return Manager::startUp();
}

void GameManager::shutDown() {
  setGameOver(true);
  releaseStopSignals();
  // Sprites go first, since nothing draws after the last pass; music stays in
  // its slots, so screens deleted with the world can still stop theirs.
  // Input lets go of the display's window before the display, and the log
  // goes last, since destructors may still write to it.
  ResourceManager::getInstance().shutDown();
  InputManager::getInstance().shutDown();
  DisplayManager::getInstance().shutDown();
  WorldManager::getInstance().shutDown();
  LogManager::getInstance().shutDown();
  Manager::shutDown();
}

void GameManager::run() {
  Clock clock;
  int game_loop_count = 0;
  while (!game_over) {
    clock.delta();
    runPass(game_loop_count);
    const long loop_time = clock.split();
    const long target_time = getFrameTime() * 1000;
    waitOut(frameSleepTime(target_time, loop_time));
    game_loop_count++;
  }
}

void GameManager::runPass(int step_count) {
  EventStep step_event(step_count);
  onEvent(&step_event);
  InputManager::getInstance().getInput();
  WorldManager &world_manager = WorldManager::getInstance();
  world_manager.update();
  world_manager.draw();
  DisplayManager::getInstance().swapBuffers();
  if (stopRequested()) {
    game_over = true;
  }
}

void GameManager::setGameOver(bool new_game_over) {
  game_over = new_game_over;
}

bool GameManager::getGameOver() const {
  return game_over;
}

int GameManager::getFrameTime() const {
  return frame_time;
}

long frameSleepTime(long target_time, long loop_time) {
  // A pass cannot take negative time: the wall clock was set back.
  if (loop_time < 0) {
    return target_time;
  }
  // An overlong pass is not caught up on.
  if (loop_time >= target_time) {
    return 0;
  }
  return target_time - loop_time;
}

} // namespace qm
