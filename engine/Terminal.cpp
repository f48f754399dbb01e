#include "Terminal.h"

#include "HeldOutput.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace qm {

namespace {

// Taking the terminal, and giving it back. The keyboard protocol's flags
// are pushed after the alternate screen is taken and popped before it is
// left, since each screen keeps a stack of its own.
const char ENTER[] = "\x1b[?1049h\x1b[?25l\x1b=\x1b[?1003h\x1b[?1006h";
const char PUSH_PROTOCOL[] = "\x1b[>11u";
const char POP_PROTOCOL[] = "\x1b[<u";
const char LEAVE[] = "\x1b[?1006l\x1b[?1003l\x1b>\x1b[0m\x1b[?25h\x1b[?1049l";
// The keyboard-protocol query, then a request that every terminal answers,
// so that the answer to it ends the wait.
const char QUERY[] = "\x1b[?u\x1b[c";

// What the signal handlers read. All of it is set before they are installed;
// the handlers call only write(), tcsetattr(), sigaction(), sigprocmask()
// and raise().
volatile std::sig_atomic_t terminal_held = 0;
volatile std::sig_atomic_t protocol_pushed = 0;
volatile std::sig_atomic_t suspended = 0;
volatile std::sig_atomic_t resized = 0;
volatile std::sig_atomic_t resumed = 0;
// Whether the process's own standard output and error are kept off the
// terminal while it is taken.
volatile std::sig_atomic_t output_kept_off = 0;
int held_input_fd = -1;
int held_output_fd = -1;
struct termios saved_termios;
struct termios raw_termios;

// Signals whose default action ends the process, and the faults among them:
// a fault is caught even in front of a handler already there (a sanitizer's
// report), the others only where nothing else handles them.
constexpr int ENDING_SIGNALS[] = {SIGHUP,  SIGINT,  SIGQUIT,   SIGILL,  SIGTRAP, SIGABRT, SIGBUS,
                                  SIGFPE,  SIGUSR1, SIGSEGV,   SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,
                                  SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGSYS};
constexpr int FAULT_SIGNALS[] = {SIGILL, SIGTRAP, SIGABRT, SIGBUS, SIGFPE, SIGSEGV, SIGSYS};
constexpr std::size_t MAX_CAUGHT = sizeof(ENDING_SIGNALS) / sizeof(int) + 3;

struct CaughtSignal {
  int number;
  struct sigaction previous;
};
CaughtSignal caught[MAX_CAUGHT];
std::size_t caught_count = 0;

bool isFault(int signal_number) {
  for (const int fault : FAULT_SIGNALS) {
    if (fault == signal_number) {
      return true;
    }
  }
  return false;
}

template <std::size_t N> void writeBytes(const char (&bytes)[N]) {
  writeFully(held_output_fd, bytes, N - 1);
}

// TCSAFLUSH drops what the terminal sent and no one read, such as pointer
// reports, which the shell would otherwise take as typing.
void leaveTerminal() {
  if (protocol_pushed) {
    writeBytes(POP_PROTOCOL);
  }
  writeBytes(LEAVE);
  tcsetattr(held_input_fd, TCSAFLUSH, &saved_termios);
  // What was held comes out on the screen the game was started from.
  if (output_kept_off) {
    releaseOutput();
  }
}

void enterTerminal() {
  if (output_kept_off) {
    holdOutput();
  }
  tcsetattr(held_input_fd, TCSANOW, &raw_termios);
  writeBytes(ENTER);
  if (protocol_pushed) {
    writeBytes(PUSH_PROTOCOL);
  }
}

extern "C" void leaveOnSignal(int signal_number, siginfo_t *p_info, void *) {
  if (terminal_held) {
    terminal_held = 0;
    leaveTerminal();
  }
  for (std::size_t i = 0; i < caught_count; i++) {
    if (caught[i].number == signal_number) {
      sigaction(signal_number, &caught[i].previous, nullptr);
    }
  }
  // A fault comes back by itself when its instruction runs again, with its
  // own details for what handles it next; a signal that was sent must be
  // sent again. It waits until this handler returns.
  if (!isFault(signal_number) || !p_info || p_info->si_code <= 0) {
    raise(signal_number);
  }
}

extern "C" void suspendOnSignal(int) {
  const int saved_errno = errno;
  if (terminal_held) {
    suspended = 1;
    leaveTerminal();
  }
  // Stop as the default action does, here; a SIGCONT goes on from here.
  struct sigaction stop = {};
  stop.sa_handler = SIG_DFL;
  sigemptyset(&stop.sa_mask);
  struct sigaction ours = {};
  sigaction(SIGTSTP, &stop, &ours);
  sigset_t tstp;
  sigemptyset(&tstp);
  sigaddset(&tstp, SIGTSTP);
  raise(SIGTSTP);
  sigprocmask(SIG_UNBLOCK, &tstp, nullptr);
  sigprocmask(SIG_BLOCK, &tstp, nullptr);
  sigaction(SIGTSTP, &ours, nullptr);
  if (suspended) {
    suspended = 0;
    enterTerminal();
    resumed = 1;
  }
  errno = saved_errno;
}

// Also for a stop that was not ours to see (SIGSTOP): whoever had the
// terminal meanwhile may have changed it.
extern "C" void resumeOnSignal(int) {
  const int saved_errno = errno;
  if (terminal_held && !suspended) {
    enterTerminal();
    resumed = 1;
  }
  errno = saved_errno;
}

extern "C" void noteResize(int) {
  resized = 1;
}

extern "C" void leaveAtExit() {
  if (terminal_held) {
    terminal_held = 0;
    leaveTerminal();
  }
}

void catchSignal(int signal_number, const struct sigaction &action) {
  struct sigaction previous = {};
  sigaction(signal_number, nullptr, &previous);
  const bool handled = (previous.sa_flags & SA_SIGINFO) || previous.sa_handler != SIG_DFL;
  if (handled && !(isFault(signal_number) && previous.sa_handler != SIG_IGN)) {
    return;
  }
  caught[caught_count++] = {signal_number, previous};
  sigaction(signal_number, &action, nullptr);
}

void catchSignals() {
  caught_count = 0;
  // Every signal waits while a handler runs, so that none cuts into the
  // giving back or the taking again of the terminal; but a SIGCONT must
  // reach its handler while the stop's handler waits to go on.
  struct sigaction ending = {};
  ending.sa_sigaction = leaveOnSignal;
  ending.sa_flags = SA_SIGINFO;
  sigfillset(&ending.sa_mask);
  for (const int signal_number : ENDING_SIGNALS) {
    catchSignal(signal_number, ending);
  }
  struct sigaction handler = {};
  handler.sa_flags = SA_RESTART;
  sigfillset(&handler.sa_mask);
  sigdelset(&handler.sa_mask, SIGCONT);
  handler.sa_handler = suspendOnSignal;
  catchSignal(SIGTSTP, handler);
  handler.sa_handler = resumeOnSignal;
  catchSignal(SIGCONT, handler);
  handler.sa_handler = noteResize;
  catchSignal(SIGWINCH, handler);
}

bool isOurs(const struct sigaction &action) {
  if (action.sa_flags & SA_SIGINFO) {
    return action.sa_sigaction == leaveOnSignal;
  }
  return action.sa_handler == suspendOnSignal || action.sa_handler == resumeOnSignal ||
         action.sa_handler == noteResize;
}

// A handler that someone put in place of ours since (the game's stop
// request) stays.
void releaseSignals() {
  for (std::size_t i = 0; i < caught_count; i++) {
    struct sigaction current = {};
    sigaction(caught[i].number, nullptr, &current);
    if (isOurs(current)) {
      sigaction(caught[i].number, &caught[i].previous, nullptr);
    }
  }
  caught_count = 0;
}

} // namespace

