// The terminal taken and given back, on a pseudo-terminal whose other end the
// test plays: what the terminal is sent, and its line discipline after every
// way out, in a child process for those that end it.
#include "Terminal.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const std::string ENTER = "\x1b[?1049h\x1b[?25l\x1b=\x1b[?1003h\x1b[?1006h";
const std::string QUERY = "\x1b[?u\x1b[c";
const std::string PUSH = "\x1b[>11u";
const std::string POP = "\x1b[<u";
const std::string LEAVE = "\x1b[?1006l\x1b[?1003l\x1b>\x1b[0m\x1b[?25h\x1b[?1049l";
// What a terminal that speaks the keyboard protocol answers, and one that
// does not. Sent ahead, they wait for the query in the terminal's input.
const std::string SPEAKS = "\x1b[?0u\x1b[?62;c";
const std::string DOES_NOT = "\x1b[?1;2c";

// The test's end of a pseudo-terminal of 100 x 30 cells, which the terminal
// takes at the other end.
struct Pty {
  Pty() {
    struct winsize size = {30, 100, 0, 0};
    openpty(&master, &slave, nullptr, nullptr, &size);
    // Answers sent ahead would be echoed, as no real terminal's are.
    tcgetattr(slave, &found);
    found.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(slave, TCSANOW, &found);
  }
  ~Pty() {
    close(master);
    close(slave);
  }
  void send(const std::string &bytes) const {
    EXPECT_EQ(write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // What the terminal was sent, until it has been quiet for 0.2 s.
  std::string received() const {
    std::string bytes;
    char buffer[4096];
    struct pollfd input = {master, POLLIN, 0};
    for (ssize_t count = 1; count > 0 && poll(&input, 1, 200) > 0;) {
      count = read(master, buffer, sizeof buffer);
      bytes.append(buffer, static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
    }
    return bytes;
  }
  bool isAsFound() const {
    struct termios now = {};
    tcgetattr(slave, &now);
    return now.c_lflag == found.c_lflag && now.c_iflag == found.c_iflag &&
           now.c_cc[VMIN] == found.c_cc[VMIN];
  }

  int master = -1;
  int slave = -1;
  struct termios found = {};
};

TEST(Terminal, TakesTheTerminalRawAndNoticesItsSize) {
  Pty pty;
  pty.send(DOES_NOT);
  qm::Terminal terminal;
  ASSERT_EQ(terminal.open(pty.slave, pty.slave), 0);
  EXPECT_EQ(qm::Terminal().open(pty.slave, pty.slave), -1);
  struct termios raw = {};
  tcgetattr(pty.slave, &raw);
  EXPECT_EQ(raw.c_lflag & (ICANON | ECHO | ISIG), static_cast<tcflag_t>(ISIG));
  EXPECT_FALSE(terminal.takeRedraw());
  struct winsize bigger = {40, 120, 0, 0};
  ioctl(pty.master, TIOCSWINSZ, &bigger);
  raise(SIGWINCH);
  EXPECT_TRUE(terminal.takeRedraw());
  EXPECT_EQ(terminal.getColumns(), 120);
  EXPECT_EQ(terminal.getRows(), 40);
  EXPECT_EQ(terminal.write("ab"), 0);
  terminal.close();
  EXPECT_EQ(pty.received(), ENTER + QUERY + "ab" + LEAVE);
}

// Taken as the game takes it, on its standard input and output: what the
// program printed before, with no line's end, comes out ahead of the game's
// screen.
TEST(Terminal, PrintedBeforeGoesToTheScreenLeftBehind) {
  Pty pty;
  pty.send(DOES_NOT);
  const pid_t child = fork();
  if (child == 0) {
    dup2(pty.slave, STDIN_FILENO);
    dup2(pty.slave, STDOUT_FILENO);
    std::fputs("loading", stdout);
    qm::Terminal terminal;
    const int opened = terminal.open();
    terminal.close();
    _exit(opened == 0 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(pty.received().substr(0, 7 + ENTER.size()), "loading" + ENTER);
}

// Each way out in a child of its own, on a terminal that speaks the keyboard
// protocol for the stop (Ctrl-Z as the protocol sends it): stopped with the
// terminal given back, taken again on SIGCONT, asking for a whole picture.
TEST(Terminal, GivesTheTerminalBackOnEveryWayOut) {
  for (const std::string how : {"SIGTERM", "fault", "exit", "Ctrl-Z"}) {
    Pty pty;
    const bool ctrl_z = how == "Ctrl-Z";
    pty.send(ctrl_z ? SPEAKS : DOES_NOT);
    const pid_t child = fork();
    if (child == 0) {
      // A group of its own with its parent outside: a stop is not dropped
      // as in an orphaned group.
      setpgid(0, 0);
      qm::Terminal terminal;
      terminal.open(pty.slave, pty.slave);
      if (how == "SIGTERM") {
        raise(SIGTERM);
      } else if (how == "fault") {
        // On a page that cannot be written, where no sanitizer sees it
        // coming; its report would only clutter the output.
        dup2(open("/dev/null", O_WRONLY), STDERR_FILENO);
        *static_cast<volatile char *>(
            mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)) = 1;
      } else if (how == "exit") {
        exit(0);
      }
      std::vector<qm::TerminalInputRecord> records;
      for (int tries = 0; tries < 5000 && !terminal.takeRedraw(); tries++) {
        terminal.readInput(records);
        usleep(1000);
      }
      const bool resumed_once = records.empty() && !terminal.takeRedraw();
      terminal.close();
      _exit(resumed_once ? 0 : 1);
    }
    const std::string taken = ENTER + QUERY + (ctrl_z ? PUSH : "");
    if (ctrl_z) {
      EXPECT_EQ(pty.received(), taken);
      pty.send("\x1b[122;5u");
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, WUNTRACED), child) << how;
    EXPECT_EQ(pty.received(), (ctrl_z ? "" : taken) + (ctrl_z ? POP : "") + LEAVE) << how;
    EXPECT_TRUE(pty.isAsFound()) << how;
    if (ctrl_z) {
      ASSERT_TRUE(WIFSTOPPED(status));
      kill(child, SIGCONT);
      ASSERT_EQ(waitpid(child, &status, 0), child);
      EXPECT_EQ(pty.received(), ENTER + PUSH + POP + LEAVE);
    }
    // A fault ends as whatever handled it before decides: a sanitizer exits.
    if (how != "fault") {
      EXPECT_EQ(status, how == "SIGTERM" ? SIGTERM : 0) << how;
    }
  }
}

} // namespace
