// Helpers shared by the tests: the log's contents and paths to the data files.
#pragma once

#include <string>

namespace qm_test {

// Everything written to the log so far. The log must be flushing
// (LogManager::setFlush(true)) for the latest lines to be there.
std::string readLog();

// Restarts the log so that it holds no lines, with flushing on.
void restartLog();

// A path below the repository root (the test build passes it in
// QM_SOURCE_DIR), for the font, sprite and sound files.
std::string sourcePath(const std::string &relative);

// Writes text to a file in the working directory and returns its name.
std::string writeFile(const std::string &name, const std::string &text);

} // namespace qm_test
