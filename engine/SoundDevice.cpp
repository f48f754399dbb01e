#include "SoundDevice.h"

#include "QuietStandardError.h"

#include <SFML/Audio.hpp>
#include <SFML/System/Err.hpp>

#include <sstream>
#include <streambuf>

namespace qm {

namespace {

class DiscardingBuffer : public std::streambuf {
protected:
  int overflow(int ch) override { return traits_type::not_eof(ch); }
};

bool openDevice() {
  // SFML opens its device with the first sound resource and says on its
  // error stream when that fails; nothing else tells.
  std::ostringstream device_errors;
  std::streambuf *p_error_output = sf::err().rdbuf(device_errors.rdbuf());
  // Keeps the device open for the whole run: SFML closes it with the last
  // sound resource and would try again, and fail loudly, with the next.
  // Without a sound card the sound libraries below SFML write a dozen lines
  // of their own on standard error while they look for one.
  {
    const QuietStandardError quiet;
    static const sf::SoundBuffer device_holder;
  }
  if (device_errors.str().empty()) {
    sf::err().rdbuf(p_error_output);
    return true;
  }
  // Each of the many OpenAL calls made for sounds that cannot play would
  // report the same missing device again; the engine has said it once.
  static DiscardingBuffer discard;
  sf::err().rdbuf(&discard);
  return false;
}

} // namespace

bool soundDeviceWorks() {
  static const bool works = openDevice();
  return works;
}

} // namespace qm
