// This binary opens a window: GL drivers are unloaded before the leak check
// runs, so their allocations would show as leaks from "<unknown module>".
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

#include "ViewObject.h"
#include "DisplayManager.h"
#include "EventStep.h"
#include "EventView.h"
#include "Screen.h"
#include "Spy.h"
#include "TestSupport.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using qm::EventView;
using qm::Vector;
using qm::ViewObject;
using qm_test::Screen;

std::string addressOf(const void *p) {
  char text[32];
  snprintf(text, sizeof text, "%p", p);
  return text;
}

// The world is emptied, with an 80 x 24 boundary and view, and the log is empty.
class ViewObjects : public ::testing::Test {
protected:
  void SetUp() override { qm_test::resetWorld(); }
  void TearDown() override { qm::WorldManager::getInstance().shutDown(); }

  ViewObject *makePoints(int value) {
    ViewObject *p_view = new ViewObject;
    p_view->setViewString("Points");
    p_view->setValue(value);
    return p_view;
  }

  void expectAt(const ViewObject *p_view, float x, float y) {
    EXPECT_FLOAT_EQ(p_view->getPosition().getX(), x);
    EXPECT_FLOAT_EQ(p_view->getPosition().getY(), y);
  }
};

TEST_F(ViewObjects, NewOneIsASpectralBorderedLabelAtTheTopCentre) {
  testing::internal::CaptureStdout();
  ViewObject *p_view = new ViewObject;
  fflush(stdout);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

  EXPECT_EQ(p_view->getType(), "ViewObject");
  EXPECT_EQ(p_view->getSolidness(), qm::SPECTRAL);
  EXPECT_EQ(p_view->getAltitude(), qm::MAX_ALTITUDE);
  EXPECT_EQ(p_view->getViewString(), "");
  EXPECT_EQ(p_view->getValue(), 0);
  EXPECT_TRUE(p_view->getDrawValue());
  EXPECT_TRUE(p_view->getBorder());
  EXPECT_EQ(p_view->getColor(), qm::WHITE);
  EXPECT_EQ(p_view->getLocation(), qm::TOP_CENTER);
  expectAt(p_view, 40, 1);
  EXPECT_EQ(qm_test::readLog(), "");
}

TEST_F(ViewObjects, NinePlacesOnAnEightyByTwentyFourView) {
  ViewObject *p_view = new ViewObject;
  const struct {
    qm::ViewObjectLocation location;
    float x;
    float y;
  } places[] = {
      {qm::TOP_LEFT, 80.0f / 6, 1},       {qm::TOP_CENTER, 40, 1},
      {qm::TOP_RIGHT, 400.0f / 6, 1},     {qm::CENTER_LEFT, 80.0f / 6, 12},
      {qm::CENTER_CENTER, 40, 12},        {qm::CENTER_RIGHT, 400.0f / 6, 12},
      {qm::BOTTOM_LEFT, 80.0f / 6, 22},   {qm::BOTTOM_CENTER, 40, 22},
      {qm::BOTTOM_RIGHT, 400.0f / 6, 22},
  };
  for (const auto &place : places) {
    p_view->setLocation(place.location);
    EXPECT_EQ(p_view->getLocation(), place.location);
    expectAt(p_view, place.x, place.y);
  }
}

TEST_F(ViewObjects, PlacesFollowTheViewSize) {
  qm::WorldManager::getInstance().setView(qm::Box(Vector(0, 0), 40, 10));
  ViewObject *p_view = new ViewObject;

  p_view->setLocation(qm::BOTTOM_RIGHT);

  expectAt(p_view, 200.0f / 6, 8);
}

TEST_F(ViewObjects, WithoutBorderTopAndBottomMoveIntoTheFrameRows) {
  ViewObject *p_top = new ViewObject;
  p_top->setLocation(qm::TOP_RIGHT);
  ViewObject *p_bottom = new ViewObject;
  p_bottom->setLocation(qm::BOTTOM_LEFT);
  ViewObject *p_centre = new ViewObject;
  p_centre->setLocation(qm::CENTER_CENTER);

  for (ViewObject *p_view : {p_top, p_bottom, p_centre}) {
    p_view->setBorder(false);
    EXPECT_FALSE(p_view->getBorder());
  }
  expectAt(p_top, 400.0f / 6, 0);
  expectAt(p_bottom, 80.0f / 6, 23);
  expectAt(p_centre, 40, 12);

  p_top->setBorder(true);
  expectAt(p_top, 400.0f / 6, 1);
}

TEST_F(ViewObjects, SettingTheSameBorderDoesNotReplace) {
  ViewObject *p_view = new ViewObject;
  p_view->setPosition(Vector(3, 3));

  p_view->setBorder(true);

  expectAt(p_view, 3, 3);
}

TEST_F(ViewObjects, UndefinedLocationIsReportedAndChangesNothing) {
  ViewObject *p_view = new ViewObject;
  p_view->setLocation(qm::BOTTOM_LEFT);

  testing::internal::CaptureStdout();
  p_view->setLocation(qm::UNDEFINED);
  fflush(stdout);

  EXPECT_EQ(testing::internal::GetCapturedStdout(), "ViewObject " + addressOf(p_view) + "\n");
  EXPECT_EQ(qm_test::readLog(), "Message : WARNING! Undefined ViewObject location given\n");
  EXPECT_EQ(p_view->getLocation(), qm::BOTTOM_LEFT);
  expectAt(p_view, 80.0f / 6, 22);
}

