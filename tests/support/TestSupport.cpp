#include "TestSupport.h"

#include "LogManager.h"
#include "ObjectListIterator.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace qm_test {

std::string readLog() {
  std::ifstream log_file(qm::LOGFILE_NAME, std::ios::binary);
  std::stringstream contents;
  contents << log_file.rdbuf();
  return contents.str();
}

void restartLog() {
  qm::LogManager &log_manager = qm::LogManager::getInstance();
  log_manager.shutDown();
  log_manager.startUp();
  log_manager.setFlush(true);
}

std::string sourcePath(const std::string &relative) {
  const char *source_dir = std::getenv("QM_SOURCE_DIR");
  return std::string(source_dir ? source_dir : ".") + "/" + relative;
}

std::string writeFile(const std::string &name, const std::string &text) {
  std::ofstream file(name, std::ios::binary | std::ios::trunc);
  file << text;
  return name;
}

std::vector<qm::Object *> listed(const qm::ObjectList &list) {
  std::vector<qm::Object *> objects;
  qm::ObjectListIterator li(&list);
  for (li.first(); !li.isDone(); li.next()) {
    objects.push_back(li.currentObject());
  }
  return objects;
}

} // namespace qm_test
