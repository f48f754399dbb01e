#include "Music.h"

#include "LogManager.h"
#include "SoundDevice.h"
#include "WaveFile.h"

#include <utility>

namespace qm {

Music::Music() : m_file(), m_music(), m_label() {}

Music::~Music() = default;

int Music::loadMusic(std::string filename) {
  // The stream's thread may be reading the file that is about to be closed.
  m_music.stop();
  if (m_file.open(filename) != 0 || !isPlausibleSoundFile(m_file) ||
      !m_music.openFromStream(m_file)) {
    LogManager::getInstance().writeLog("Error! Fail to open Music file\n");
    return -1;
  }
  return 0;
}

void Music::setLabel(std::string new_label) {
  m_label = std::move(new_label);
}

std::string Music::getLabel() const {
  return m_label;
}

void Music::play(bool loop) {
  // Only ever turned on here, so a track once started looping keeps looping
  // when it is played again without.
  if (loop) {
    m_music.setLoop(true);
  }
  if (soundDeviceWorks()) {
    m_music.play();
  }
}

void Music::stop() {
  m_music.stop();
}

void Music::pause() {
  m_music.pause();
}

sf::Music *Music::getMusic() {
  return &m_music;
}

} // namespace qm
