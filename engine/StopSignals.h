// The signals that end the game as Q does: SIGINT, SIGTERM and SIGHUP, and
// Ctrl-C, which raises SIGINT. Free functions over the process's signal
// actions; the game manager catches them while it runs.
#pragma once

namespace qm {

// From now on the first stop signal asks the game to stop, and a second one
// goes to what handled it before: the terminal's restore, or the default
// end. A signal that the program was started to ignore (nohup) stays ignored.
void catchStopSignals();
// Puts back what handled the signals before, and forgets a request.
void releaseStopSignals();
// Whether a stop signal came since they were caught.
bool stopRequested();

} // namespace qm
