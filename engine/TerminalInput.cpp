#include "TerminalInput.h"

namespace qm {

namespace {

constexpr unsigned char ESC = 0x1b;
constexpr int NOT_SENT = -1;
// A key sent in a form that has no room for an event type: its release
// never comes, whatever the flags.
constexpr int LEGACY_FORM = -2;
// The keyboard protocol's event types and modifier bits (sent as 1 + bits).
constexpr int KEY_EVENT_PRESS = 1;
constexpr int KEY_EVENT_REPEAT = 2;
constexpr int KEY_EVENT_RELEASE = 3;
constexpr int MODIFIER_CTRL = 4;
// Shift, Alt, Super, Hyper, Meta: with any of them Ctrl-C is no interrupt.
// Caps Lock and Num Lock do not count.
constexpr int MODIFIERS_OTHER = 1 | 2 | 8 | 16 | 32;
// SGR pointer reports: the button in the low bits, then flags.
constexpr int POINTER_BUTTON_BITS = 3;
constexpr int POINTER_MOTION = 32;
constexpr int POINTER_WHEEL_OR_EXTRA = 64 | 128;

using Key = sf::Keyboard::Key;

Key offsetKey(Key first, int offset) {
  return static_cast<Key>(first + offset);
}

// The key that sends a character or code point: letters in either case
// (Shift), the main block's digits and punctuation, and the keypad and
// modifier keys by the keyboard protocol's private codes. Which of them the
// engine knows is the input manager's table to say.
Key keyOfCodePoint(int code) {
  if (code >= 'a' && code <= 'z') {
    return offsetKey(sf::Keyboard::A, code - 'a');
  }
  if (code >= 'A' && code <= 'Z') {
    return offsetKey(sf::Keyboard::A, code - 'A');
  }
  if (code >= '0' && code <= '9') {
    return offsetKey(sf::Keyboard::Num0, code - '0');
  }
  switch (code) {
  case ESC:
    return sf::Keyboard::Escape;
  case '\r':
  case '\n':
  case 57414: // the keypad's Enter
    return sf::Keyboard::Enter;
  case '\t':
    return sf::Keyboard::Tab;
  case ' ':
    return sf::Keyboard::Space;
  case 0x7f:
    return sf::Keyboard::Backspace;
  case ',':
    return sf::Keyboard::Comma;
  case '.':
    return sf::Keyboard::Period;
  case '/':
    return sf::Keyboard::Slash;
  case '`':
    return sf::Keyboard::Tilde;
  case '-':
    return sf::Keyboard::Hyphen;
  case '=':
    return sf::Keyboard::Equal;
  case 57412:
    return sf::Keyboard::Subtract;
  case 57413:
    return sf::Keyboard::Add;
  case 57362:
    return sf::Keyboard::Pause;
  case 57441:
    return sf::Keyboard::LShift;
  case 57442:
    return sf::Keyboard::LControl;
  case 57447:
    return sf::Keyboard::RShift;
  case 57448:
    return sf::Keyboard::RControl;
  default:
    return sf::Keyboard::Unknown;
  }
}

// Keys sent as a letter after CSI or SS3: arrows, F1 to F4, and keys of the
// editing block and keypad that have no name here.
bool letterKey(char final_byte, Key &key_val) {
  switch (final_byte) {
  case 'A':
    key_val = sf::Keyboard::Up;
    return true;
  case 'B':
    key_val = sf::Keyboard::Down;
    return true;
  case 'C':
    key_val = sf::Keyboard::Right;
    return true;
  case 'D':
    key_val = sf::Keyboard::Left;
    return true;
  case 'P':
  case 'Q':
  case 'R':
  case 'S':
    key_val = offsetKey(sf::Keyboard::F1, final_byte - 'P');
    return true;
  case 'Z': // Shift-Tab
    key_val = sf::Keyboard::Tab;
    return true;
  case 'E':
  case 'F':
  case 'H':
    key_val = sf::Keyboard::Unknown;
    return true;
  default:
    return false;
  }
}

// CSI number ~: F1 to F12 (F3 as later kitty sends it, F1 to F4 as rxvt
// does); editing keys and the rest have no name here.
Key tildeKey(int number) {
  switch (number) {
  case 11:
  case 12:
  case 13:
  case 14:
    return offsetKey(sf::Keyboard::F1, number - 11);
  case 15:
    return sf::Keyboard::F5;
  case 17:
  case 18:
  case 19:
  case 20:
  case 21:
    return offsetKey(sf::Keyboard::F6, number - 17);
  case 23:
    return sf::Keyboard::F11;
  case 24:
    return sf::Keyboard::F12;
  default:
    return sf::Keyboard::Unknown;
  }
}

// SS3 keys: the keypad in application mode.
Key keypadKey(char final_byte) {
  switch (final_byte) {
  case 'm':
    return sf::Keyboard::Subtract;
  case 'k':
    return sf::Keyboard::Add;
  case 'M':
    return sf::Keyboard::Enter;
  default:
    return sf::Keyboard::Unknown;
  }
}

TerminalInputRecord keyRecord(Key key_val, EventKeyboardAction action) {
  TerminalInputRecord record;
  record.key = key_val;
  record.key_action = action;
  return record;
}

TerminalInputRecord typeRecord(TerminalInputType type) {
  TerminalInputRecord record;
  record.type = type;
  return record;
}

} // namespace

bool TerminalInputRecord::operator==(const TerminalInputRecord &other) const {
  return type == other.type && key == other.key && key_action == other.key_action &&
         mouse_action == other.mouse_action && mouse_button == other.mouse_button &&
         column == other.column && row == other.row;
}

TerminalInput::TerminalInput()
    : m_state(GROUND), m_keyboard_protocol(false), m_signal_key_held(0), m_utf8_remaining(0),
      m_introducer(0), m_marker(0), m_intermediate(false), m_broken(false), m_length(0),
      m_param_index(0), m_sub_index(0), m_params() {}

void TerminalInput::feed(const char *bytes, std::size_t count,
                         std::vector<TerminalInputRecord> &records) {
  for (std::size_t i = 0; i < count; i++) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    switch (m_state) {
    case GROUND:
      ground(byte, records);
      break;
    case ESCAPE:
      if (byte == '[' || byte == 'O') {
        startSequence(static_cast<char>(byte));
      } else {
        // Not a sequence: the Escape key, then the byte as typed (Alt and a
        // key send just this).
        m_state = GROUND;
        key(sf::Keyboard::Escape, LEGACY_FORM, records);
        ground(byte, records);
      }
      break;
    case SEQUENCE:
      sequence(byte, records);
      break;
    case UTF8:
      if ((byte & 0xc0) == 0x80) {
        if (--m_utf8_remaining == 0) {
          m_state = GROUND;
          key(sf::Keyboard::Unknown, LEGACY_FORM, records);
        }
      } else {
        // A character cut short: drop it and read the byte afresh.
        m_state = GROUND;
        ground(byte, records);
      }
      break;
    }
  }
}

