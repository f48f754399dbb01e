// Everything around the ball: where walls, corners, the platform and the
// power-ups stand, the keys of the start screen and the platform, the score's
// win.
#include "Ball.h"
#include "Border.h"
#include "Corner.h"
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventOut.h"
#include "GameFixture.h"
#include "GameStart.h"
#include "Platform.h"
#include "Points.h"
#include "PowerUp.h"

#include <vector>

namespace {

using qm_test::countOf;
using qm_test::worldCount;
using qm_test::xy;
using qm_test::XY;
using Arena = qm_test::GameFixture;

TEST_F(Arena, WallsAndCornersFollowTheBoundaryAndThePlatformTheWindow) {
  const struct {
    float h, v;
    XY top, left, right;
  } worlds[] = {{80, 24, {40, 0}, {1, 14}, {80, 14}}, {100, 30, {50, 0}, {1, 17}, {100, 17}}};
  for (const auto &world : worlds) {
    SCOPED_TRACE(world.h);
    qm::WorldManager::getInstance().setBoundary(qm::Box(qm::Vector(), world.h, world.v));
    EXPECT_EQ(xy((new Border("top"))->getPosition()), world.top);
    EXPECT_EQ(xy((new Border("left"))->getPosition()), world.left);
    EXPECT_EQ(xy((new Border("right"))->getPosition()), world.right);
    EXPECT_EQ(xy((new Corner("left"))->getPosition()), XY(1, 2));
    EXPECT_EQ(xy((new Corner("right"))->getPosition()), XY(world.h, 2));
    EXPECT_EQ(xy((new Platform)->getPosition()), XY(40, 21));
  }
}

TEST_F(Arena, QEndsTheGameOnPressAndReleaseOtherKeysChangeNothing) {
  qm::GameManager &game_manager = qm::GameManager::getInstance();
  const std::vector<qm::Object *> handlers = {new GameStart, new Platform};
  for (qm::Object *p_handler : handlers) {
    for (const auto action : {qm::KEY_PRESSED, qm::KEY_RELEASED}) {
      for (const auto key : {qm::Keyboard::SPACE, qm::Keyboard::UNDEFINED_KEY, qm::Keyboard::Q}) {
        game_manager.setGameOver(false);
        qm::EventKeyboard event;
        event.setKey(key);
        event.setKeyboardAction(action);
        EXPECT_EQ(p_handler->eventHandler(&event), 1);
        EXPECT_EQ(game_manager.getGameOver(), key == qm::Keyboard::Q)
            << p_handler->getType() << " key " << key << " action " << action;
      }
    }
  }
  qm::WorldManager::getInstance().update();
  EXPECT_EQ(worldCount(), 2);
  // Only the pointer's moves are the platform's to handle.
  qm::EventMouse click;
  click.setMouseAction(qm::CLICKED);
  EXPECT_EQ(handlers[1]->eventHandler(&click), 0);
}

TEST_F(Arena, PowerUpFallsFromRowThreeOfTheArenaAndGoesWhenOut) {
  PowerUp *p_power_up = new PowerUp;
  EXPECT_EQ(p_power_up->getPosition().getY(), 3.0f);
  EXPECT_GE(p_power_up->getPosition().getX(), 0.0f);
  EXPECT_LE(p_power_up->getPosition().getX(), 76.0f);
  EXPECT_EQ(xy(p_power_up->getVelocity()), XY(0, 0.25f));
  const qm::EventOut out;
  EXPECT_EQ(p_power_up->eventHandler(&out), 1);
  qm::WorldManager::getInstance().update();
  EXPECT_EQ(countOf("PowerUp"), 0);
}

TEST_F(Arena, StartColumnKeepsClearOfTheEdgesAndNeedsAWorldOneCellWide) {
  const struct {
    int r;
    float h, column;
  } cases[] = {{0, 80, 0},   {4, 80, 4},   {5, 80, 4},    {50, 80, 49},     {77, 80, 76},
               {78, 80, 73}, {79, 80, 74}, {130, 80, 49}, {12345, 0.5f, 0}, {12345, 0, 0}};
  for (const auto &c : cases) {
    EXPECT_EQ(startColumn(c.r, c.h), c.column) << c.r << " in " << c.h;
  }
  // Below one cell there is no column to draw from, and no remainder to take.
  qm::WorldManager::getInstance().setBoundary(qm::Box(qm::Vector(), 0.5f, 24));
  EXPECT_EQ(xy((new Ball)->getPosition()), XY(0, 3));
  EXPECT_EQ(xy((new PowerUp)->getPosition()), XY(0, 3));
}

TEST_F(Arena, ScoreOverNinetyNineWinsOnceAtTheNextMultipleOf30Steps) {
  const struct {
    int score;
    std::vector<int> steps;
    bool wins_at_last;
  } cases[] = {{99, {0, 30, 60, 90}, false}, {100, {45, 59, 60}, true}, {150, {0}, true}};
  for (const auto &c : cases) {
    reset();
    (new Points)->setValue(c.score);
    for (size_t i = 0; i < c.steps.size(); i++) {
      step = c.steps[i];
      runPass();
      const bool won = c.wins_at_last && i + 1 == c.steps.size();
      EXPECT_EQ(countOf("Win"), won ? 1 : 0) << c.score << " at step " << c.steps[i];
      // The display goes with everything else, so it cannot win again.
      EXPECT_EQ(countOf("points"), won ? 0 : 1) << c.score << " at step " << c.steps[i];
    }
  }
}

} // namespace
