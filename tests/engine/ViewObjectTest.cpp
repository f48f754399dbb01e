// View objects: their nine places on the view, their answer to view events,
// and their text and frame on the screen.
#include "ViewObject.h"

#include "DisplayManager.h"
#include "EventView.h"
#include "Screen.h"
#include "Spy.h"
#include "TestSupport.h"
#include "WorldManager.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

using qm_test::XY;
using Rows = std::vector<std::string>;

// A new view object in an emptied world with an 80 x 24 boundary and view,
// and an empty log.
class ViewObjectPlace : public ::testing::Test {
protected:
  void SetUp() override {
    qm_test::resetWorld();
    p_view = new qm::ViewObject;
  }
  void TearDown() override { qm::WorldManager::getInstance().shutDown(); }

  XY position() const { return qm_test::xy(p_view->getPosition()); }

  qm::ViewObject *p_view = nullptr;
};

TEST_F(ViewObjectPlace, TakeNinePlacesOnTheViewAndTheFrameRowsWithoutBorder) {
  EXPECT_EQ(position(), XY(40, 1));
  const std::pair<qm::ViewObjectLocation, XY> places[] = {
      {qm::TOP_LEFT, {13.333333f, 1}},     {qm::TOP_CENTER, {40, 1}},
      {qm::TOP_RIGHT, {66.666664f, 1}},    {qm::CENTER_LEFT, {13.333333f, 12}},
      {qm::CENTER_CENTER, {40, 12}},       {qm::CENTER_RIGHT, {66.666664f, 12}},
      {qm::BOTTOM_LEFT, {13.333333f, 22}}, {qm::BOTTOM_CENTER, {40, 22}},
      {qm::BOTTOM_RIGHT, {66.666664f, 22}}};
  for (const auto &[location, place] : places) {
    p_view->setLocation(location);
    EXPECT_EQ(position(), place) << "location " << location;
  }

  p_view->setBorder(false);
  EXPECT_EQ(position(), XY(66.666664f, 23));
  p_view->setLocation(qm::TOP_LEFT);
  EXPECT_EQ(position(), XY(13.333333f, 0));
  // Setting the border it already has does not place it again.
  p_view->setPosition(qm::Vector(3, 3));
  p_view->setBorder(false);
  EXPECT_EQ(position(), XY(3, 3));
}

TEST_F(ViewObjectPlace, BadLocationsAreReportedAndChangeNothing) {
  p_view->setLocation(qm::BOTTOM_LEFT);
  char address[32];
  snprintf(address, sizeof address, "%p", static_cast<void *>(p_view));
  const std::string object_line = "ViewObject " + std::string(address) + "\n";

  testing::internal::CaptureStdout();
  p_view->setLocation(qm::UNDEFINED);
  p_view->setLocation(static_cast<qm::ViewObjectLocation>(9));
  fflush(stdout);

  EXPECT_EQ(testing::internal::GetCapturedStdout(), object_line);
  EXPECT_EQ(qm_test::readLog(), "Message : WARNING! Undefined ViewObject location given\n"
                                "Message : WARNING! No ViewObject location given\n"
                                "Message : " +
                                    object_line);
  EXPECT_EQ(p_view->getLocation(), qm::BOTTOM_LEFT);
  EXPECT_EQ(position(), XY(13.333333f, 22));
}

TEST_F(ViewObjectPlace, ViewEventWithItsTagAddsOrSetsTheNumber) {
  p_view->setViewString("Points");
  p_view->setValue(5);
  const qm::EventView add_one("Points", 1, true), set_minus_two("Points", -2, false);
  const qm::EventView other_tag("points", 1, true);
  // An event that only claims the view type carries no tag or value to use.
  qm::Event impostor;
  impostor.setType(qm::VIEW_EVENT);

  EXPECT_EQ(p_view->eventHandler(&add_one), 1);
  EXPECT_EQ(p_view->getValue(), 6);
  EXPECT_EQ(p_view->eventHandler(&set_minus_two), 1);
  EXPECT_EQ(p_view->eventHandler(&other_tag), 0);
  EXPECT_EQ(p_view->eventHandler(&impostor), 0);
  EXPECT_EQ(p_view->getValue(), -2);
}

// The display running on a black back buffer, an 80 x 24 view at (0, 0).
class ViewObjectOnScreen : public ::testing::Test {
protected:
  void SetUp() override {
    qm_test::resetWorld();
    ASSERT_EQ(qm_test::startDisplay(), 0);
  }
  void TearDown() override { qm::WorldManager::getInstance().shutDown(); }
  // Rows of ink from (first_col, first_row) of the picture drawn so far; the
  // next picture starts cleared.
  static Rows shown(int first_row, int row_count, int first_col, int col_count) {
    const qm_test::Screen screen = qm_test::Screen::capture();
    qm::DisplayManager::getInstance().swapBuffers();
    Rows ink_rows;
    for (int row = first_row; row < first_row + row_count; row++) {
      ink_rows.push_back(screen.inkRow(row, first_col, col_count));
    }
    return ink_rows;
  }
};

TEST_F(ViewObjectOnScreen, IsFramedForEvenAndOddLengthsAndBareWithoutBorder) {
  auto *p_view = new qm::ViewObject;
  p_view->setViewString("Points");
  p_view->setLocation(qm::CENTER_CENTER);
  p_view->setValue(5);
  p_view->draw();
  // " Points 5 " covers columns 35 to 44, the frame 34 to 45.
  EXPECT_EQ(shown(11, 3, 33, 14), (Rows{".############.", ".#.######.#.#.", ".############."}));
  p_view->setValue(12);
  p_view->draw();
  // " Points 12 " covers columns 35 to 45, the frame 34 to 46.
  EXPECT_EQ(shown(11, 3, 33, 15), (Rows{".#############.", ".#.######.##.#.", ".#############."}));
  p_view->setBorder(false);
  p_view->setDrawValue(false);
  p_view->draw();
  // "Points 12" covers columns 36 to 44; the value shows whatever the flag says.
  EXPECT_EQ(shown(11, 3, 33, 14), (Rows{"..............", "...######.##..", ".............."}));
}

} // namespace
