// A sound effect held whole in memory, found by its label. Lives in a slot of
// the resource manager.
#pragma once

#include <SFML/Audio.hpp>

#include <string>

namespace qm {

class Sound {
public:
  Sound();
  ~Sound();
  // Both take the other's samples and label; the voice plays this sound's
  // own copy of the samples.
  Sound(const Sound &other);
  Sound &operator=(const Sound &other);

  int loadSound(std::string filename);
  void setLabel(std::string new_label);
  std::string getLabel() const;
  void play(bool loop);
  void stop();
  void pause();
  sf::Sound getSound() const;

private:
  // The samples are declared before the voice that plays them, so the voice
  // is destroyed first and never outlives its buffer.
  sf::SoundBuffer m_sound_buffer;
  sf::Sound m_sound;
  std::string m_label;
};

} // namespace qm