Terminal::Terminal()
    : m_open(false), m_input_fd(-1), m_output_fd(-1), m_owned_fd(-1), m_columns(0), m_rows(0) {}

Terminal::~Terminal() {
  close();
}

int Terminal::open() {
  // The output gets a descriptor of its own: standard output, the terminal
  // too, is held off it while the game shows.
  const bool standard = isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);
  const int fd = standard ? fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3)
                          : ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    return -1;
  }
  // What the program wrote before, short of a line's end, belongs on the
  // screen that the player goes back to, not on the game's.
  std::fflush(stdout);
  std::fflush(stderr);
  if (open(standard ? STDIN_FILENO : fd, fd) != 0) {
    ::close(fd);
    return -1;
  }
  m_owned_fd = fd;
  output_kept_off = 1;
  holdOutput();
  return 0;
}

int Terminal::open(int input_fd, int output_fd) {
  struct termios found = {};
  if (m_open || terminal_held || tcgetattr(input_fd, &found) != 0) {
    return -1;
  }
  static bool exit_hook_set = false;
  if (!exit_hook_set) {
    exit_hook_set = atexit(leaveAtExit) == 0;
  }
  saved_termios = found;
  // Raw input, read without waiting; Ctrl-C and Ctrl-Z still raise their
  // signals. No flow control, so that Ctrl-S cannot freeze the game.
  raw_termios = found;
  raw_termios.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
  raw_termios.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL | INLCR | IGNCR | ISTRIP);
  raw_termios.c_cc[VMIN] = 0;
  raw_termios.c_cc[VTIME] = 0;
  held_input_fd = input_fd;
  held_output_fd = output_fd;
  protocol_pushed = 0;
  suspended = 0;
  resized = 0;
  resumed = 0;
  terminal_held = 1;
  catchSignals();
  if (tcsetattr(input_fd, TCSANOW, &raw_termios) != 0) {
    terminal_held = 0;
    releaseSignals();
    return -1;
  }
  writeBytes(ENTER);
  m_open = true;
  m_input_fd = input_fd;
  m_output_fd = output_fd;
  m_input = TerminalInput();
  m_pending.clear();
  readSize();
  queryKeyboardProtocol();
  m_last_read = std::chrono::steady_clock::now();
  return 0;
}

