// Test support: a private Xvfb display, scratch copies of the home directory, and runs of the
// real quoit, patconv and kovex programs with a time limit.
#pragma once
#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

// An Xvfb server on a free display number (GLX, 24-bit colour); stopped by its destructor.
struct XvfbServer {
  pid_t pid = -1;
  std::string display;  // ":N" once started
  XvfbServer();
  ~XvfbServer();
  bool running() const { return pid > 0; }
  XvfbServer(const XvfbServer &) = delete;
  XvfbServer &operator=(const XvfbServer &) = delete;
};

// One Xvfb server for the whole test program: started on first use, stopped when the program
// ends (Tk keeps its display connections open, so a test program uses a single server).
const std::string &sharedDisplay();

struct RunResult {
  int exitCode = -1;  // the program's exit status, or -1 when it was killed or timed out
  bool timedOut = false;
  std::string standardOutput;
  std::string standardError;
  std::string trace;  // the trace file debug.quoit.txt the program left in its home
};

struct RunOptions {
  std::string display;  // empty: the program runs without any X display
  int timeLimitSeconds = 30;
  std::vector<std::pair<std::string, std::string>> environment;  // set for the program only
  bool unattendedDialogs = true;  // QUOIT_TEST_ANSWER=1, so a dialog answers by itself
};

std::string sourceDirectory();
std::string programPath(const char *name);  // quoit, patconv or kovex of this build
std::string makeScratchHome(const std::string &name);  // a fresh copy of data/
std::string currentTestName();                        // "Suite.Test" of the running test
std::string readWholeFile(const std::string &path);
void writeWholeFile(const std::string &path, const std::string &text);
RunResult runProgram(const std::string &program, const std::vector<std::string> &arguments, const std::string &home,
                     const RunOptions &options);

// Runs in a fresh scratch home (the working directory during the test) without an X display,
// so a message that would open a dialog cannot wait for a person.
void enterScratchHome(std::string &home, std::string &previous);
void leaveScratchHome(const std::string &previous);
