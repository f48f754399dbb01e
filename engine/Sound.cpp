#include "Sound.h"

#include "LogManager.h"
#include "RegularFile.h"
#include "SoundDevice.h"
#include "WaveFile.h"

#include <utility>

namespace qm {

Sound::Sound() : m_sound_buffer(), m_sound(), m_label() {}

Sound::~Sound() = default;

Sound::Sound(const Sound &other) : Sound() {
  *this = other;
}

Sound &Sound::operator=(const Sound &other) {
  if (this == &other) {
    return *this;
  }
  // SFML's own assignment forgets the old buffer without unbinding it from
  // the audio source when the other sound has none, and the buffer's samples
  // could then not be freed; the voice lets go of them first.
  m_sound.resetBuffer();
  m_sound = other.m_sound;
  m_sound_buffer = other.m_sound_buffer;
  m_label = other.m_label;
  // SFML's assignment leaves the voice playing the other's buffer, which may
  // be overwritten or freed later (the resource manager moves sounds down its
  // table); the voice must play this sound's own copy of the samples.
  if (other.m_sound.getBuffer() != nullptr) {
    m_sound.setBuffer(m_sound_buffer);
  }
  return *this;
}

int Sound::loadSound(std::string filename) {
  // The samples are read whole here, so the file is needed no longer.
  RegularFile file;
  if (file.open(filename) != 0 || !isPlausibleSoundFile(file) ||
      !m_sound_buffer.loadFromStream(file)) {
    LogManager::getInstance().writeLog("Error! Fail to load sound\n");
    return -1;
  }
  m_sound.setBuffer(m_sound_buffer);
  return 0;
}

void Sound::setLabel(std::string new_label) {
  m_label = std::move(new_label);
}

std::string Sound::getLabel() const {
  return m_label;
}

void Sound::play(bool loop) {
  m_sound.setLoop(loop);
  if (soundDeviceWorks()) {
    m_sound.play();
  }
}

void Sound::stop() {
  m_sound.stop();
}

void Sound::pause() {
  m_sound.pause();
}

sf::Sound Sound::getSound() const {
  return m_sound;
}

} // namespace qm
