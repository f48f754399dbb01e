#include "LogLines.h"

#include "TestSupport.h"

namespace qm_test {

int countLogLines(const std::string &message) {
  const std::string log = readLog();
  const std::string line = "Message : " + message;
  int count = 0;
  for (size_t pos = log.find(line); pos != std::string::npos; pos = log.find(line, pos + 1)) {
    count++;
  }
  return count;
}

} // namespace qm_test
