// Test support: Xvfb, scratch homes and program runs (see the header).
#include "tests/support/quoit_test_support.h"

// gtest before Xlib, whose macro None would break it.
#include <gtest/gtest.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char **environ;

namespace fs = std::filesystem;

static bool waitForExit(pid_t pid, int timeoutMs, int *status) {
  for (int waited = 0; waited <= timeoutMs; waited += 10) {
    if (waitpid(pid, status, WNOHANG) == pid) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

// Xvfb picks a free display number itself and writes it to the descriptor given by -displayfd.
// The test process itself may open dialogs on the server from several threads: Xlib is made
// thread-safe before anything else uses it.
XvfbServer::XvfbServer() {
  XInitThreads();
  int channel[2];
  if (pipe(channel) != 0) return;
  std::string fd = std::to_string(channel[1]);
  const char *arguments[] = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "+extension", "GLX",
                             "-nolisten", "tcp", nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, channel[0]);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = -1;
  int failed = posix_spawnp(&child, "Xvfb", &actions, nullptr, const_cast<char **>(arguments), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(channel[1]);
  if (failed) {
    close(channel[0]);
    return;
  }
  pid = child;
  std::string number;
  pollfd waiting{channel[0], POLLIN, 0};
  while (number.find('\n') == std::string::npos && poll(&waiting, 1, 15000) > 0) {
    char buffer[32];
    ssize_t got = read(channel[0], buffer, sizeof buffer);
    if (got <= 0) break;
    number.append(buffer, size_t(got));
  }
  close(channel[0]);
  if (number.empty() || number.find('\n') == std::string::npos) {
    kill(pid, SIGKILL);
    int status;
    waitpid(pid, &status, 0);
    pid = -1;
    return;
  }
  display = ":" + number.substr(0, number.find('\n'));
}

XvfbServer::~XvfbServer() {
  if (pid <= 0) return;
  int status;
  kill(pid, SIGTERM);
  if (!waitForExit(pid, 5000, &status)) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
}

const std::string &sharedDisplay() {
  static XvfbServer server;
  return server.display;
}

std::string sourceDirectory() { return QUOIT_SOURCE_DIR; }

std::string programPath(const char *name) { return std::string(QUOIT_BINARY_DIR) + "/" + name; }

// The home of a test stays after it for a look at what went wrong; the next run of the same
// test replaces it.
std::string makeScratchHome(const std::string &name) {
  fs::path scratch = fs::path(QUOIT_BINARY_DIR) / "scratch";
  fs::create_directories(scratch);
  for (const auto &entry : fs::directory_iterator(scratch))
    if (entry.path().filename().string().rfind(name + "-", 0) == 0) fs::remove_all(entry.path());
  fs::path home = scratch / (name + "-" + std::to_string(getpid()));
  // The working files a run in data/ leaves (trace, error log, temporary files, saved window
  // images) are not copied: tests that draw in data/ write them while this copies.
  static const char *const workingFiles[] = {"debug.quoit.txt", "quoit.err", "tmp", "hardcopy"};
  fs::create_directory(home);
  for (const auto &entry : fs::directory_iterator(fs::path(QUOIT_SOURCE_DIR) / "data")) {
    std::string name = entry.path().filename().string();
    if (std::find(std::begin(workingFiles), std::end(workingFiles), name) != std::end(workingFiles)) continue;
    fs::copy(entry.path(), home / name, fs::copy_options::recursive);
  }
  return home.string();
}

std::string readWholeFile(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void writeWholeFile(const std::string &path, const std::string &text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
}

static std::vector<std::string> programEnvironment(const std::string &home, const RunOptions &options) {
  std::vector<std::string> names = {"DISPLAY", "QUOIT", "QUOIT_TEST_ANSWER"};
  for (const auto &setting : options.environment) names.push_back(setting.first);
  std::vector<std::string> environment;
  for (char **entry = environ; *entry; entry++) {
    std::string text = *entry;
    std::string name = text.substr(0, text.find('='));
    bool replaced = false;
    for (const auto &n : names) replaced = replaced || n == name;
    if (!replaced) environment.push_back(text);
  }
  bool homeGiven = false;
  for (const auto &setting : options.environment) homeGiven = homeGiven || setting.first == "QUOIT";
  if (!homeGiven) environment.push_back("QUOIT=" + home);
  if (!options.display.empty()) environment.push_back("DISPLAY=" + options.display);
  if (options.unattendedDialogs) environment.push_back("QUOIT_TEST_ANSWER=1");
  for (const auto &setting : options.environment) environment.push_back(setting.first + "=" + setting.second);
  return environment;
}

RunResult runProgram(const std::string &program, const std::vector<std::string> &arguments, const std::string &home,
                     const RunOptions &options) {
  RunResult result;
  std::vector<std::string> environment = programEnvironment(home, options);
  std::vector<char *> argv{const_cast<char *>(program.c_str())};
  for (const auto &a : arguments) argv.push_back(const_cast<char *>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char *> envp;
  for (auto &e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string outPath = home + "/test.stdout", errPath = home + "/test.stderr";
  fs::remove(home + "/debug.quoit.txt");

  pid_t child = fork();
  if (child == 0) {
    setpgid(0, 0);
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || chdir(home.c_str()) != 0) _exit(127);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  if (child < 0) return result;
  int status = 0;
  if (!waitForExit(child, options.timeLimitSeconds * 1000, &status)) {
    result.timedOut = true;
    kill(-child, SIGKILL);
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
  } else if (WIFEXITED(status)) {
    result.exitCode = WEXITSTATUS(status);
  }
  result.standardOutput = readWholeFile(outPath);
  result.standardError = readWholeFile(errPath);
  result.trace = readWholeFile(home + "/debug.quoit.txt");
  return result;
}

std::string currentTestName() {
  const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
  return test ? std::string(test->test_suite_name()) + "." + test->name() : std::string("outside-a-test");
}

void enterScratchHome(std::string &home, std::string &previous) {
  previous = fs::current_path().string();
  // Parameterised tests have '/' in their names; a home is one directory.
  std::string name = currentTestName();
  for (char &c : name)
    if (c == '/') c = '_';
  home = makeScratchHome(name);
  fs::create_directories(fs::path(home) / "tmp");
  fs::current_path(home);
  unsetenv("DISPLAY");
  setenv("QUOIT_TEST_ANSWER", "1", 1);
}

void leaveScratchHome(const std::string &previous) { fs::current_path(previous); }
