// Whole games by the thousand, pass by pass in the loop's order and without a
// window, under random input: pointer moves inside and outside the window, P,
// clicks, other keys pressed, held and released, and the ball lost or the
// score taken to the win at random moments. After every pass the world must
// still lead on (WorldInvariants.h); what Q does there is the arena test's.
// QM_SOAK_PASSES sets how many passes run (a few seconds' worth by default),
// QM_SOAK_SEED the input's seed. Leak checking stays on: nothing here opens a
// window or plays a sound.
#include "EventKeyboard.h"
#include "EventMouse.h"
#include "EventOut.h"
#include "EventView.h"
#include "GameStart.h"
#include "LogManager.h"
#include "ResourceManager.h"
#include "WorldInvariants.h"

#include <chrono>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using qm_test::countOf;
using qm_test::END_SCREEN_STEPS;
using qm_test::key;

long fromEnvironment(const char *name, long fallback) {
  const char *value = std::getenv(name);
  return value ? std::atol(value) : fallback;
}

// The objects that Litter saw drawn in the current pass, and those alive.
std::vector<const qm::Object *> drawn_litter;
std::set<const qm::Object *> live_litter;

// A bystander that wanders in and out of the world and asks to be deleted at
// random moments. Its draw checks the world's promise that an object marked
// during the step or the input is deleted in that pass's update and never
// drawn again. The game's own objects get the same check from the address
// sanitizer: drawing one that was deleted is a use after free.
class Litter : public qm::Object {
public:
  explicit Litter(std::mt19937 &init_random) : random(init_random) {
    setType("Litter");
    setSolidness(qm::SOFT);
    setAltitude(static_cast<int>(random() % 5));
    setPosition(qm::Vector(uniform(-5, 85), uniform(-5, 29)));
    setVelocity(qm::Vector(uniform(-1.5f, 1.5f), uniform(-1.5f, 1.5f)));
    live_litter.insert(this);
  }
  ~Litter() override { live_litter.erase(this); }

  int eventHandler(const qm::Event *p_e) override {
    const std::string type = p_e->getType();
    if (type == qm::OUT_EVENT) {
      // Marked during the movement: it may still be drawn in this pass.
      qm::WorldManager::getInstance().markForDelete(this);
    } else if ((type == qm::STEP_EVENT && random() % 40 == 0) ||
               ((type == qm::KEYBOARD_EVENT || type == qm::MSE_EVENT) && random() % 10 == 0)) {
      qm::WorldManager::getInstance().markForDelete(this);
      marked_before_update = true;
    }
    return 1;
  }
  int draw() override {
    drawn_litter.push_back(this);
    return marked_before_update ? -1 : 0;
  }
  bool marked_before_update = false;

private:
  float uniform(float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(random);
  }
  std::mt19937 &random;
};

// A pass's worth of what a player and a window manager send.
class RandomPlayer {
public:
  explicit RandomPlayer(std::mt19937 &init_random) : random(init_random) {}

  std::vector<sf::Event> nextInput() {
    std::vector<sf::Event> input;
    for (int count = static_cast<int>(random() % 4); count > 0; count--) {
      input.push_back(nextEvent());
    }
    if (held_key != sf::Keyboard::Unknown && random() % 20 == 0) {
      input.push_back(key(sf::Event::KeyReleased, held_key));
      held_key = sf::Keyboard::Unknown;
    }
    return input;
  }

private:
  sf::Event nextEvent() {
    sf::Event event;
    // Pixels well past every edge of the 1024 x 768 window.
    const int x = static_cast<int>(random() % 1600) - 300;
    const int y = static_cast<int>(random() % 1200) - 200;
    switch (random() % 8) {
    case 0:
    case 1:
      event.type = sf::Event::MouseMoved;
      event.mouseMove = {x, y};
      return event;
    case 2:
      return key(random() % 2 ? sf::Event::KeyPressed : sf::Event::KeyReleased, sf::Keyboard::P);
    case 3:
      event.type = random() % 2 ? sf::Event::MouseButtonPressed : sf::Event::MouseButtonReleased;
      event.mouseButton = {static_cast<sf::Mouse::Button>(random() % sf::Mouse::ButtonCount), x, y};
      return event;
    case 4:
      // Held until a later pass lets it go.
      if (held_key == sf::Keyboard::Unknown) {
        held_key = anyKey();
      }
      return key(sf::Event::KeyPressed, held_key);
    case 5:
      event.type = sf::Event::TextEntered;
      event.text = {static_cast<sf::Uint32>(random())};
      return event;
    default:
      return key(random() % 2 ? sf::Event::KeyPressed : sf::Event::KeyReleased, anyKey());
    }
  }
  sf::Keyboard::Key anyKey() {
    return static_cast<sf::Keyboard::Key>(
        static_cast<int>(random() % (sf::Keyboard::KeyCount + 1)) - 1);
  }

