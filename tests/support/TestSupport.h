// Helpers shared by the tests: the log's contents, paths to the data files,
// files written for a test and the contents of object lists.
#pragma once

#include <string>
#include <vector>

namespace qm {
class Object;
class ObjectList;
} // namespace qm

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

// The list's objects in its order.
std::vector<qm::Object *> listed(const qm::ObjectList &list);

} // namespace qm_test
