// Moth: the smallest whole game on the Quillmoth engine. The arrow keys fly a
// moth around the screen, a counter in the corner shows how many moves were
// made, and Q or Escape ends the game.
// Usage: moth [PASSES]; with PASSES the game also ends by itself after that
// many passes of the loop (about 30 a second), which lets a test run it.

#include <quillmoth/EventKeyboard.h>
#include <quillmoth/EventStep.h>
#include <quillmoth/EventView.h>
#include <quillmoth/GameManager.h>
#include <quillmoth/ResourceManager.h>
#include <quillmoth/ViewObject.h>
#include <quillmoth/WorldManager.h>

#include <cstdio>
#include <cstdlib>

constexpr float MOTH_SPEED = 0.5; // cells per pass

class Moth : public qm::Object {
public:
  explicit Moth(int pass_limit) : pass_limit(pass_limit) {
    setType("Moth");
    setSprite("moth");
    setPosition(qm::Vector(40, 12));
  }

  // Every object hears every event; the moth answers keys and steps.
  int eventHandler(const qm::Event *p_e) override {
    if (p_e->getType() == qm::KEYBOARD_EVENT) {
      return key(static_cast<const qm::EventKeyboard *>(p_e));
    }
    if (p_e->getType() == qm::STEP_EVENT) {
      return step(static_cast<const qm::EventStep *>(p_e)->getStepCount());
    }
    return 0;
  }

private:
  // A key gives one press when it goes down and one release when it comes
  // up: the moth flies while an arrow is held.
  int key(const qm::EventKeyboard *p_key) {
    if (p_key->getKeyboardAction() == qm::KEY_RELEASED) {
      setVelocity(qm::Vector(0, 0));
      return 1;
    }
    switch (p_key->getKey()) {
    case qm::Keyboard::LEFTARROW:
      setVelocity(qm::Vector(-MOTH_SPEED, 0));
      break;
    case qm::Keyboard::RIGHTARROW:
      setVelocity(qm::Vector(MOTH_SPEED, 0));
      break;
    case qm::Keyboard::UPARROW:
      setVelocity(qm::Vector(0, -MOTH_SPEED));
      break;
    case qm::Keyboard::DOWNARROW:
      setVelocity(qm::Vector(0, MOTH_SPEED));
      break;
    case qm::Keyboard::Q:
    case qm::Keyboard::ESCAPE:
      qm::GameManager::getInstance().setGameOver(true);
      return 1;
    default:
      return 0;
    }
    // The counter is a view object showing "Moves": a view event with that
    // tag adds 1 to its number.
    qm::EventView moved("Moves", 1, true);
    qm::WorldManager::getInstance().onEvent(&moved);
    return 1;
  }

  // The step event comes before the world moves anything in a pass, so this
  // is the place to stop the moth at the edge of the screen.
  int step(int step_count) {
    const qm::Vector next = predictPosition();
    const qm::Box world = qm::WorldManager::getInstance().getBoundary();
    if (next.getX() < 1 || next.getX() > world.getHorizontal() - 2 || next.getY() < 1 ||
        next.getY() > world.getVertical() - 2) {
      setVelocity(qm::Vector(0, 0));
    }
    if (pass_limit > 0 && step_count + 1 >= pass_limit) {
      qm::GameManager::getInstance().setGameOver(true);
    }
    return 1;
  }

  int pass_limit;
};

int main(int argc, char **argv) {
  const int pass_limit = argc > 1 ? std::atoi(argv[1]) : 0;

  // Starts the log, the world, the window, the input and the resources.
  qm::GameManager &game_manager = qm::GameManager::getInstance();
  if (game_manager.startUp() != 0) {
    game_manager.shutDown();
    std::fprintf(stderr, "moth: could not start the engine; see quillmoth.log\n");
    return 1;
  }
  qm::ResourceManager::getInstance().loadSprite("moth_spr.txt", "moth");

  // Objects are made with new and belong to the world from then on.
  qm::ViewObject *p_counter = new qm::ViewObject;
  p_counter->setLocation(qm::TOP_LEFT);
  p_counter->setViewString("Moves");
  Moth *p_moth = new Moth(pass_limit);

  game_manager.run();
  std::printf("moth: ended at %.1f,%.1f after %d moves\n", p_moth->getPosition().getX(),
              p_moth->getPosition().getY(), p_counter->getValue());
  // Stops every manager; the world deletes the moth and the counter.
  game_manager.shutDown();
  return 0;
}
