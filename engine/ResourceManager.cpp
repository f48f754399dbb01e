#include "ResourceManager.h"

#include "LineReader.h"
#include "LogManager.h"
#include "RegularFile.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <iterator>
#include <utility>

namespace qm {

namespace {

// A header number: leading blanks, an optional sign and the digits up to the
// first other character; 0 without digits. Values beyond an int are clamped,
// so that a damaged file cannot overflow the reading.
int readNumber(const std::string &line) {
  size_t pos = 0;
  while (pos < line.size() && std::isspace(static_cast<unsigned char>(line[pos]))) {
    pos++;
  }
  bool is_negative = false;
  if (pos < line.size() && (line[pos] == '+' || line[pos] == '-')) {
    is_negative = line[pos] == '-';
    pos++;
  }
  long long magnitude = 0;
  while (pos < line.size() && std::isdigit(static_cast<unsigned char>(line[pos]))) {
    if (magnitude <= INT_MAX) {
      magnitude = magnitude * 10 + (line[pos] - '0');
    }
    pos++;
  }
  const long long value = is_negative ? -magnitude : magnitude;
  if (value > INT_MAX) {
    return INT_MAX;
  }
  if (value < INT_MIN) {
    return INT_MIN;
  }
  return static_cast<int>(value);
}

const char *const COLOR_NAMES[] = {"black", "red",     "green", "yellow",
                                   "blue",  "magenta", "cyan",  "white"};
const Color COLORS[] = {BLACK, RED, GREEN, YELLOW, BLUE, MAGENTA, CYAN, WHITE};
static_assert(std::size(COLOR_NAMES) == std::size(COLORS));
// The longest colour name, "magenta": a longer line names no colour.
constexpr std::size_t MAX_COLOR_LINE_LENGTH = 7;

// UNDEFINED_COLOR when the line is not exactly one of the lower-case names.
Color colorFromName(const std::string &name) {
  for (std::size_t i = 0; i < std::size(COLORS); i++) {
    if (name == COLOR_NAMES[i]) {
      return COLORS[i];
    }
  }
  return UNDEFINED_COLOR;
}

// The number on one of header lines 1 to 4; -1 (logged) when the line is
// too long to be one.
int readHeaderNumber(LineReader &reader, int line_number, int &number) {
  std::string line;
  if (reader.readLine(line, MAX_SPRITE_HEADER_LINE_LENGTH) != 0) {
    LogManager::getInstance().writeLog("Error! Line %d: longer than %d characters\n", line_number,
                                       static_cast<int>(MAX_SPRITE_HEADER_LINE_LENGTH));
    return -1;
  }
  number = readNumber(line);
  return 0;
}

// Reads the frame rows that follow the header into the sprite; -1 (logged)
// at the first row whose length is not the width. A row is read no further
// than MAX_SPRITE_ROW_OVERRUN bytes past the width: a longer one is reported
// by that bound rather than by a length that would take reading it whole.
int readFrames(LineReader &reader, Sprite &sprite, int frame_count) {
  const int width = sprite.getWidth();
  const int height = sprite.getHeight();
  const std::size_t max_length =
      (width > 0 ? static_cast<std::size_t>(width) : 0) + MAX_SPRITE_ROW_OVERRUN;
  int line_number = SPRITE_HEADER_LINES;
  std::string line;
  for (int f = 0; f < frame_count; f++) {
    std::string frame_str;
    for (int r = 0; r < height; r++) {
      line_number++;
      if (reader.readLine(line, max_length) != 0) {
        LogManager::getInstance().writeLog("Error! Line %d: width more than %d, expected %d\n",
                                           line_number, static_cast<int>(max_length), width);
        return -1;
      }
      if (static_cast<long long>(line.size()) != width) {
        LogManager::getInstance().writeLog("Error! Line %d: width %d, expected %d\n", line_number,
                                           static_cast<int>(line.size()), width);
        return -1;
      }
      // Only a width of 0 gets here once the file has ended: every row left
      // is empty and fits, so there is nothing more to read. Stopping keeps a
      // header that asks for billions of empty rows from spinning.
      if (reader.isPastEnd()) {
        break;
      }
      frame_str += line;
    }
    sprite.addFrame(Frame(width, height, frame_str));
  }
  return 0;
}

// The position of the first of the count sounds or tracks with the label; -1
// when there is none.
template <typename Resource>
int labelIndex(const Resource *p_slots, int count, const std::string &label) {
  for (int i = 0; i < count; i++) {
    if (p_slots[i].getLabel() == label) {
      return i;
    }
  }
  return -1;
}

} // namespace

ResourceManager::ResourceManager() : m_sprite_count(0), m_sound_count(0), m_music_count(0) {
  setType("ResourceManager");
}

ResourceManager &ResourceManager::getInstance() {
  static ResourceManager resource_manager;
  return resource_manager;
}

int ResourceManager::startUp() {
  // A second start while running must not drop sprites that objects still
  // point at.
  if (!isStarted()) {
    freeSprites();
  }
  if (!m_sound_device_works && !m_silence_reported) {
    m_silence_reported = true;
    LogManager::getInstance().writeLog(
        "Warning: No sound device; sounds and music will not play.\n");
    std::fputs("No sound device: running without sound.\n", stderr);
  }
  return Manager::startUp();
}

void ResourceManager::shutDown() {
  freeSprites();
  Manager::shutDown();
}

int ResourceManager::loadSprite(std::string filename, std::string label) {
  LogManager &log_manager = LogManager::getInstance();
  if (m_sprite_count == MAX_SPRITES) {
    log_manager.writeLog("Error! Max Sprites Reached, Cannot Add More\n");
    return -1;
  }
  RegularFile file;
  if (file.open(filename) != 0) {
    log_manager.writeLog("Error! Failed to Open File\n");
    return -1;
  }
  LineReader reader(file);
  int frame_count = 0;
  if (readHeaderNumber(reader, 1, frame_count) != 0) {
    return -1;
  }
  // Refused before anything else is read: no sprite could hold these frames.
  if (frame_count < 0 || frame_count > MAX_SPRITE_FRAMES) {
    log_manager.writeLog("Error! Line 1: frame count %d, expected 0 to %d\n", frame_count,
                         MAX_SPRITE_FRAMES);
    return -1;
  }
  int width = 0;
  int height = 0;
  int slowdown = 0;
  if (readHeaderNumber(reader, 2, width) != 0 || readHeaderNumber(reader, 3, height) != 0 ||
      readHeaderNumber(reader, 4, slowdown) != 0) {
    return -1;
  }
  // A line too long for any name is cut short, and then names none.
  std::string line;
  reader.readLine(line, MAX_COLOR_LINE_LENGTH);
  const Color color = colorFromName(line);
  if (color == UNDEFINED_COLOR) {
    // The colour is the header's last line.
    log_manager.writeLog("Error! Line 5: Unknown Color\n");
    return -1;
  }

  auto p_sprite = std::make_unique<Sprite>(frame_count);
  p_sprite->setHeight(height);
  p_sprite->setWidth(width);
  p_sprite->setSlowdown(slowdown);
  p_sprite->setColor(color);
  if (readFrames(reader, *p_sprite, frame_count) != 0) {
    return -1;
  }
  p_sprite->setLabel(label);
  m_p_sprite[m_sprite_count] = std::move(p_sprite);
  m_sprite_count++;
  return 0;
}

int ResourceManager::unloadSprite(std::string label) {
  const int index = spriteIndex(label);
  if (index < 0) {
    LogManager::getInstance().writeLog("Error! Sprite to unload does not exist\n");
    return -1;
  }
  m_p_sprite[index].reset();
  for (int j = index; j < m_sprite_count - 1; j++) {
    m_p_sprite[j] = std::move(m_p_sprite[j + 1]);
  }
  m_sprite_count--;
  return 0;
}

Sprite *ResourceManager::getSprite(std::string label) const {
  const int index = spriteIndex(label);
  return index < 0 ? nullptr : m_p_sprite[index].get();
}

int ResourceManager::loadSound(std::string filename, std::string label) {
  LogManager &log_manager = LogManager::getInstance();
  if (m_sound_count == MAX_SOUNDS) {
    log_manager.writeLog("Error! Sound array full\n");
    return -1;
  }
  if (m_sound[m_sound_count].loadSound(filename) != 0) {
    log_manager.writeLog("Error! Unable to load from file\n");
    return -1;
  }
  m_sound[m_sound_count].setLabel(label);
  m_sound_count++;
  return 0;
}

int ResourceManager::unloadSound(std::string label) {
  // After a removal the search goes on at the next position, so the sound
  // that has just moved into the gap is not looked at.
  for (int i = 0; i < m_sound_count; i++) {
    if (m_sound[i].getLabel() == label) {
      for (int j = i; j < m_sound_count - 1; j++) {
        m_sound[j] = m_sound[j + 1];
      }
      m_sound_count--;
    }
  }
  return 0;
}

Sound *ResourceManager::getSound(std::string label) {
  const int index = labelIndex(m_sound, m_sound_count, label);
  return index < 0 ? nullptr : &m_sound[index];
}

int ResourceManager::loadMusic(std::string filename, std::string label) {
  LogManager &log_manager = LogManager::getInstance();
  if (m_music_count == MAX_MUSICS) {
    log_manager.writeLog("Error! Sound array full\n");
    return -1;
  }
  if (m_music[m_music_count].loadMusic(filename) != 0) {
    log_manager.writeLog("Error! Unable to load from file\n");
    return -1;
  }
  // Checked after the open: the slot stays uncounted, and the next load opens
  // its own file over it.
  if (label.empty()) {
    log_manager.writeLog("Error! Cannot have empty string as Music label\n");
    return -1;
  }
  m_music[m_music_count].setLabel(label);
  m_music_count++;
  return 0;
}

int ResourceManager::unloadMusic(std::string label) {
  const int index = labelIndex(m_music, m_music_count, label);
  if (index < 0) {
    return -1;
  }
  m_music[index].setLabel("");
  return 0;
}

Music *ResourceManager::getMusic(std::string label) {
  const int index = labelIndex(m_music, m_music_count, label);
  return index < 0 ? nullptr : &m_music[index];
}

void ResourceManager::freeSprites() {
  for (int i = 0; i < m_sprite_count; i++) {
    m_p_sprite[i].reset();
  }
  m_sprite_count = 0;
}

int ResourceManager::spriteIndex(const std::string &label) const {
  for (int i = 0; i < m_sprite_count; i++) {
    if (m_p_sprite[i] && m_p_sprite[i]->getLabel() == label) {
      return i;
    }
  }
  return -1;
}

} // namespace qm
