// Keeps what the program writes to its standard output and error off the
// terminal while a game shows it there, and writes it out once the terminal
// is given back. Free functions over descriptors 1 and 2; the terminal calls
// them as it takes and gives back the screen.
#pragma once

#include <cstddef>

namespace qm {

// Descriptors 1 and 2 that are a terminal write to memory from now on;
// those that are not (a file, a pipe) are left alone. Safe in a signal
// handler once it has run outside one.
void holdOutput();
// Puts the descriptors back and writes out what each of them held, in the
// order it was written. Safe in a signal handler; nothing when none is held.
void releaseOutput();

// Writes all count bytes to fd, going on after interruptions, until it fails.
// Safe in a signal handler.
void writeFully(int fd, const char *bytes, std::size_t count);

} // namespace qm
