#include "StopSignals.h"

#include <csignal>
#include <cstddef>

namespace qm {

namespace {

constexpr int STOP_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};
constexpr std::size_t STOP_SIGNAL_COUNT = sizeof(STOP_SIGNALS) / sizeof(int);

// The loop reads it after each pass and ends the game as Q ends it, so the
// managers shut down in order and the log reaches its file.
volatile std::sig_atomic_t stop_requested = 0;
// What handled each signal before; written before the handler is in place.
struct sigaction previous_actions[STOP_SIGNAL_COUNT];

// Handing the signal back at once, rather than resetting it to the default
// action, keeps a handler that was there before in the chain: a second
// signal to a game that does not end still gives the terminal back.
extern "C" void requestStop(int signal_number) {
  stop_requested = 1;
  for (std::size_t i = 0; i < STOP_SIGNAL_COUNT; i++) {
    if (STOP_SIGNALS[i] == signal_number) {
      sigaction(signal_number, &previous_actions[i], nullptr);
    }
  }
}

// Whether the action is the plain handler given.
bool isHandledBy(const struct sigaction &action, void (*p_handler)(int)) {
  return !(action.sa_flags & SA_SIGINFO) && action.sa_handler == p_handler;
}

} // namespace

void catchStopSignals() {
  for (std::size_t i = 0; i < STOP_SIGNAL_COUNT; i++) {
    struct sigaction current = {};
    sigaction(STOP_SIGNALS[i], nullptr, &current);
    if (isHandledBy(current, requestStop) || isHandledBy(current, SIG_IGN)) {
      continue;
    }
    previous_actions[i] = current;
    struct sigaction stop = {};
    stop.sa_handler = requestStop;
    sigemptyset(&stop.sa_mask);
    sigaction(STOP_SIGNALS[i], &stop, nullptr);
  }
}

void releaseStopSignals() {
  for (std::size_t i = 0; i < STOP_SIGNAL_COUNT; i++) {
    struct sigaction current = {};
    sigaction(STOP_SIGNALS[i], nullptr, &current);
    if (isHandledBy(current, requestStop)) {
      sigaction(STOP_SIGNALS[i], &previous_actions[i], nullptr);
    }
  }
  stop_requested = 0;
}

bool stopRequested() {
  return stop_requested != 0;
}

} // namespace qm