void Terminal::close() {
  if (!m_open) {
    return;
  }
  // Lines still in the standard streams' buffers belong with what was held.
  std::fflush(stdout);
  std::fflush(stderr);
  if (terminal_held) {
    terminal_held = 0;
    leaveTerminal();
  }
  output_kept_off = 0;
  releaseSignals();
  if (m_owned_fd >= 0) {
    ::close(m_owned_fd);
  }
  m_open = false;
  m_input_fd = m_output_fd = m_owned_fd = -1;
}

int Terminal::getColumns() const {
  return m_columns;
}

int Terminal::getRows() const {
  return m_rows;
}

bool Terminal::takeRedraw() {
  bool redraw = false;
  if (resized) {
    resized = 0;
    readSize();
    redraw = true;
  }
  if (resumed) {
    resumed = 0;
    redraw = true;
  }
  return redraw;
}

void Terminal::readInput(std::vector<TerminalInputRecord> &records) {
  if (!m_open) {
    return;
  }
  records.insert(records.end(), m_pending.begin(), m_pending.end());
  m_pending.clear();
  const auto now = std::chrono::steady_clock::now();
  if (readAvailable()) {
    m_last_read = now;
  } else if (m_input.isPending() &&
             now - m_last_read >= std::chrono::milliseconds(TERMINAL_ESCAPE_WAIT)) {
    m_input.flush(m_parsed);
  }
  handOut(records);
}

int Terminal::write(const std::string &bytes) {
  const char *p_next = bytes.data();
  std::size_t left = bytes.size();
  while (m_open && left > 0) {
    const ssize_t written = ::write(m_output_fd, p_next, left);
    if (written > 0) {
      p_next += written;
      left -= static_cast<std::size_t>(written);
    } else if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // Someone made the descriptor non-blocking: wait for room.
      struct pollfd output = {m_output_fd, POLLOUT, 0};
      poll(&output, 1, 100);
    } else if (!(written < 0 && errno == EINTR)) {
      return -1;
    }
  }
  return m_open ? 0 : -1;
}

void Terminal::readSize() {
  struct winsize size = {};
  if (ioctl(m_output_fd, TIOCGWINSZ, &size) == 0) {
    m_columns = size.ws_col;
    m_rows = size.ws_row;
  }
}

bool Terminal::readAvailable() {
  bool got_bytes = false;
  char buffer[4096];
  // A bounded number of reads: a flood of input cannot hold up the pass.
  for (int reads = 0; reads < 16; reads++) {
    const ssize_t count = ::read(m_input_fd, buffer, sizeof buffer);
    if (count <= 0) {
      break;
    }
    got_bytes = true;
    m_input.feed(buffer, static_cast<std::size_t>(count), m_parsed);
  }
  return got_bytes;
}

void Terminal::queryKeyboardProtocol() {
  writeBytes(QUERY);
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(TERMINAL_QUERY_WAIT);
  bool answered = false;
  while (!answered) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      break;
    }
    struct pollfd input = {m_input_fd, POLLIN, 0};
    if (poll(&input, 1, static_cast<int>(left.count())) > 0) {
      readAvailable();
    }
    answered = handOut(m_pending);
  }
}

void Terminal::pushKeyboardProtocol() {
  writeBytes(PUSH_PROTOCOL);
  protocol_pushed = 1;
}

bool Terminal::handOut(std::vector<TerminalInputRecord> &records) {
  bool attributes_answered = false;
  for (const TerminalInputRecord &record : m_parsed) {
    switch (record.type) {
    case TERMINAL_PROTOCOL_REPLY:
      // Also an answer that came after the wait: the parser reads keys in
      // the protocol's form from it on.
      if (!protocol_pushed) {
        pushKeyboardProtocol();
      }
      break;
    case TERMINAL_ATTRIBUTES_REPLY:
      attributes_answered = true;
      break;
    case TERMINAL_INTERRUPT:
      raise(SIGINT);
      break;
    case TERMINAL_SUSPEND:
      raise(SIGTSTP);
      break;
    default:
      records.push_back(record);
      break;
    }
  }
  m_parsed.clear();
  return attributes_answered;
}

} // namespace qm
