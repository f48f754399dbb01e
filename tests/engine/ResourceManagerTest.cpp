// The resource manager's tables of sprites, sounds and music: what each holds, finds
// and refuses, with the exact log lines.
#include "ResourceManager.h"

#include "TestSupport.h"
#include "Wav.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// Every test starts with an empty sprite list and an empty log. Sound and
// music slots are never reset, so one test has each table to itself.
class Resources : public ::testing::Test {
protected:
  void SetUp() override {
    resources.shutDown();
    resources.startUp();
    qm_test::restartLog();
  }
  int load(const std::string &sprite_text, const std::string &label) {
    return resources.loadSprite(qm_test::writeFile("sprite.txt", sprite_text), label);
  }
  qm::ResourceManager &resources = qm::ResourceManager::getInstance();
};

TEST_F(Resources, LoadedSpritesKeepTheirOrderAndAreFoundAndUnloadedEarliestFirst) {
  // Header numbers read like atoi; the line after the last row is too long.
  ASSERT_EQ(load("2 frames\n+3x\n2\n\t-4\nblue\nabc\ndef\nghi\njkl\ntoo long\n", "pair"), 0);
  const qm::Sprite *p_sprite = resources.getSprite("pair");
  ASSERT_NE(p_sprite, nullptr);
  EXPECT_EQ(std::make_tuple(p_sprite->getFrameCount(), p_sprite->getWidth(), p_sprite->getHeight(),
                            p_sprite->getSlowdown(), p_sprite->getColor()),
            std::make_tuple(2, 3, 2, -4, qm::BLUE));
  EXPECT_EQ(p_sprite->getFrame(1).getString(), "ghijkl");
  // Missing rows read as empty and fit a width of 0: the load must stop at the
  // end of the file, not read two billion rows.
  ASSERT_EQ(load("10000\n0\n2000000000\n1\nred\n\n", "endless"), 0);
  EXPECT_EQ(resources.getSprite("endless")->getFrame(9999).getHeight(), 2000000000);

  ASSERT_EQ(load("1\n1\n1\n1\nred\n#\n", "twin"), 0);
  ASSERT_EQ(load("1\n2\n1\n1\nred\n##\n", "twin"), 0);
  EXPECT_EQ(qm_test::readLog(), "");
  // A removal that moved the last entry into the gap would put it first.
  EXPECT_EQ(resources.unloadSprite("endless"), 0);
  EXPECT_EQ(resources.getSprite("twin")->getWidth(), 1);
  EXPECT_EQ(resources.unloadSprite("twin"), 0);
  EXPECT_EQ(resources.getSprite("twin")->getWidth(), 2);
  EXPECT_EQ(resources.unloadSprite("nobody"), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Sprite to unload does not exist\n");
  // A second start while running must not free sprites that objects draw.
  EXPECT_EQ(resources.startUp(), -1);
  EXPECT_NE(resources.getSprite("twin"), nullptr);
}

TEST_F(Resources, SpriteFileFailuresAreReportedAndAddNothing) {
  // The frame count is refused before the colour line is read.
  const std::pair<std::string, const char *> failures[] = {
      {"1\r\n1\r\n1\r\n1\r\nred\r\n#\r\n", "Line 5: Unknown Color"},
      {"1\n1\n1\n1\nRed\n#\n", "Line 5: Unknown Color"},
      {"", "Line 5: Unknown Color"},
      {"1\n1\n1\n1\n", "Line 5: Unknown Color"},
      {std::string("1\n1\n1\n1\nred\0\n#\n", 15), "Line 5: Unknown Color"},
      {"1\n3\n2\n1\nred\nabc\nab\n", "Line 7: width 2, expected 3"},
      {"1\n3\n1\n1\nred\nabcd\n", "Line 6: width 4, expected 3"},
      {"2\n2\n2\n1\nred\nab\ncd\nabc\nef\n", "Line 8: width 3, expected 2"},
      {"1\n2\n1\n1\nred\n" + std::string(4098, '#') + "\n", "Line 6: width 4098, expected 2"},
      {"1\n2\n1\n1\nred\n" + std::string(4099, '#') + "\n",
       "Line 6: width more than 4098, expected 2"},
      {"2\n3\n1\n1\nred\nabc", "Line 7: width 0, expected 3"},
      {"1\n-3\n1\n1\nred\nabc\n", "Line 6: width 3, expected -3"},
      {"1\n2000000000\n1\n1\nred\nabc\n", "Line 6: width 3, expected 2000000000"},
      {"1\n99999999999999999999\n1\n1\nred\n#\n", "Line 6: width 1, expected 2147483647"},
      {"-1\n1\n1\n1\nRed\n", "Line 1: frame count -1, expected 0 to 10000"},
      {"10001\n1\n1\n1\nred\n", "Line 1: frame count 10001, expected 0 to 10000"},
      {"99999999999\n1\n1\n1\nRed\n", "Line 1: frame count 2147483647, expected 0 to 10000"},
      // Lines too long to be what they should are given up on at once.
      {"1\n1\n1\n" + std::string(256, '1'), "Line 4: longer than 255 characters"},
      {"1\n1\n1\n1\nmagentas\n#\n", "Line 5: Unknown Color"}};
  std::string expected_log;
  for (const auto &[sprite_text, message] : failures) {
    EXPECT_EQ(load(sprite_text, "bad"), -1) << sprite_text;
    EXPECT_EQ(resources.getSprite("bad"), nullptr) << sprite_text;
    expected_log += std::string("Message : Error! ") + message + "\n";
  }
  EXPECT_EQ(resources.loadSprite("no-such-sprite.txt", "bad"), -1);
  // None of them took an entry: five hundred still fit.
  for (int i = 0; i < qm::MAX_SPRITES; i++) {
    ASSERT_EQ(load("1\n1\n1\n1\nred\n#\n", "filler"), 0) << i;
  }
  EXPECT_EQ(load("1\n1\n1\n1\nred\n#\n", "bad"), -1);
  EXPECT_EQ(qm_test::readLog(), expected_log +
                                    "Message : Error! Failed to Open File\n"
                                    "Message : Error! Max Sprites Reached, Cannot Add More\n");
}

// What stands where a data file should be may be no file at all, or one
// without an end to its first line: each loader gives up at once, a pipe
// without a writer included, and the game goes on.
TEST_F(Resources, FoldersPipesDevicesAndEndlessLinesAreRefusedAtOnce) {
  std::string dir_template = std::filesystem::temp_directory_path() / "qm-odd-files.XXXXXX";
  ASSERT_NE(mkdtemp(dir_template.data()), nullptr);
  const std::filesystem::path dir = dir_template;
  std::filesystem::create_directory(dir / "folder.wav");
  ASSERT_EQ(mkfifo((dir / "pipe.wav").c_str(), 0600), 0);
  std::string expected_log;
  const std::string odd_files[] = {dir / "folder.wav", dir / "pipe.wav", "/dev/zero"};
  for (const std::string &filename : odd_files) {
    EXPECT_EQ(resources.loadSprite(filename, "odd"), -1) << filename;
    EXPECT_EQ(resources.loadSound(filename, "odd"), -1) << filename;
    EXPECT_EQ(resources.loadMusic(filename, "odd"), -1) << filename;
    expected_log += "Message : Error! Failed to Open File\n"
                    "Message : Error! Fail to load sound\n"
                    "Message : Error! Unable to load from file\n"
                    "Message : Error! Fail to open Music file\n"
                    "Message : Error! Unable to load from file\n";
  }
  // Sparse: a hundred megabytes of zero bytes that take no room on the disk.
  const std::filesystem::path huge = dir / "huge.txt";
  std::ofstream(huge).close();
  std::filesystem::resize_file(huge, 100 * 1000 * 1000);
  EXPECT_EQ(resources.loadSprite(huge, "odd"), -1);
  std::filesystem::remove_all(dir);
  EXPECT_EQ(qm_test::readLog(),
            expected_log + "Message : Error! Line 1: longer than 255 characters\n");
  EXPECT_EQ(std::make_tuple(resources.getSprite("odd"), resources.getSound("odd"),
                            resources.getMusic("odd")),
            std::make_tuple(nullptr, nullptr, nullptr));
}

TEST_F(Resources, OddButReadableSpriteFilesLoadAsTheirHeadersSay) {
  struct Odd {
    std::string sprite_text;
    int frames, width, height, slowdown;
    std::string first_frame;
  };
  const Odd odd_files[] = {
      {"1\n3\n1\n1\nred\nabc", 1, 3, 1, 1, "abc"},
      {std::string("1\n3\n1\n1\nred\na\0c\n", 15), 1, 3, 1, 1, std::string("a\0c", 3)},
      {"0\n5\n5\n1\nblue\n", 0, 5, 5, 1, ""},
      {"1\n-3\n-1\n1\nred\n", 1, -3, -1, 1, ""},
      {"1\n1\n1\n-7\nred\n#\n", 1, 1, 1, -7, "#"},
      {"1\n1\n1\n99999999999999999999\nred\n#\n", 1, 1, 1, INT_MAX, "#"},
      {"1\n1\n1\n" + std::string(255, '1') + "\nred\n#\n", 1, 1, 1, INT_MAX, "#"}};
  for (const Odd &odd : odd_files) {
    ASSERT_EQ(load(odd.sprite_text, "odd"), 0) << odd.sprite_text;
    const qm::Sprite *p_sprite = resources.getSprite("odd");
    EXPECT_EQ(std::make_tuple(p_sprite->getFrameCount(), p_sprite->getWidth(),
                              p_sprite->getHeight(), p_sprite->getSlowdown(),
                              p_sprite->getFrame(0).getString()),
              std::make_tuple(odd.frames, odd.width, odd.height, odd.slowdown, odd.first_frame))
        << odd.sprite_text;
    EXPECT_EQ(resources.unloadSprite("odd"), 0);
  }
  EXPECT_EQ(qm_test::readLog(), "");
}

TEST_F(Resources, SoundTableMovesSoundsDownWithTheirOwnSamplesAndHoldsFifty) {
  EXPECT_EQ(resources.loadSound("no-such-sound.wav", "a"), -1);
  EXPECT_EQ(resources.loadSound(qm_test::writeWav("huge.wav", 100, {1, 0xFFFFFFFF}), "a"), -1);
  for (const auto &[label, samples] : {std::pair{"a", 100}, {"b", 200}, {"c", 300}, {"a", 400}}) {
    ASSERT_EQ(resources.loadSound(qm_test::writeWav(std::to_string(samples), samples), label), 0);
  }
  qm::Sound *p_first = resources.getSound("a");
  EXPECT_EQ(resources.unloadSound("b"), 0);
  EXPECT_EQ(resources.unloadSound("nobody"), 0);
  // Loaded into the slot that the last sound left: a voice still bound to
  // the samples of the slot it was moved from would play the wrong ones, or
  // none once those are replaced.
  ASSERT_EQ(resources.loadSound(qm_test::writeWav("500", 500), "d"), 0);
  std::vector<std::string> table;
  for (const qm::Sound *p_sound = p_first; p_sound != p_first + 4; p_sound++) {
    const sf::SoundBuffer *p_buffer = p_sound->getSound().getBuffer();
    table.push_back(p_sound->getLabel() +
                    (p_buffer ? std::to_string(p_buffer->getSampleCount()) : "-"));
  }
  EXPECT_EQ(table, (std::vector<std::string>{"a100", "c300", "a400", "d500"}));
  // A copy, likewise, plays samples of its own, not those of the original.
  const qm::Sound copy(*p_first);
  EXPECT_NE(copy.getSound().getBuffer(), p_first->getSound().getBuffer());
  EXPECT_EQ(copy.getSound().getBuffer()->getSampleCount(), 100u);

  // The failed load took no slot: forty-six more fit, then the table is full.
  for (int i = 4; i < qm::MAX_SOUNDS; i++) {
    ASSERT_EQ(resources.loadSound("500", "filler"), 0) << i;
  }
  EXPECT_EQ(resources.loadSound("500", "e"), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Fail to load sound\n"
                                "Message : Error! Unable to load from file\n"
                                "Message : Error! Fail to load sound\n"
                                "Message : Error! Unable to load from file\n"
                                "Message : Error! Sound array full\n");
}

TEST_F(Resources, MusicTableHoldsFiftyAndUnloadingClearsTheFirstLabel) {
  const std::string theme = qm_test::writeWav("theme", 44100);
  EXPECT_EQ(resources.loadMusic("no-such-music.wav", "twin"), -1);
  EXPECT_EQ(resources.loadMusic(qm_test::writeWav("wide.wav", 100, {65535}), "twin"), -1);
  EXPECT_EQ(resources.loadMusic(theme, ""), -1);
  ASSERT_EQ(resources.loadMusic(theme, "twin"), 0);
  ASSERT_EQ(resources.loadMusic(theme, "twin"), 0);
  qm::Music *p_first = resources.getMusic("twin");
  EXPECT_EQ(resources.unloadMusic("twin"), 0);
  EXPECT_EQ(resources.unloadMusic("twin"), 0);
  EXPECT_EQ(resources.getMusic("twin"), nullptr);
  EXPECT_EQ(resources.getMusic(""), p_first);
  EXPECT_EQ(resources.unloadMusic("nobody"), -1);

  // Looping, once set, stays on when the track is played again without.
  p_first->play(false);
  EXPECT_FALSE(p_first->getMusic()->getLoop());
  p_first->play(true);
  p_first->play(false);
  EXPECT_TRUE(p_first->getMusic()->getLoop());

  // The refused loads took no slot: forty-eight more fit, then it is full.
  for (int i = 2; i < qm::MAX_MUSICS; i++) {
    ASSERT_EQ(resources.loadMusic(theme, "track"), 0) << i;
  }
  EXPECT_EQ(resources.loadMusic(theme, "one-more"), -1);
  EXPECT_EQ(qm_test::readLog(), "Message : Error! Fail to open Music file\n"
                                "Message : Error! Unable to load from file\n"
                                "Message : Error! Fail to open Music file\n"
                                "Message : Error! Unable to load from file\n"
                                "Message : Error! Cannot have empty string as Music label\n"
                                "Message : Error! Sound array full\n");
}

} // namespace