bool TerminalInput::isPending() const {
  return m_state != GROUND;
}

void TerminalInput::flush(std::vector<TerminalInputRecord> &records) {
  if (m_state == ESCAPE) {
    key(sf::Keyboard::Escape, LEGACY_FORM, records);
  } else if (m_state == SEQUENCE && m_length == 0) {
    // Escape and then [ or O, typed: no terminal stops a sequence there.
    key(sf::Keyboard::Escape, LEGACY_FORM, records);
    key(m_introducer == 'O' ? sf::Keyboard::O : sf::Keyboard::LBracket, LEGACY_FORM, records);
  }
  m_state = GROUND;
}

void TerminalInput::ground(unsigned char byte, std::vector<TerminalInputRecord> &records) {
  if (byte == ESC) {
    m_state = ESCAPE;
  } else if (byte == 0x03 || byte == 0x1a) {
    // Ctrl-C and Ctrl-Z reach us as bytes only when the line discipline does
    // not raise SIGINT and SIGTSTP for them.
    records.push_back(typeRecord(byte == 0x03 ? TERMINAL_INTERRUPT : TERMINAL_SUSPEND));
  } else if (byte < 0x80) {
    key(keyOfCodePoint(byte), LEGACY_FORM, records);
  } else if (byte >= 0xc2 && byte <= 0xf4) {
    // The lead byte of a character of two to four bytes; other bytes above
    // 0x7f cannot start one and are dropped.
    m_utf8_remaining = byte < 0xe0 ? 1 : byte < 0xf0 ? 2 : 3;
    m_state = UTF8;
  }
}

void TerminalInput::startSequence(char introducer) {
  m_state = SEQUENCE;
  m_introducer = introducer;
  m_marker = 0;
  m_intermediate = false;
  m_broken = false;
  m_length = 0;
  m_param_index = 0;
  m_sub_index = 0;
  for (auto &param : m_params) {
    for (int &sub : param) {
      sub = NOT_SENT;
    }
  }
}

void TerminalInput::sequence(unsigned char byte, std::vector<TerminalInputRecord> &records) {
  if (byte < 0x20 || byte > 0x7e) {
    // No sequence holds such a byte: the sequence was broken off, and the
    // byte starts afresh (ESC a new sequence).
    m_state = GROUND;
    ground(byte, records);
    return;
  }
  if (m_length < TERMINAL_PARAMETER_MAX) {
    m_length++;
  }
  if (byte >= 0x40) {
    m_state = GROUND;
    if (!m_broken && !m_intermediate) {
      dispatch(static_cast<char>(byte), records);
    }
  } else if (byte >= 0x30 && byte <= 0x39) {
    if (m_param_index < MAX_PARAMETERS && m_sub_index < MAX_SUBPARAMETERS) {
      int &value = m_params[m_param_index][m_sub_index];
      value = value == NOT_SENT ? 0 : value;
      value =
          value >= TERMINAL_PARAMETER_MAX / 10 ? TERMINAL_PARAMETER_MAX : value * 10 + (byte - '0');
    }
  } else if (byte == ';') {
    m_param_index += m_param_index < MAX_PARAMETERS;
    m_sub_index = 0;
  } else if (byte == ':') {
    m_sub_index += m_sub_index < MAX_SUBPARAMETERS;
  } else if (byte >= 0x3c && byte <= 0x3f) {
    // A private marker belongs before the parameters only.
    if (m_length == 1) {
      m_marker = static_cast<char>(byte);
    } else {
      m_broken = true;
    }
  } else {
    m_intermediate = true;
  }
}

