// Feeds arbitrary bytes to the sprite loader as a sprite file, then uses what
// loaded as the game would (finds it, draws every frame and animates it, with
// no window open) and unloads it. Traps when the loader breaks a promise: a
// failed load adds nothing, and a loaded sprite holds exactly the frames its
// header asks for, each of the header's size. The header is read here on its
// own terms, not with the loader's code, so that a misreading shows.
#include "Animation.h"
#include "ResourceManager.h"
#include "Sprite.h"

#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

const char *const LABEL = "fuzzed";
// Loaded before the run: a failed load must leave it first in the list.
const char *const KEPT_LABEL = "kept";

std::string spritePath() {
  // In memory where there is a /dev/shm: a file is written per input.
  static const std::string path = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : ".") +
                                  "/qm-sprite-fuzz-" + std::to_string(getpid()) + ".txt";
  return path;
}

void check(bool promise) {
  if (!promise) {
    __builtin_trap();
  }
}

// Line n (from 1) of the file, without its line feed; empty past the end.
std::string lineOf(const uint8_t *data, size_t size, int n) {
  size_t start = 0;
  for (int i = 1; i < n; i++) {
    while (start < size && data[start] != '\n') {
      start++;
    }
    if (start == size) {
      return "";
    }
    start++;
  }
  size_t end = start;
  while (end < size && data[end] != '\n') {
    end++;
  }
  return std::string(reinterpret_cast<const char *>(data) + start, end - start);
}

// strtol's reading (blanks, sign, digits) held to an int.
long long headerNumber(const std::string &line) {
  // strtoll stops at a NUL, as the number does at any other non-digit.
  const long long value = std::strtoll(line.c_str(), nullptr, 10);
  if (value > INT_MAX) {
    return INT_MAX;
  }
  return value < INT_MIN ? INT_MIN : value;
}

void drawAndAnimate(qm::Sprite *p_sprite) {
  // Without a window every cell is refused, so drawing costs what the frame
  // string holds; a few frames and passes are enough to reach every branch.
  const int frame_count = p_sprite->getFrameCount();
  for (int f = -1; f <= frame_count && f < 8; f++) {
    p_sprite->draw(f, qm::Vector(40, 12));
  }
  qm::Animation animation;
  animation.setSprite(p_sprite);
  for (int pass = 0; pass < 8; pass++) {
    check(animation.draw(qm::Vector(0, 0)) == 0);
    check(animation.getIndex() >= 0 && animation.getIndex() < (frame_count > 0 ? frame_count : 1));
  }
  const qm::Box box = animation.getBox();
  check(box.getHorizontal() == static_cast<float>(p_sprite->getWidth()));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  // The log stays closed: its lines would only slow the run down.
  qm::ResourceManager &resources = qm::ResourceManager::getInstance();
  resources.startUp();
  std::ofstream(spritePath(), std::ios::binary) << "1\n1\n1\n1\nred\n#\n";
  check(resources.loadSprite(spritePath(), KEPT_LABEL) == 0);
  atexit([] { std::remove(spritePath().c_str()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  {
    std::ofstream file(spritePath(), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
  }
  qm::ResourceManager &resources = qm::ResourceManager::getInstance();
  const qm::Sprite *p_kept = resources.getSprite(KEPT_LABEL);
  const int result = resources.loadSprite(spritePath(), LABEL);
  qm::Sprite *p_sprite = resources.getSprite(LABEL);
  check(resources.getSprite(KEPT_LABEL) == p_kept);
  if (result != 0) {
    check(result == -1);
    check(p_sprite == nullptr);
    return 0;
  }
  check(p_sprite != nullptr);

  const long long frame_count = headerNumber(lineOf(data, size, 1));
  const long long width = headerNumber(lineOf(data, size, 2));
  const long long height = headerNumber(lineOf(data, size, 3));
  check(p_sprite->getFrameCount() == frame_count);
  check(p_sprite->getWidth() == width && p_sprite->getHeight() == height);
  // A row of negative width cannot be written, so only a sprite without rows
  // may claim one.
  check(width >= 0 || height <= 0 || frame_count == 0);
  const long long cell_count = width > 0 && height > 0 ? width * height : 0;
  for (int f = 0; f < p_sprite->getFrameCount(); f++) {
    const qm::Frame frame = p_sprite->getFrame(f);
    check(frame.getWidth() == width && frame.getHeight() == height);
    // Rows only load at the full width: the frame holds whole rows.
    check(static_cast<long long>(frame.getString().size()) == cell_count);
  }
  drawAndAnimate(p_sprite);

  check(resources.unloadSprite(LABEL) == 0);
  check(resources.getSprite(LABEL) == nullptr);
  check(resources.getSprite(KEPT_LABEL) == p_kept);
  return 0;
}
