// The real program started with "debug": the loaded pattern's flights of every object reach the
// trace file.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/quoit_test_support.h"

namespace {

TEST(DebugDumpGui, DebugWordDumpsEveryObjectsFlightsToTheTrace) {
  ASSERT_FALSE(sharedDisplay().empty());
  std::string home = makeScratchHome(currentTestName());
  RunOptions options;
  options.display = sharedDisplay();
  options.timeLimitSeconds = 8;  // the program runs until it is stopped
  RunResult run = runProgram(programPath("quoit"), {"debug", "m/3ball_cascade"}, home, options);
  const std::string &trace = run.trace;
  size_t begin = trace.find("start outputFlugbahnen"), end = trace.find("end outputFlugbahnen");
  ASSERT_NE(begin, std::string::npos) << trace;
  ASSERT_NE(end, std::string::npos) << trace;
  std::string dump = trace.substr(begin, end - begin);
  for (const char *object : {"Objekt 0: 'a'", "Objekt 1: 'b'", "Objekt 2: 'c'"})
    EXPECT_NE(dump.find(object), std::string::npos) << object << "\n" << dump;
  // Every object's chain: the copy of its last flight at P 0, then flights and hold slots.
  for (const char *segment : {"\nP 0 ", "\nP 2 ", "\nP 4 "}) {
    int count = 0;
    for (size_t at = dump.find(segment); at != std::string::npos; at = dump.find(segment, at + 1)) count++;
    EXPECT_EQ(count, 3) << segment << "\n" << dump;
  }
}

}  // namespace
