// Turns the bytes that a terminal sends into input: key presses and releases
// of the keys a window would name, pointer moves and clicks, and the answers
// to the start-up query. Bytes only, no clock and no file: the terminal
// screen owns one.
#pragma once

#include "EventKeyboard.h"
#include "EventMouse.h"

#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/Mouse.hpp>

#include <cstddef>
#include <vector>

namespace qm {

enum TerminalInputType : int {
  TERMINAL_KEY,
  TERMINAL_POINTER,
  // Ctrl-C and Ctrl-Z where the terminal no longer raises SIGINT and
  // SIGTSTP for them.
  TERMINAL_INTERRUPT,
  TERMINAL_SUSPEND,
  // The terminal answered the keyboard-protocol query: it speaks it.
  TERMINAL_PROTOCOL_REPLY,
  // The answer to the device-attributes request, which every terminal gives
  // after its answer to the query, if any.
  TERMINAL_ATTRIBUTES_REPLY,
};

// Keys and buttons are named as the window names them, so that the input
// manager's one table turns both into the engine's.
struct TerminalInputRecord {
  TerminalInputType type = TERMINAL_KEY;
  sf::Keyboard::Key key = sf::Keyboard::Unknown;
  EventKeyboardAction key_action = UNDEFINED_KEYBOARD_ACTION;
  EventMouseAction mouse_action = UNDEFINED_MOUSE_ACTION;
  sf::Mouse::Button mouse_button = sf::Mouse::ButtonCount;
  // The pointer's cell in the terminal, from (0, 0) at the top left.
  int column = 0;
  int row = 0;

  bool operator==(const TerminalInputRecord &other) const;
};

// Numbers in a sequence stop growing here: no real one comes near it.
inline constexpr int TERMINAL_PARAMETER_MAX = 1000000;

class TerminalInput {
public:
  TerminalInput();

  // Parses bytes as they were read, appending what they say to records in
  // order. A sequence cut off at the end of the bytes waits for the next call.
  void feed(const char *bytes, std::size_t count, std::vector<TerminalInputRecord> &records);
  // True when the bytes so far end inside a sequence, or after an Escape
  // that may begin one.
  bool isPending() const;
  // For when nothing has followed for a while: a waiting Escape is the
  // Escape key, and a sequence cut off for good is dropped.
  void flush(std::vector<TerminalInputRecord> &records);

private:
  enum State : int { GROUND, ESCAPE, SEQUENCE, UTF8 };
  static constexpr int MAX_PARAMETERS = 4;
  static constexpr int MAX_SUBPARAMETERS = 3;

  void ground(unsigned char byte, std::vector<TerminalInputRecord> &records);
  void sequence(unsigned char byte, std::vector<TerminalInputRecord> &records);
  void startSequence(char introducer);
  void dispatch(char final_byte, std::vector<TerminalInputRecord> &records);
  void dispatchKeyboard(char final_byte, std::vector<TerminalInputRecord> &records);
  void dispatchPointer(char final_byte, std::vector<TerminalInputRecord> &records) const;
  void dispatchCodePoint(std::vector<TerminalInputRecord> &records);
  void key(sf::Keyboard::Key key_val, int key_event,
           std::vector<TerminalInputRecord> &records) const;
  // Parameter index, sub-parameter sub; absent when not sent.
  int parameter(int index, int sub, int absent) const;

  State m_state;
  bool m_keyboard_protocol;
  // The code point whose press became an interrupt or a suspension, so
  // that its repeats and release are no keys either; 0 for none.
  int m_signal_key_held;
  int m_utf8_remaining;
  // The sequence being read: ESC [ (CSI) or ESC O (SS3), an optional
  // private marker (< = > ?), parameters with sub-parameters, intermediates.
  char m_introducer;
  char m_marker;
  bool m_intermediate;
  bool m_broken;
  int m_length;
  int m_param_index;
  int m_sub_index;
  int m_params[MAX_PARAMETERS][MAX_SUBPARAMETERS];
};

} // namespace qm
