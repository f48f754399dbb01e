#include "SoundEffect.h"

#include "ResourceManager.h"
#include "Sound.h"

void playSoundEffect(const std::string &label) {
  qm::Sound *p_sound = qm::ResourceManager::getInstance().getSound(label);
  if (p_sound != nullptr) {
    p_sound->play(false);
  }
}
