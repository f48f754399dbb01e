// A music track streamed from its open file, found by its label. Lives in a
// slot of the resource manager; not copyable.
#pragma once

#include "RegularFile.h"

#include <SFML/Audio.hpp>

#include <string>

namespace qm {

class Music {
public:
  Music();
  ~Music();
  // SFML's music keeps its file open and streams from it on a thread of its
  // own; it cannot be copied or moved.
  Music(const Music &) = delete;
  Music &operator=(const Music &) = delete;

  int loadMusic(std::string filename);
  void setLabel(std::string new_label);
  std::string getLabel() const;
  // With loop false the looping setting stays as it was.
  void play(bool loop);
  void stop();
  void pause();
  sf::Music *getMusic();

private:
  // Declared before the stream, which reads from it until it is destroyed.
  RegularFile m_file;
  sf::Music m_music;
  std::string m_label;
};

} // namespace qm
