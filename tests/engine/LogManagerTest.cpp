#include "LogManager.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

const char *const LINE = "Error! Sprite does not exist\n";
const char *const LOGGED_LINE = "Message : Error! Sprite does not exist\n";

TEST(LogManager, WritesTheExactLineAndCountsIt) {
  qm_test::restartLog();
  qm::LogManager &log_manager = qm::LogManager::getInstance();
  EXPECT_EQ(log_manager.writeLog(LINE), 39);
  log_manager.writeLog("%s %d", "points", -7); // printf-like, adding no newline
  EXPECT_EQ(qm_test::readLog(), std::string(LOGGED_LINE) + "Message : points -7");
}

TEST(LogManager, StartingAgainWhileOpenKeepsTheFileAndItsHandle) {
  qm_test::restartLog();
  qm::LogManager &log_manager = qm::LogManager::getInstance();
  log_manager.writeLog(LINE);
  EXPECT_EQ(log_manager.startUp(), -1);
  EXPECT_EQ(log_manager.writeLog(LINE), 39);
  EXPECT_EQ(qm_test::readLog(), std::string(LOGGED_LINE) + LOGGED_LINE);
}

TEST(LogManager, WritesNothingAnywhereOnceShutDown) {
  qm_test::restartLog();
  qm::LogManager &log_manager = qm::LogManager::getInstance();
  log_manager.writeLog(LINE);
  log_manager.shutDown();
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(log_manager.writeLog("lost\n"), -1);
  EXPECT_EQ(testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(qm_test::readLog(), LOGGED_LINE);
}

} // namespace
