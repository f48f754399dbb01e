// The controlling terminal taken for a full-screen game (raw input, alternate
// screen, pointer and keyboard modes) and left as found on every way out,
// signals included. The terminal screen owns the one that may hold it.
#pragma once

#include "TerminalInput.h"

#include <chrono>
#include <string>
#include <vector>

namespace qm {

// How long the terminal has to answer the start-up query, and how long a
// lone Escape waits for the rest of a sequence, in milliseconds.
inline constexpr int TERMINAL_QUERY_WAIT = 500;
inline constexpr int TERMINAL_ESCAPE_WAIT = 50;

class Terminal {
public:
  Terminal();
  ~Terminal();
  Terminal(const Terminal &) = delete;
  Terminal &operator=(const Terminal &) = delete;

  // Takes the terminal: standard input and output when both are one, else
  // /dev/tty. -1 when there is none, another Terminal holds it, or it
  // refuses raw mode; the terminal is then left as it was.
  int open();
  // The same on descriptors of a terminal that the caller keeps open.
  int open(int input_fd, int output_fd);
  // Gives the terminal back as it was found; nothing when not open.
  void close();

  // The size in cells, as of opening or the last takeRedraw.
  int getColumns() const;
  int getRows() const;
  // True once after the terminal changed size or came back from a stop:
  // what it shows is no longer known and must be drawn whole.
  bool takeRedraw();

  // Appends the keys and pointer reports that have arrived, without
  // waiting. Ctrl-C and Ctrl-Z sent as keys raise SIGINT and SIGTSTP here,
  // as the line discipline does with them elsewhere.
  void readInput(std::vector<TerminalInputRecord> &records);
  // Writes all of bytes; -1 when the terminal fails.
  int write(const std::string &bytes);

private:
  void readSize();
  bool readAvailable();
  void queryKeyboardProtocol();
  void pushKeyboardProtocol();
  // Hands the parsed keys and pointer reports to records and acts on the
  // rest; true when the answer to the device-attributes request was there.
  bool handOut(std::vector<TerminalInputRecord> &records);

  bool m_open;
  int m_input_fd;
  int m_output_fd;
  // The descriptor that open() made for /dev/tty, closed with the terminal.
  int m_owned_fd;
  int m_columns;
  int m_rows;
  TerminalInput m_input;
  // What the parser made of the last read.
  std::vector<TerminalInputRecord> m_parsed;
  // Keys and pointer reports that came while waiting for the query's answer.
  std::vector<TerminalInputRecord> m_pending;
  std::chrono::steady_clock::time_point m_last_read;
};

} // namespace qm
