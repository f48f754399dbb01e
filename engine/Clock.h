// A microsecond stopwatch on the wall clock. A local of GameManager::run,
// which times each pass with it and sleeps off the rest of the frame.
#pragma once

namespace qm {

class Clock {
public:
  Clock();

  // Microseconds since the last reset; resets.
  long delta();
  // Microseconds since the last reset; does not reset.
  long split() const;
  // Sleeps slp_time microseconds; nanosleep's result (-1 at once for a
  // negative time).
  int sleep(long slp_time) const;

private:
  long m_prev_time;
};

} // namespace qm