  std::mt19937 &random;
  sf::Keyboard::Key held_key = sf::Keyboard::Unknown;
};

class Soak : public qm_test::GameFixture {
protected:
  void SetUp() override {
    GameFixture::SetUp();
    qm::ResourceManager &resources = qm::ResourceManager::getInstance();
    resources.startUp();
    // The game's own pieces, so that the ball bounces as it does in play;
    // the start screen has no sprite and the end screens short ones.
    for (const char *name : {"ball", "platform", "corner", "power_up"}) {
      resources.loadSprite(qm_test::sourcePath("Sprites/" + std::string(name) + "_spr.txt"), name);
    }
    resources.loadSprite(qm_test::sourcePath("Sprites/border_top_spr.txt"), "top_border");
    resources.loadSprite(qm_test::sourcePath("Sprites/border_side_spr.txt"), "side_border");
    resources.loadSprite(qm_test::sourcePath("Sprites/platform_long_spr.txt"), "long_platform");
    resources.loadSprite(qm_test::sourcePath("Sprites/platform_short_spr.txt"), "short_platform");
    qm_test::loadShortEndScreens();
    EXPECT_EQ(qm_test::readLog(), "");
    // Without a window every character drawn writes a log line: a million
    // passes would fill the disk.
    qm::LogManager::getInstance().shutDown();
  }
  void TearDown() override {
    GameFixture::TearDown();
    qm::ResourceManager::getInstance().shutDown();
  }

  // One pass in the loop's order, drawing included; what is wrong
  // afterwards, or "".
  std::string playPass(const std::vector<sf::Event> &input) {
    runPass(input);
    drawn_litter.clear();
    qm::WorldManager::getInstance().draw();
    for (const qm::Object *p_drawn : drawn_litter) {
      if (live_litter.count(p_drawn) == 0 ||
          static_cast<const Litter *>(p_drawn)->marked_before_update) {
        return "an object drawn after it was marked or deleted";
      }
    }
    idle_passes = countOf("GameStart") + countOf("Platform") > 0 ? 0 : idle_passes + 1;
    if (idle_passes > END_SCREEN_STEPS + 1) {
      return "an end screen that does not bring the start screen back";
    }
    return qm_test::worldFault();
  }

  // The ball lost, the score taken to the win or a bystander added, now and
  // then; never a second end screen on top of one that is up.
  void disturb(std::mt19937 &random) {
    const auto roll = static_cast<unsigned>(random() % 1000);
    const bool end_screen_up = countOf("GameOver") + countOf("Win") > 0;
    if (roll < 3 && countOf("Ball") == 1 && !end_screen_up) {
      const qm::EventOut out;
      qm_test::firstOf("Ball")->eventHandler(&out);
    } else if (roll < 5 && !end_screen_up) {
      const qm::EventView to_win("Points", 100, false);
      qm::WorldManager::getInstance().onEvent(&to_win);
    } else if (roll < 25 && live_litter.size() < 50) {
      new Litter(random);
    }
  }

  int idle_passes = 0;
  bool disturbing = true;
};

TEST_F(Soak, RandomPlayOverManyGamesKeepsTheWorldSound) {
  const long total_passes = fromEnvironment("QM_SOAK_PASSES", 20000);
  const unsigned seed = static_cast<unsigned>(fromEnvironment("QM_SOAK_SEED", 1));
  std::mt19937 random(seed);
  RandomPlayer player(random);
  const auto started = std::chrono::steady_clock::now();
  long sessions = 0;
  long plays = 0;
  while (step < total_passes) {
    reset();
    qm::LogManager::getInstance().shutDown();
    idle_passes = 0;
    new GameStart;
    // Mostly short sessions; now and then one long enough for the ball's
    // speed-up (after 1485 steps) when nothing ends the play sooner.
    const int game_passes = 30 + static_cast<int>(random() % (random() % 8 ? 400 : 4000));
    disturbing = random() % 4 != 0;
    for (int pass = 0; pass < game_passes; pass++) {
      const bool was_playing = countOf("Platform") == 1;
      if (disturbing) {
        disturb(random);
      }
      ASSERT_EQ(playPass(player.nextInput()), "") << "step " << step - 1 << ", seed " << seed;
      plays += !was_playing && countOf("Platform") == 1;
    }
    sessions++;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  RecordProperty("passes", step);
  RecordProperty("sessions", static_cast<int>(sessions));
  printf("%d passes, %ld sessions, %ld games played in them, %.1f s\n", step, sessions, plays,
         seconds);
}

} // namespace
