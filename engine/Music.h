// A music track streamed from its open file, found by its label. Lives in a
// slot of the resource manager; not copyable.
#pragma once

#include <SFML/Audio.hpp>

#include <string>

namespace qm {

class Music {
public:
  Music();
  ~Music();

  int loadMusic(std::string filename);
  void setLabel(std::string new_label);
  std::string getLabel() const;
  // With loop false the looping setting stays as it was.
  void play(bool loop);
  void stop();
  void pause();
  sf::Music *getMusic();

private:
  Music(const Music &);
  Music &operator=(const Music &);

  sf::Music m_music;
  std::string m_label;
};

} // namespace qm
