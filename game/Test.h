// The program's set-up routines: testGame builds and runs the whole game; the
// others build reduced worlds around single objects so that each can be
// watched on its own. Holds no data; the world owns what they create.
#pragma once

namespace qm {

class Test {
public:
  // Starts the engine, loads the game's resources, puts up the start screen
  // and runs the loop until Q. 0 after a game; -1 (with a line on standard
  // error) when the engine could not start, since no key could then end it.
  int testGame();

  // The eleven sprites, four sounds and two tracks of the game, under their
  // labels, from paths relative to the working directory. Public so that a
  // whole game can also be driven pass by pass.
  void loadGameResources();

  // Each runs the loop until Q and returns 0, or -1 when the engine could not
  // start.
  int testBall();
  int testPlatform();
  int testBounce();
  int testBorder();
  int testPower();

  // Ten numbers from 3 to 12 on standard output; touches no engine part.
  int testRand();
  // Start the engine and return at once, without the loop or a shut-down.
  int testDelBall();
  int testMoveToStart();

private:
  // 0 once the engine runs; otherwise shuts it down again, says so on
  // standard error and returns -1.
  int startEngine();
  // The loop, then the shut-down.
  int runAndShutDown();
};

} // namespace qm
