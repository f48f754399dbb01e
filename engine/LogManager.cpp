#include "LogManager.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>

namespace qm {

LogManager::LogManager() : m_do_flush(false), m_p_f(nullptr), m_is_failure_reported(false) {
  setType("LogManager");
}

LogManager::~LogManager() {
  shutDown();
}

LogManager &LogManager::getInstance() {
  static LogManager log_manager;
  return log_manager;
}

int LogManager::startUp() {
  // Reopening while started would lose the open handle.
  if (isStarted()) {
    return -1;
  }
  m_p_f = fopen(LOGFILE_NAME.c_str(), "w");
  // The game plays on without its log, but whoever looks for it should know
  // why it is not there; once is enough for a program that starts it again.
  if (!m_p_f && !m_is_failure_reported) {
    m_is_failure_reported = true;
    std::fprintf(stderr, "No log: cannot create %s here (%s); running without a log.\n",
                 LOGFILE_NAME.c_str(), std::strerror(errno));
  }
  return Manager::startUp();
}

void LogManager::shutDown() {
  if (m_p_f) {
    fclose(m_p_f);
    m_p_f = nullptr;
  }
  Manager::shutDown();
}

bool LogManager::isFileOpen() const {
  return m_p_f != nullptr;
}

void LogManager::setFlush(bool do_flush) {
  m_do_flush = do_flush;
}

int LogManager::writeLog(const char *fmt, ...) const {
  // Without a file there is nowhere to write: the message is dropped.
  if (!m_p_f) {
    return -1;
  }
  const int prefix_count = fprintf(m_p_f, "Message : ");
  va_list args;
  va_start(args, fmt);
  const int text_count = vfprintf(m_p_f, fmt, args);
  va_end(args);
  if (m_do_flush) {
    fflush(m_p_f);
  }
  if (prefix_count < 0 || text_count < 0) {
    return -1;
  }
  return prefix_count + text_count;
}

} // namespace qm
