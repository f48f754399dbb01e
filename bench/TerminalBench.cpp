// The bytes that the game sends a terminal in each pass of its loop: the
// whole game, in this process, shown on a pseudo-terminal of 100 x 30 cells
// whose other end counts what arrives. A pass in play must stay well under
// 300 bytes, and a pass that changes nothing must send nothing at all.
#include "GameData.h"
#include "GameManager.h"
#include "GameStart.h"
#include "ObjectListIterator.h"
#include "Test.h"
#include "WorldManager.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

constexpr int PASSES = 300; // ten seconds of play
constexpr unsigned short COLUMNS = 100;
constexpr unsigned short ROWS = 30;

// A pseudo-terminal standing in for standard input and output while the
// game runs, so that the terminal display takes it as the process's own.
class PseudoTerminal {
public:
  int open() {
    struct winsize size = {ROWS, COLUMNS, 0, 0};
    int follower = -1;
    if (openpty(&m_leader, &follower, nullptr, nullptr, &size) != 0) {
      return -1;
    }
    struct termios raw = {};
    tcgetattr(follower, &raw);
    cfmakeraw(&raw);
    tcsetattr(follower, TCSANOW, &raw);
    m_saved_input = dup(STDIN_FILENO);
    m_saved_output = dup(STDOUT_FILENO);
    dup2(follower, STDIN_FILENO);
    dup2(follower, STDOUT_FILENO);
    ::close(follower);
    fcntl(m_leader, F_SETFL, fcntl(m_leader, F_GETFL) | O_NONBLOCK);
    // The answer to the start-up query of a terminal without the keyboard
    // protocol, there before it is asked, so that nothing waits for it.
    send("\x1b[?62c");
    return 0;
  }

  void close() {
    dup2(m_saved_input, STDIN_FILENO);
    dup2(m_saved_output, STDOUT_FILENO);
    ::close(m_saved_input);
    ::close(m_saved_output);
    ::close(m_leader);
  }

  // What the game wrote since the last call, in bytes.
  long drain() const {
    long total = 0;
    char buffer[65536];
    ssize_t count = 0;
    while ((count = read(m_leader, buffer, sizeof buffer)) > 0) {
      total += count;
    }
    return total;
  }

  void send(const std::string &bytes) const {
    if (write(m_leader, bytes.data(), bytes.size()) < 0) {
      return;
    }
  }

private:
  int m_leader = -1;
  int m_saved_input = -1;
  int m_saved_output = -1;
};

// A pointer report, motion without a button, over the grid's column x.
std::string pointerAt(float x) {
  const int column = (COLUMNS - 80) / 2 + static_cast<int>(x) + 1;
  return "\x1b[<35;" + std::to_string(column) + ";" + std::to_string((ROWS - 24) / 2 + 22) + "M";
}

// Runs the passes with the game on the pseudo-terminal. Before each pass a
// player may send input, and says whether the pass is one to measure; the
// counters give the bytes of those after the first, which draws the whole
// screen.
template <typename Player> void runPasses(benchmark::State &state, Player player, bool freeze) {
  linkGameData();
  setenv("QUILLMOTH_DISPLAY", "terminal", 1);
  PseudoTerminal terminal;
  qm::GameManager &game_manager = qm::GameManager::getInstance();
  if (terminal.open() != 0 || game_manager.startUp() != 0) {
    state.SkipWithError("no pseudo-terminal for the game");
    return;
  }
  qm::Test().loadGameResources();
  player(terminal, true);
  if (freeze) {
    // Every object still and unchanging: the same frame pass after pass.
    qm::ObjectList all = qm::WorldManager::getInstance().getAllObjects();
    for (qm::ObjectListIterator it(&all); !it.isDone(); it.next()) {
      qm::Animation animation = it.currentObject()->getAnimation();
      animation.setSlowdownCount(-1);
      it.currentObject()->setAnimation(animation);
    }
  }
  long first = 0;
  long total = 0;
  long most = 0;
  long quiet = 0;
  int step_count = 0;
  long measured = 0;
  for (auto _ : state) {
    const bool measure = player(terminal, false);
    game_manager.runPass(step_count);
    const long bytes = terminal.drain();
    if (step_count++ == 0) {
      first = bytes;
      continue;
    }
    if (!measure) {
      continue;
    }
    measured++;
    total += bytes;
    most = std::max(most, bytes);
    quiet += bytes == 0;
  }
  game_manager.shutDown();
  terminal.close();
  const double later_passes = static_cast<double>(std::max(1L, measured));
  state.counters["first_pass_bytes"] = static_cast<double>(first);
  state.counters["bytes_per_pass"] = static_cast<double>(total) / later_passes;
  state.counters["max_bytes_per_pass"] = static_cast<double>(most);
  state.counters["quiet_pass_share"] = static_cast<double>(quiet) / later_passes;
}

bool showStartScreen(PseudoTerminal &, bool setting_up) {
  if (setting_up) {
    new GameStart;
  }
  return true;
}

// The start screen, whose animation moves every eighth pass.
void BM_TerminalStartScreenPass(benchmark::State &state) {
  runPasses(state, showStartScreen, false);
}
BENCHMARK(BM_TerminalStartScreenPass)->Iterations(PASSES)->Unit(benchmark::kMicrosecond);

// A game in play, the pointer following the ball so that it stays in play;
// should the ball get past all the same, the game-over screen is not
// measured.
void BM_TerminalGamePass(benchmark::State &state) {
  runPasses(
      state,
      [](PseudoTerminal &terminal, bool setting_up) {
        if (setting_up) {
          GameStart::createGame();
          return true;
        }
        qm::ObjectList balls = qm::WorldManager::getInstance().objectsOfType("Ball");
        qm::ObjectListIterator it(&balls);
        if (it.isDone()) {
          return false;
        }
        terminal.send(pointerAt(it.currentObject()->getPosition().getX()));
        return true;
      },
      false);
}
BENCHMARK(BM_TerminalGamePass)->Iterations(PASSES)->Unit(benchmark::kMicrosecond);

// The start screen with its animation stopped: every pass after the first
// must send nothing.
void BM_TerminalUnchangedPass(benchmark::State &state) {
  runPasses(state, showStartScreen, true);
}
BENCHMARK(BM_TerminalUnchangedPass)->Iterations(PASSES)->Unit(benchmark::kMicrosecond);

} // namespace
