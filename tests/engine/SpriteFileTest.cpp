#include "ResourceManager.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

// The resource manager holds its sound and music slots in place, so building
// it opens the audio device. The audio and GL drivers are unloaded before the
// leak check runs, and what they still hold then shows as leaks from
// "<unknown module>" that no suppression can name; leak checking is off for
// this binary only.
extern "C" const char *__asan_default_options() {
  return "detect_leaks=0";
}

using qm_test::writeFile;

namespace {

// Every test starts with an empty sprite list and an empty log.
class SpriteFile : public ::testing::Test {
protected:
  void SetUp() override {
    qm_test::restartLog();
    resources().shutDown();
    resources().startUp();
  }
  void TearDown() override { resources().shutDown(); }

  static qm::ResourceManager &resources() { return qm::ResourceManager::getInstance(); }

  // Loads the text as a sprite file under the label.
  static int load(const std::string &text, const std::string &label) {
    return resources().loadSprite(writeFile("sprite.txt", text), label);
  }

  // Fills the list up with copies of a one-frame sprite and returns how many
  // fitted, which is the number of free entries the list had.
  static int fillList() {
    writeFile("filler.txt", "1\n1\n1\n1\nred\n#\n");
    int loaded = 0;
    while (loaded <= qm::MAX_SPRITES && resources().loadSprite("filler.txt", "filler") == 0) {
      loaded++;
    }
    return loaded;
  }
};

TEST_F(SpriteFile, HeaderAndRowsMakeTheSprite) {
  ASSERT_EQ(load("2\n3\n1\n4\nblue\nabc\ndef\n", "pair"), 0);
  const qm::Sprite *p_sprite = resources().getSprite("pair");
  ASSERT_NE(p_sprite, nullptr);
  EXPECT_EQ(p_sprite->getLabel(), "pair");
  EXPECT_EQ(p_sprite->getFrameCount(), 2);
  EXPECT_EQ(p_sprite->getWidth(), 3);
  EXPECT_EQ(p_sprite->getHeight(), 1);
  EXPECT_EQ(p_sprite->getSlowdown(), 4);
  EXPECT_EQ(p_sprite->getColor(), qm::BLUE);
  EXPECT_EQ(p_sprite->getFrame(0).getString(), "abc");
  EXPECT_EQ(p_sprite->getFrame(1).getString(), "def");
  EXPECT_EQ(p_sprite->getFrame(1).getWidth(), 3);
  EXPECT_EQ(qm_test::readLog(), "");
}

TEST_F(SpriteFile, RowsJoinTopToBottomAndBlanksAreCharacters) {
  ASSERT_EQ(load("1\n2\n3\n1\nwhite\n a\nb \n  ", "blank"), 0);
  const qm::Sprite *p_sprite = resources().getSprite("blank");
  ASSERT_NE(p_sprite, nullptr);
  EXPECT_EQ(p_sprite->getFrame(0).getString(), " ab   ");
  EXPECT_EQ(p_sprite->getFrame(0).getHeight(), 3);
}

TEST_F(SpriteFile, HeaderNumbersReadLikeAtoi) {
  ASSERT_EQ(load("  1 frame\n+2x\n1\n\t-3\ngreen\nab\n", "numbers"), 0);
  const qm::Sprite *p_sprite = resources().getSprite("numbers");
  ASSERT_NE(p_sprite, nullptr);
  EXPECT_EQ(p_sprite->getFrameCount(), 1);
  EXPECT_EQ(p_sprite->getWidth(), 2);
  EXPECT_EQ(p_sprite->getSlowdown(), -3);

  // A line without a number reads as 0.
  ASSERT_EQ(load("frames\n3\n1\nslow\nred\n", "none"), 0);
  EXPECT_EQ(resources().getSprite("none")->getFrameCount(), 0);
  EXPECT_EQ(resources().getSprite("none")->getSlowdown(), 0);
}

TEST_F(SpriteFile, EveryColourNameIsKnown) {
  const std::pair<const char *, qm::Color> names[] = {
      {"black", qm::BLACK}, {"red", qm::RED},         {"green", qm::GREEN}, {"yellow", qm::YELLOW},
      {"blue", qm::BLUE},   {"magenta", qm::MAGENTA}, {"cyan", qm::CYAN},   {"white", qm::WHITE}};
  for (const auto &[name, color] : names) {
    ASSERT_EQ(load(std::string("1\n1\n1\n1\n") + name + "\n#\n", name), 0) << name;
    EXPECT_EQ(resources().getSprite(name)->getColor(), color) << name;
  }
}

TEST_F(SpriteFile, CarriageReturnsAndCapitalsAreUnknownColours) {
  EXPECT_EQ(load("1\r\n1\r\n1\r\n1\r\nred\r\n#\r\n", "crlf"), -1);
  EXPECT_EQ(load("1\n1\n1\n1\nRed\n#\n", "capital"), -1);
  EXPECT_EQ(load("1\n1\n1\n1\n red\n#\n", "blank"), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Line 5: Unknown Color\n"
                                "Message : Error! Line 5: Unknown Color\n"
                                "Message : Error! Line 5: Unknown Color\n");
  EXPECT_EQ(fillList(), qm::MAX_SPRITES);
}

TEST_F(SpriteFile, ShortRowIsReportedWithItsLineNumber) {
  EXPECT_EQ(load("1\n3\n2\n1\nred\nabc\nab\n", "short"), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Line 7: width 2, expected 3\n");
  EXPECT_EQ(resources().getSprite("short"), nullptr);
}

TEST_F(SpriteFile, LongRowInALaterFrameIsReportedWithItsLineNumber) {
  EXPECT_EQ(load("2\n2\n2\n1\nred\nab\ncd\nabc\nef\n", "long"), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Line 8: width 3, expected 2\n");
  EXPECT_EQ(fillList(), qm::MAX_SPRITES);
}

TEST_F(SpriteFile, CarriageReturnInARowCountsToItsWidth) {
  EXPECT_EQ(load("1\n2\n1\n1\nred\nab\r\n", "cr"), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Line 6: width 3, expected 2\n");
}

TEST_F(SpriteFile, FileEndingEarlyFailsAtTheFirstMissingRow) {
  EXPECT_EQ(load("2\n3\n1\n1\nred\nabc", "early"), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Line 7: width 0, expected 3\n");
}

TEST_F(SpriteFile, LinesAfterTheLastRowAreNotRead) {
  ASSERT_EQ(load("1\n2\n1\n1\ncyan\nab\nthis line is too long\n\n", "tail"), 0);
  EXPECT_EQ(resources().getSprite("tail")->getFrameCount(), 1);
  EXPECT_EQ(qm_test::readLog(), "");
}

TEST_F(SpriteFile, UnallocatableFrameCountIsRefusedAtLineOne) {
  // The colour line is wrong as well: the load stops before reading it.
  EXPECT_EQ(load("-1\n1\n1\n1\nRed\n", "negative"), -1);
  EXPECT_EQ(load("99999999999\n1\n1\n1\nRed\n", "huge"), -1);
  EXPECT_EQ(qm_test::readLog(),
            "Message : Error! Line 1: frame count -1, expected 0 to 10000\n"
            "Message : Error! Line 1: frame count 2147483647, expected 0 to 10000\n");
  EXPECT_EQ(fillList(), qm::MAX_SPRITES);
}

TEST_F(SpriteFile, ZeroWidthWithEndlessRowsEndsAtTheEndOfTheFile) {
  // Missing rows read as empty, which fits a width of 0: the load must not go
  // on reading rows that are not there.
  ASSERT_EQ(load("10000\n0\n2000000000\n1\nred\n\n\n", "endless"), 0);
  const qm::Sprite *p_sprite = resources().getSprite("endless");
  ASSERT_NE(p_sprite, nullptr);
  EXPECT_EQ(p_sprite->getFrameCount(), 10000);
  EXPECT_EQ(p_sprite->getFrame(9999).getHeight(), 2000000000);
  EXPECT_EQ(p_sprite->getFrame(9999).getString(), "");
}

TEST_F(SpriteFile, MissingFileIsReported) {
  EXPECT_EQ(resources().loadSprite("no-such-sprite.txt", "missing"), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Failed to Open File\n");
}

TEST_F(SpriteFile, FullListRefusesWithoutOpeningTheFile) {
  EXPECT_EQ(fillList(), qm::MAX_SPRITES);
  qm_test::restartLog();
  EXPECT_EQ(load("1\n1\n1\n1\nred\n#\n", "one-more"), -1);
  EXPECT_EQ(resources().loadSprite("no-such-sprite.txt", "missing"), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Max Sprites Reached, Cannot Add More\n"
                                "Message : Error! Max Sprites Reached, Cannot Add More\n");
}

TEST_F(SpriteFile, SharedLabelFindsAndUnloadsTheEarliestFirst) {
  ASSERT_EQ(load("1\n1\n1\n1\nred\n#\n", "twin"), 0);
  ASSERT_EQ(load("1\n2\n1\n1\nred\n##\n", "twin"), 0);
  EXPECT_EQ(resources().getSprite("twin")->getWidth(), 1);
  EXPECT_EQ(resources().unloadSprite("twin"), 0);
  ASSERT_NE(resources().getSprite("twin"), nullptr);
  EXPECT_EQ(resources().getSprite("twin")->getWidth(), 2);
  EXPECT_EQ(resources().unloadSprite("twin"), 0);
  EXPECT_EQ(resources().getSprite("twin"), nullptr);
}

TEST_F(SpriteFile, UnloadingFromTheMiddleKeepsTheOrderAndFreesAnEntry) {
  ASSERT_EQ(load("1\n1\n1\n1\nred\n#\n", "same"), 0);
  ASSERT_EQ(load("1\n1\n1\n1\nred\n#\n", "middle"), 0);
  ASSERT_EQ(load("1\n3\n1\n1\nred\n###\n", "same"), 0);
  const qm::Sprite *p_last = resources().getSprite("same");

  EXPECT_EQ(resources().unloadSprite("middle"), 0);
  EXPECT_EQ(resources().getSprite("middle"), nullptr);
  EXPECT_EQ(resources().getSprite("same"), p_last);
  EXPECT_EQ(resources().getSprite("same")->getWidth(), 1);
  EXPECT_EQ(fillList(), qm::MAX_SPRITES - 2);
}

TEST_F(SpriteFile, UnknownLabelIsReportedOnUnloadButNotOnLookup) {
  EXPECT_EQ(resources().getSprite("nobody"), nullptr);
  EXPECT_EQ(qm_test::readLog(), "");
  EXPECT_EQ(resources().unloadSprite("nobody"), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Sprite to unload does not exist\n");
}

TEST_F(SpriteFile, ShutDownEmptiesTheList) {
  ASSERT_EQ(load("1\n1\n1\n1\nred\n#\n", "gone"), 0);
  resources().shutDown();
  EXPECT_EQ(resources().getSprite("gone"), nullptr);
  EXPECT_EQ(resources().startUp(), 0);
  EXPECT_EQ(fillList(), qm::MAX_SPRITES);
}

TEST_F(SpriteFile, SecondStartUpKeepsTheLoadedSprites) {
  ASSERT_EQ(load("1\n1\n1\n1\nred\n#\n", "kept"), 0);
  EXPECT_EQ(resources().startUp(), -1);
  EXPECT_NE(resources().getSprite("kept"), nullptr);
}

} // namespace
