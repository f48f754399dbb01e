// Owns every sprite, sound and music track of the running game and hands them
// out by label. A singleton started by the game manager.
#pragma once

#include "Manager.h"
#include "Music.h"
#include "Sound.h"
#include "SoundDevice.h"
#include "Sprite.h"

#include <cstddef>
#include <memory>
#include <string>

namespace qm {

inline constexpr int MAX_SPRITES = 500;
inline constexpr int MAX_SOUNDS = 50;
inline constexpr int MAX_MUSICS = 50;
// A sprite file's header: frame count, width, height, slowdown and colour.
inline constexpr int SPRITE_HEADER_LINES = 5;
// The longest of header lines 1 to 4 that a sprite file may have: room for
// any number with a note after it, and a bound on what a file without line
// feeds makes the loader read.
inline constexpr std::size_t MAX_SPRITE_HEADER_LINE_LENGTH = 255;
// How far past its width a frame row is read to say how long it is.
inline constexpr std::size_t MAX_SPRITE_ROW_OVERRUN = 4096;

class ResourceManager : public Manager {
public:
  static ResourceManager &getInstance();

  int startUp() override;
  // Frees every sprite; sounds and music stay until program end.
  void shutDown() override;

  // Reads a sprite file and appends the sprite under label; -1 on failure.
  int loadSprite(std::string filename, std::string label);
  int unloadSprite(std::string label);
  // The first sprite with the label, or nullptr.
  Sprite *getSprite(std::string label) const;

  int loadSound(std::string filename, std::string label);
  // Always 0.
  int unloadSound(std::string label);
  Sound *getSound(std::string label);

  int loadMusic(std::string filename, std::string label);
  // Clears the label; the slot stays in use since music cannot be moved.
  int unloadMusic(std::string label);
  Music *getMusic(std::string label);

private:
  ResourceManager();
  ResourceManager(const ResourceManager &);
  void operator=(const ResourceManager &);

  void freeSprites();
  // The position of the first sprite with the label; -1 when there is none.
  int spriteIndex(const std::string &label) const;

  std::unique_ptr<Sprite> m_p_sprite[MAX_SPRITES];
  int m_sprite_count;
  // Asked before the sound and music slots below exist, which would open the
  // sound device without a word if it were not open yet.
  bool m_sound_device_works = soundDeviceWorks();
  bool m_silence_reported = false;
  Sound m_sound[MAX_SOUNDS];
  int m_sound_count;
  Music m_music[MAX_MUSICS];
  int m_music_count;
};

} // namespace qm
