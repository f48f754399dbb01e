// The log: every message of the engine and the game goes to "quillmoth.log"
// in the working directory, each behind the prefix "Message : ".
// A singleton, started first and shut down last by the game manager.
#pragma once

#include "Manager.h"

#include <cstdio>
#include <string>

namespace qm {

inline const std::string LOGFILE_NAME = "quillmoth.log";

class LogManager : public Manager {
public:
  static LogManager &getInstance();
  ~LogManager() override;

  // Opens (truncates) the log file. When it cannot be created, says so once
  // on standard error and still succeeds: the game runs without a log.
  int startUp() override;
  void shutDown() override;
  // Whether messages reach a file at all.
  bool isFileOpen() const;

  void setFlush(bool do_flush);

  // printf-style; returns the number of characters written, or -1 when a
  // write failed or no log file is open.
  int writeLog(const char *fmt, ...) const __attribute__((format(printf, 2, 3)));

private:
  LogManager();
  LogManager(const LogManager &);
  void operator=(const LogManager &);

  bool m_do_flush;
  FILE *m_p_f;
  bool m_is_failure_reported;
};

} // namespace qm
