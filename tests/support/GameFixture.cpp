#include "GameFixture.h"

#include "EventStep.h"
#include "GameManager.h"
#include "ObjectList.h"
#include "ObjectListIterator.h"
#include "ResourceManager.h"
#include "Sprite.h"
#include "Spy.h"
#include "TestSupport.h"
#include "Wav.h"
#include "WorldManager.h"

#include <cstdio>

namespace qm_test {

namespace {

// A sprite file whose frames are filled with one character per frame.
std::string writeSprite(const std::string &label, int frames, int width, int height, int slowdown) {
  std::string text = std::to_string(frames) + "\n" + std::to_string(width) + "\n" +
                     std::to_string(height) + "\n" + std::to_string(slowdown) + "\nwhite\n";
  for (int f = 0; f < frames; f++) {
    for (int r = 0; r < height; r++) {
      text += std::string(width, static_cast<char>('a' + f)) + "\n";
    }
  }
  return writeFile(label + "_test_spr.txt", text);
}

void loadSprite(const std::string &label, int frames, int width, int height, int slowdown) {
  qm::ResourceManager::getInstance().loadSprite(writeSprite(label, frames, width, height, slowdown),
                                                label);
}

// Sound and music slots live as long as the process, so each label is loaded
// once per test binary.
void loadSoundOnce(const std::string &label) {
  qm::ResourceManager &resource_manager = qm::ResourceManager::getInstance();
  if (resource_manager.getSound(label) == nullptr) {
    resource_manager.loadSound(writeWav(label + ".wav", 441), label);
  }
}

void loadMusicOnce(const std::string &label) {
  qm::ResourceManager &resource_manager = qm::ResourceManager::getInstance();
  if (resource_manager.getMusic(label) == nullptr) {
    resource_manager.loadMusic(writeWav(label + ".wav", 44100), label);
  }
}

} // namespace

void GameFixture::SetUp() {
  resetWorld();
  qm::ResourceManager &resource_manager = qm::ResourceManager::getInstance();
  resource_manager.shutDown();
  resource_manager.startUp();
  loadSprite("ball", 1, 1, 1, 1);
  loadSprite("platform", 1, PLATFORM_WIDTH, 1, 1);
  loadSprite("top_border", 1, 80, 1, 1);
  loadSprite("side_border", 1, 1, 21, 1);
  loadSprite("corner", 1, 1, 3, 1);
  loadSprite("power_up", 1, 3, 1, 1);
  loadSprite("long_platform", 1, LONG_PLATFORM_WIDTH, 1, 1);
  loadSprite("short_platform", 1, SHORT_PLATFORM_WIDTH, 1, 1);
  loadSprite("game_start", 2, 10, 3, 4);
  loadSprite("game_over", 4, 6, 2, 5);
  loadSprite("win", 2, 6, 2, 3);
  loadSoundOnce("impact");
  loadSoundOnce("power_up_catch");
  loadSoundOnce("power_up_spawn");
  loadMusicOnce("game_music");
  loadMusicOnce("lose_music");
  qm::GameManager::getInstance().setGameOver(false);
}

void GameFixture::TearDown() {
  qm::WorldManager::getInstance().shutDown();
  qm::GameManager::getInstance().setGameOver(false);
}

void GameFixture::setWorldSize(float horizontal, float vertical) {
  qm::WorldManager &world_manager = qm::WorldManager::getInstance();
  world_manager.setBoundary(qm::Box(qm::Vector(0, 0), horizontal, vertical));
  world_manager.setView(qm::Box(qm::Vector(0, 0), horizontal, vertical));
}

void GameFixture::runFrame(int step_count) {
  qm::WorldManager &world_manager = qm::WorldManager::getInstance();
  const qm::EventStep step(step_count);
  world_manager.onEvent(&step);
  world_manager.update();
}

int GameFixture::countOfType(const std::string &type) {
  return qm::WorldManager::getInstance().objectsOfType(type).getCount();
}

qm::Object *GameFixture::firstOfType(const std::string &type) {
  const qm::ObjectList objects = qm::WorldManager::getInstance().objectsOfType(type);
  qm::ObjectListIterator it(&objects);
  it.first();
  return it.isDone() ? nullptr : it.currentObject();
}

std::string GameFixture::spriteLabel(const qm::Object *p_o) {
  const qm::Sprite *p_sprite = p_o->getAnimation().getSprite();
  return p_sprite == nullptr ? "" : p_sprite->getLabel();
}

bool GameFixture::addressLogged(const void *p_o) {
  char line[64];
  snprintf(line, sizeof line, "Message : %p\n", p_o);
  return readLog().find(line) != std::string::npos;
}

sf::Event GameFixture::keyEvent(sf::Event::EventType type, sf::Keyboard::Key code) {
  sf::Event window_event;
  window_event.type = type;
  window_event.key.code = code;
  window_event.key.alt = false;
  window_event.key.control = false;
  window_event.key.shift = false;
  window_event.key.system = false;
  return window_event;
}

} // namespace qm_test
