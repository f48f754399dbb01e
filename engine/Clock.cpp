#include "Clock.h"

#include <ctime>

namespace qm {

namespace {

long nowMicroseconds() {
  struct timespec now_ts;
  clock_gettime(CLOCK_REALTIME, &now_ts);
  return static_cast<long>(now_ts.tv_sec) * 1000000L + now_ts.tv_nsec / 1000;
}

} // namespace

Clock::Clock() : m_prev_time(nowMicroseconds()) {}

long Clock::delta() {
  const long now = nowMicroseconds();
  const long elapsed = now - m_prev_time;
  m_prev_time = now;
  return elapsed;
}

long Clock::split() const {
  return nowMicroseconds() - m_prev_time;
}

int Clock::sleep(long slp_time) const {
  // A negative time makes negative fields, which nanosleep refuses at once.
  struct timespec sleep_ts;
  sleep_ts.tv_sec = slp_time / 1000000;
  sleep_ts.tv_nsec = (slp_time % 1000000) * 1000;
  return nanosleep(&sleep_ts, nullptr);
}

} // namespace qm
