// The end screens' countdown and what it leaves behind: whatever keys arrive
// in whatever pass around an end screen's last step, the world must end every
// pass with something that leads on (a start screen, a game, or an end screen
// still counting down), never two start screens. Random play across many games
// is the soak test's.
#include "endScreens.h"

#include "EventOut.h"
#include "EventView.h"
#include "GameFixture.h"
#include "GameStart.h"
#include "Platform.h"
#include "ResourceManager.h"
#include "Win.h"
#include "WorldInvariants.h"

#include <limits>

namespace {

using qm_test::countOf;
using qm_test::END_SCREEN_STEPS;
using qm_test::key;
using qm_test::worldCount;

class EndScreen : public qm_test::GameFixture {
protected:
  void SetUp() override {
    GameFixture::SetUp();
    qm::ResourceManager::getInstance().startUp();
    qm_test::loadShortEndScreens();
  }
  void TearDown() override {
    GameFixture::TearDown();
    qm::ResourceManager::getInstance().shutDown();
  }

  void runPassLeadingOn(const std::vector<sf::Event> &input = {}) {
    runPass(input);
    EXPECT_EQ(qm_test::worldFault(), "") << "step " << step - 1;
  }

  // A game with its ball just lost, or one that has just won: the game-over
  // or the win screen goes up.
  void raiseEndScreen(const std::string &type) {
    GameStart::createGame();
    if (type == "GameOver") {
      const qm::EventOut out;
      qm_test::firstOf("Ball")->eventHandler(&out);
    } else {
      reachAHundred();
    }
  }
  // The hundredth point, then the pass of a thirtieth step, which wins.
  void reachAHundred() {
    const qm::EventView hundred("Points", 100, false);
    qm::WorldManager::getInstance().onEvent(&hundred);
    step = 0;
    runPassLeadingOn();
  }
};

TEST_F(EndScreen, PPressedInAnyPassAroundTheEndNeverLeavesADeadWorld) {
  const sf::Event press = key(sf::Event::KeyPressed, sf::Keyboard::P);
  const sf::Event release = key(sf::Event::KeyReleased, sf::Keyboard::P);
  const std::vector<std::vector<sf::Event>> taps = {{press}, {release}, {press, release}};
  for (const std::string type : {"GameOver", "Win"}) {
    for (int first_pass = 0; first_pass <= END_SCREEN_STEPS + 2; first_pass++) {
      for (const auto &tap : taps) {
        for (const bool every_pass : {false, true}) {
          SCOPED_TRACE(type + " from pass " + std::to_string(first_pass) + " taps " +
                       std::to_string(tap.size()) + (every_pass ? " every pass" : " once"));
          reset();
          raiseEndScreen(type);
          for (int pass = 0; pass <= END_SCREEN_STEPS + 3; pass++) {
            const bool tapped = pass == first_pass || (every_pass && pass > first_pass);
            runPassLeadingOn(tapped ? tap : std::vector<sf::Event>{});
          }
        }
      }
    }
  }
}

TEST_F(EndScreen, TheGameStartedAsTheScreenEndsSurvivesTheClearing) {
  raiseEndScreen("GameOver");
  for (int pass = 0; pass < END_SCREEN_STEPS - 1; pass++) {
    runPassLeadingOn();
  }
  // The last step brings the start screen back, and P reaches it in the same
  // pass, before the world deletes the game-over screen.
  runPassLeadingOn({key(sf::Event::KeyPressed, sf::Keyboard::P)});
  EXPECT_EQ(countOf("GameOver") + countOf("GameStart"), 0);
  EXPECT_EQ(countOf("Platform") + countOf("Ball"), 2);
  EXPECT_EQ(worldCount(), 8);
}

TEST_F(EndScreen, AWaitingStartScreenIsKeptAndNoSecondIsMade) {
  new GameStart;
  new Platform;
  new Win;
  for (int pass = 0; pass < END_SCREEN_STEPS; pass++) {
    runPassLeadingOn();
  }
  EXPECT_EQ(countOf("GameStart"), 1);
  EXPECT_EQ(worldCount(), 1);
}

// The score display outlives the lost ball, so a late hundredth point still
// wins; the game-over screen goes with the rest and must not take the win along.
TEST_F(EndScreen, AWinWhileTheGameOverScreenIsUpStillLeadsBackToTheStart) {
  raiseEndScreen("GameOver");
  reachAHundred();
  EXPECT_EQ(countOf("Win"), 1);
  EXPECT_EQ(worldCount(), 1);
  for (int pass = 0; pass < END_SCREEN_STEPS; pass++) {
    runPassLeadingOn();
  }
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
