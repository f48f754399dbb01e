#include "LogManager.h"
#include "Manager.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using qm_test::readLog;

namespace {

class Log : public ::testing::Test {
protected:
  void SetUp() override { qm_test::restartLog(); }
  void TearDown() override { qm_test::restartLog(); }

  qm::LogManager &log_manager = qm::LogManager::getInstance();
};

TEST(Manager, StartsOnceUntilShutDown) {
  qm::Manager manager;
  EXPECT_EQ("Manager", manager.getType());
  EXPECT_FALSE(manager.isStarted());
  EXPECT_EQ(0, manager.startUp());
  EXPECT_EQ(-1, manager.startUp());
  EXPECT_TRUE(manager.isStarted());
  manager.shutDown();
  EXPECT_FALSE(manager.isStarted());
  EXPECT_EQ(0, manager.startUp());
}

TEST_F(Log, WritesThePrefixAndTheMessageAndCountsBoth) {
  EXPECT_EQ("LogManager", log_manager.getType());
  EXPECT_EQ(39, log_manager.writeLog("Error! Sprite does not exist\n"));
  EXPECT_EQ("Message : Error! Sprite does not exist\n", readLog());
}

TEST_F(Log, FormatsLikePrintfAndAddsNothing) {
  int marker = 0;
  char expected[64];
  snprintf(expected, sizeof expected, "Message : points -7 %p\n", static_cast<void *>(&marker));
  EXPECT_EQ(static_cast<int>(std::string(expected).size()),
            log_manager.writeLog("%s %d %p\n", "points", -7, static_cast<void *>(&marker)));
  // No newline of its own: a message without one runs into the next.
  log_manager.writeLog("a");
  log_manager.writeLog("b\n");
  EXPECT_EQ(std::string(expected) + "Message : aMessage : b\n", readLog());
}

TEST_F(Log, StartUpTruncatesButASecondStartUpKeepsTheFile) {
  log_manager.writeLog("from an earlier run\n");
  qm_test::restartLog();
  log_manager.writeLog("kept\n");
  EXPECT_EQ(-1, log_manager.startUp());
  log_manager.writeLog("still writing\n");
  EXPECT_EQ("Message : kept\nMessage : still writing\n", readLog());
}

TEST_F(Log, WithoutFlushMessagesWaitForShutDown) {
  log_manager.setFlush(false);
  log_manager.writeLog("buffered\n");
  EXPECT_EQ("", readLog());
  log_manager.shutDown();
  EXPECT_FALSE(log_manager.isStarted());
  EXPECT_EQ("Message : buffered\n", readLog());
}

TEST_F(Log, WritingWithNoFileOpenFailsAndWritesNowhere) {
  log_manager.writeLog("before\n");
  log_manager.shutDown();
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const int written = log_manager.writeLog("lost %d\n", 1);
  EXPECT_EQ("", ::testing::internal::GetCapturedStdout());
  EXPECT_EQ("", ::testing::internal::GetCapturedStderr());
  EXPECT_EQ(-1, written);
  EXPECT_EQ("Message : before\n", readLog());
}

} // namespace