int TerminalInput::parameter(int index, int sub, int absent) const {
  const int value = m_params[index][sub];
  return value == NOT_SENT ? absent : value;
}

void TerminalInput::dispatch(char final_byte, std::vector<TerminalInputRecord> &records) {
  if (m_introducer == '[' && m_marker == '<') {
    dispatchPointer(final_byte, records);
  } else if (m_introducer == '[' && m_marker == '?') {
    if (final_byte == 'u') {
      m_keyboard_protocol = true;
      records.push_back(typeRecord(TERMINAL_PROTOCOL_REPLY));
    } else if (final_byte == 'c') {
      records.push_back(typeRecord(TERMINAL_ATTRIBUTES_REPLY));
    }
  } else if (m_marker == 0) {
    dispatchKeyboard(final_byte, records);
  }
}

void TerminalInput::dispatchKeyboard(char final_byte, std::vector<TerminalInputRecord> &records) {
  // Every CSI form puts the modifiers and the event type in the second
  // parameter (CSI 1 ; modifiers : event A, CSI 15 ; modifiers : event ~);
  // SS3 forms have no room for them.
  const int key_event = m_introducer == 'O' ? LEGACY_FORM : parameter(1, 1, NOT_SENT);
  Key key_val = sf::Keyboard::Unknown;
  if (letterKey(final_byte, key_val)) {
    key(key_val, key_event, records);
  } else if (m_introducer == 'O') {
    key(keypadKey(final_byte), key_event, records);
  } else if (final_byte == '~') {
    key(tildeKey(parameter(0, 0, 0)), key_event, records);
  } else if (final_byte == 'u') {
    dispatchCodePoint(records);
  }
  // Any other final byte answers something that was not asked: dropped.
}

void TerminalInput::dispatchCodePoint(std::vector<TerminalInputRecord> &records) {
  const int code = parameter(0, 0, 0);
  const int modifiers = parameter(1, 0, 1) - 1;
  const int key_event = parameter(1, 1, NOT_SENT);
  // Under the protocol Ctrl-C and Ctrl-Z are keys like any other: they must
  // still stop the game as the signals do.
  if ((code == 'c' || code == 'z') && (modifiers & MODIFIER_CTRL) &&
      !(modifiers & MODIFIERS_OTHER) && (key_event == NOT_SENT || key_event == KEY_EVENT_PRESS)) {
    m_signal_key_held = code;
    records.push_back(typeRecord(code == 'c' ? TERMINAL_INTERRUPT : TERMINAL_SUSPEND));
    return;
  }
  if (m_signal_key_held != 0 && code == m_signal_key_held &&
      (key_event == KEY_EVENT_REPEAT || key_event == KEY_EVENT_RELEASE)) {
    m_signal_key_held = key_event == KEY_EVENT_REPEAT ? code : 0;
    return;
  }
  key(keyOfCodePoint(code), key_event, records);
}

void TerminalInput::key(Key key_val, int key_event,
                        std::vector<TerminalInputRecord> &records) const {
  // A form that can say press or release says it, and under the protocol's
  // flags one that says nothing is a press whose release comes on its own.
  // Otherwise the release never comes, so it follows at once.
  if (key_event == KEY_EVENT_PRESS || key_event == NOT_SENT || key_event == LEGACY_FORM) {
    records.push_back(keyRecord(key_val, KEY_PRESSED));
  }
  if (key_event == KEY_EVENT_RELEASE || key_event == LEGACY_FORM ||
      (key_event == NOT_SENT && !m_keyboard_protocol)) {
    records.push_back(keyRecord(key_val, KEY_RELEASED));
  }
  // Repeats, and event types that do not exist, are dropped.
}

void TerminalInput::dispatchPointer(char final_byte,
                                    std::vector<TerminalInputRecord> &records) const {
  const int flags = parameter(0, 0, NOT_SENT);
  const int column = parameter(1, 0, 0) - 1;
  const int row = parameter(2, 0, 0) - 1;
  // Releases and the wheel are dropped, as the window drops them.
  if (final_byte != 'M' || flags == NOT_SENT || column < 0 || row < 0 ||
      (flags & POINTER_WHEEL_OR_EXTRA)) {
    return;
  }
  TerminalInputRecord record = typeRecord(TERMINAL_POINTER);
  record.column = column;
  record.row = row;
  if (flags & POINTER_MOTION) {
    record.mouse_action = MOVED;
  } else {
    static constexpr sf::Mouse::Button BUTTONS[] = {sf::Mouse::Left, sf::Mouse::Middle,
                                                    sf::Mouse::Right};
    const int button = flags & POINTER_BUTTON_BITS;
    if (button >= 3) {
      return;
    }
    record.mouse_action = CLICKED;
    record.mouse_button = BUTTONS[button];
  }
  records.push_back(record);
}

} // namespace qm
