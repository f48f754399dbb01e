// The end screens' countdown and what it leaves behind: whatever keys arrive
// in whatever pass around an end screen's last step, the world must end every
// pass with something that leads on (a start screen, a game, or an end screen
// still counting down), never two start screens, and Q must still end it.
// Random play across many games is the soak test's.
#include "Ball.h"
#include "EventOut.h"
#include "GameFixture.h"
#include "GameOver.h"
#include "GameStart.h"
#include "InputManager.h"
#include "Platform.h"
#include "ResourceManager.h"
#include "TestSupport.h"
#include "Win.h"
#include "WorldInvariants.h"
#include "endScreens.h"

#include <limits>

namespace {

using qm_test::countOf;
using qm_test::worldCount;

// Two frames, slowdown 2: an end screen stays up for four steps.
constexpr int SCREEN_STEPS = 4;

class EndScreen : public qm_test::GameFixture {
protected:
  void SetUp() override {
    GameFixture::SetUp();
    qm::ResourceManager &resources = qm::ResourceManager::getInstance();
    resources.startUp();
    for (const char *label : {"game_over", "win"}) {
      resources.loadSprite(qm_test::writeFile("end.txt", "2\n1\n1\n2\nred\nA\nB\n"), label);
    }
  }
  void TearDown() override {
    GameFixture::TearDown();
    qm::ResourceManager::getInstance().shutDown();
  }

  // One pass in the loop's order: the step event, the keys, the update.
  void runPass(const std::vector<sf::Event> &input = {}) {
    const qm::EventStep step_event(step++);
    qm::WorldManager::getInstance().onEvent(&step_event);
    for (const sf::Event &window_event : input) {
      qm::InputManager::getInstance().dispatch(window_event);
    }
    qm::WorldManager::getInstance().update();
    expectTheWorldLeadsOn();
  }

  void expectTheWorldLeadsOn() const {
    EXPECT_EQ(qm_test::worldFault(), "") << "step " << step - 1;
  }

  // Runs until no end screen is left, then presses Q, which must end the game
  // whether a start screen or a game is up.
  void expectQToEndTheGame() {
    for (int pass = 0; pass <= SCREEN_STEPS && countOf("GameOver") + countOf("Win") > 0; pass++) {
      runPass();
    }
    runPass({key(sf::Event::KeyPressed, sf::Keyboard::Q)});
    EXPECT_TRUE(qm::GameManager::getInstance().getGameOver());
  }

  static sf::Event key(sf::Event::EventType type, sf::Keyboard::Key code) {
    sf::Event key_event;
    key_event.type = type;
    key_event.key = {code, false, false, false, false};
    return key_event;
  }

  // A game with its ball just lost, or a game just won: the states in which
  // the game-over and the win screen are made.
  static void raiseEndScreen(const std::string &type) {
    GameStart::createGame();
    if (type == "GameOver") {
      const qm::EventOut out;
      qm_test::firstOf("Ball")->eventHandler(&out);
    } else {
      const qm::ObjectList all_objects = qm::WorldManager::getInstance().getAllObjects();
      qm::ObjectListIterator it(&all_objects);
      for (it.first(); !it.isDone(); it.next()) {
        qm::WorldManager::getInstance().markForDelete(it.currentObject());
      }
      new Win;
    }
  }

  int step = 0;
};

TEST_F(EndScreen, PPressedInAnyPassAroundTheEndNeverLeavesADeadWorld) {
  const sf::Event press = key(sf::Event::KeyPressed, sf::Keyboard::P);
  const sf::Event release = key(sf::Event::KeyReleased, sf::Keyboard::P);
  const std::vector<std::vector<sf::Event>> taps = {{press}, {release}, {press, release}};
  for (const std::string type : {"GameOver", "Win"}) {
    for (int first_pass = 0; first_pass <= SCREEN_STEPS + 2; first_pass++) {
      for (const auto &tap : taps) {
        for (const bool every_pass : {false, true}) {
          SCOPED_TRACE(type + " from pass " + std::to_string(first_pass) + " taps " +
                       std::to_string(tap.size()) + (every_pass ? " every pass" : " once"));
          qm_test::resetWorld();
          qm::GameManager::getInstance().setGameOver(false);
          raiseEndScreen(type);
          for (int pass = 0; pass <= SCREEN_STEPS + 3; pass++) {
            const bool tapped = pass == first_pass || (every_pass && pass > first_pass);
            runPass(tapped ? tap : std::vector<sf::Event>{});
          }
          expectQToEndTheGame();
        }
      }
    }
  }
}

TEST_F(EndScreen, TheGameStartedAsTheScreenEndsSurvivesTheClearing) {
  raiseEndScreen("GameOver");
  for (int pass = 0; pass < SCREEN_STEPS - 1; pass++) {
    runPass();
  }
  // The last step brings the start screen back, and P reaches it in the same
  // pass, before the world deletes the game-over screen.
  runPass({key(sf::Event::KeyPressed, sf::Keyboard::P)});
  EXPECT_EQ(countOf("GameOver"), 0);
  EXPECT_EQ(countOf("GameStart"), 0);
  EXPECT_EQ(countOf("Platform"), 1);
  EXPECT_EQ(countOf("Ball"), 1);
  EXPECT_EQ(worldCount(), 8);
}

TEST_F(EndScreen, AWaitingStartScreenIsKeptAndNoSecondIsMade) {
  new GameStart;
  new Platform;
  new Win;
  runPass();
  runPass();
  runPass();
  runPass();
  EXPECT_EQ(countOf("GameStart"), 1);
  EXPECT_EQ(worldCount(), 1);
}

TEST(EndScreenLength, TheLargestSlowdownTheLoaderTakesDoesNotOverflow) {
  qm::ResourceManager &resources = qm::ResourceManager::getInstance();
  resources.startUp();
  const std::string slowdown = std::to_string(std::numeric_limits<int>::max());
  ASSERT_EQ(resources.loadSprite(
                qm_test::writeFile("slow.txt", "3\n1\n1\n" + slowdown + "\nred\nA\nB\nC\n"), "win"),
            0);
  qm::WorldManager::getInstance().startUp();
  Win *p_win = new Win;
  EXPECT_EQ(animationLength(*p_win), std::numeric_limits<int>::max());
  qm::WorldManager::getInstance().shutDown();
  resources.shutDown();
}

} // namespace