TEST_F(ViewObjects, OutOfRangeLocationIsLoggedAndChangesNothing) {
  ViewObject *p_view = new ViewObject;

  testing::internal::CaptureStdout();
  p_view->setLocation(static_cast<qm::ViewObjectLocation>(9));
  fflush(stdout);

  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(qm_test::readLog(), "Message : WARNING! No ViewObject location given\n"
                                "Message : ViewObject " +
                                    addressOf(p_view) + "\n");
  EXPECT_EQ(p_view->getLocation(), qm::TOP_CENTER);
  expectAt(p_view, 40, 1);
}

TEST(EventView, DefaultTagIsTheTypeString) {
  const EventView event;
  EXPECT_EQ(event.getType(), "qm :: view");
  EXPECT_EQ(event.getTag(), "qm :: view");
  EXPECT_EQ(event.getValue(), 0);
  EXPECT_FALSE(event.getDelta());

  const EventView points("Points", -2, true);
  EXPECT_EQ(points.getType(), "qm :: view");
  EXPECT_EQ(points.getTag(), "Points");
  EXPECT_EQ(points.getValue(), -2);
  EXPECT_TRUE(points.getDelta());
}

TEST_F(ViewObjects, ViewEventAddsOrSetsTheNumber) {
  ViewObject *p_view = makePoints(5);

  const EventView add_one("Points", 1, true);
  EXPECT_EQ(p_view->eventHandler(&add_one), 1);
  EXPECT_EQ(p_view->getValue(), 6);

  const EventView set_one("Points", 1, false);
  EXPECT_EQ(p_view->eventHandler(&set_one), 1);
  EXPECT_EQ(p_view->getValue(), 1);

  const EventView set_minus_two("Points", -2, false);
  EXPECT_EQ(p_view->eventHandler(&set_minus_two), 1);
  EXPECT_EQ(p_view->getValue(), -2);
}

TEST_F(ViewObjects, OtherTagsAndOtherEventsAreIgnored) {
  ViewObject *p_view = makePoints(5);

  const EventView lower_case("points", 1, true);
  EXPECT_EQ(p_view->eventHandler(&lower_case), 0);
  const qm::EventStep step(3);
  EXPECT_EQ(p_view->eventHandler(&step), 0);
  // An event that only claims the view type carries no tag or value to use.
  qm::Event impostor;
  impostor.setType(qm::VIEW_EVENT);
  EXPECT_EQ(p_view->eventHandler(&impostor), 0);

  EXPECT_EQ(p_view->getValue(), 5);
}

TEST_F(ViewObjects, BroadcastReachesOnlyTheTaggedObjects) {
  ViewObject *p_points = makePoints(5);
  ViewObject *p_lives = new ViewObject;
  p_lives->setViewString("Lives");
  p_lives->setValue(3);

  const EventView add_two("Points", 2, true);
  qm::WorldManager::getInstance().onEvent(&add_two);

  EXPECT_EQ(p_points->getValue(), 7);
  EXPECT_EQ(p_lives->getValue(), 3);
}

// Drawing needs the window; each test starts on a black back buffer.
class ViewObjectDrawing : public ViewObjects {
protected:
  void SetUp() override {
    ViewObjects::SetUp();
    std::filesystem::copy_file(qm_test::sourcePath("qm-font.ttf"), qm::FONT_FILE_DEFAULT,
                               std::filesystem::copy_options::overwrite_existing);
    ASSERT_EQ(display.startUp(), 0);
    ASSERT_EQ(display.swapBuffers(), 0);
  }

  ViewObject *makeCentredPoints(int value) {
    ViewObject *p_view = makePoints(value);
    p_view->setLocation(qm::CENTER_CENTER);
    return p_view;
  }

  qm::DisplayManager &display = qm::DisplayManager::getInstance();
};

TEST_F(ViewObjectDrawing, BorderedTextIsFramedAroundTheCentre) {
  ViewObject *p_view = makeCentredPoints(5);
  p_view->setColor(qm::YELLOW);

  EXPECT_EQ(p_view->draw(), 0);

  // " Points 5 " covers columns 35 to 44, the frame 34 to 45; shown from 33.
  const Screen screen = Screen::capture();
  EXPECT_EQ(screen.inkRow(11, 33, 14), ".############.");
  EXPECT_EQ(screen.inkRow(12, 33, 14), ".#.######.#.#.");
  EXPECT_EQ(screen.inkRow(13, 33, 14), ".############.");
  EXPECT_EQ(screen.inkColor(34, 12), sf::Color::Yellow);
  EXPECT_EQ(screen.inkColor(43, 12), sf::Color::Yellow);
}

TEST_F(ViewObjectDrawing, OddLengthTextPutsTheRightBarOneFurther) {
  ViewObject *p_view = makeCentredPoints(12);

  p_view->draw();

  // " Points 12 " covers columns 35 to 45, the frame 34 to 46.
  const Screen screen = Screen::capture();
  EXPECT_EQ(screen.inkRow(11, 33, 15), ".#############.");
  EXPECT_EQ(screen.inkRow(12, 33, 15), ".#.######.##.#.");
}

TEST_F(ViewObjectDrawing, UnborderedTextHasNoFrame) {
  ViewObject *p_view = makeCentredPoints(5);
  p_view->setBorder(false);

  p_view->draw();

  // "Points 5" covers columns 36 to 43.
  const Screen screen = Screen::capture();
  EXPECT_EQ(screen.inkRow(11, 33, 14), "..............");
  EXPECT_EQ(screen.inkRow(12, 33, 14), "...######.#...");
  EXPECT_EQ(screen.inkRow(13, 33, 14), "..............");
}

TEST_F(ViewObjectDrawing, ValueIsShownWhateverTheDrawValueFlag) {
  ViewObject *p_view = makeCentredPoints(5);
  p_view->setDrawValue(false);

  p_view->draw();

  EXPECT_FALSE(p_view->getDrawValue());
  EXPECT_TRUE(Screen::capture().hasInk(43, 12));
}

} // namespace
