// GUI test helpers: a private Xvfb for the test program, child processes that run GLUT, and xdotool.
#pragma once
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

// One Xvfb for the whole test program, on a display number the server picks itself.
class XvfbEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "+extension", "GLX",
             "-nolisten", "tcp", "-noreset", (char *)nullptr);
      _exit(127);
    }
    close(fds[1]);
    char number[16] = {0};
    ssize_t n = read(fds[0], number, sizeof number - 1);
    close(fds[0]);
    if (n > 0) {
      display_ = std::string(":") + std::to_string(atoi(number));
      setenv("DISPLAY", display_.c_str(), 1);
    }
  }
  void TearDown() override {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  static const std::string &display() { return display_; }

 private:
  pid_t pid_ = -1;
  static inline std::string display_;
};

// Runs body in a child process with its standard output in trace; the child ends with body's result.
inline pid_t runChild(const std::string &trace, const std::function<int()> &body) {
  fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    if (!freopen(trace.c_str(), "w", stdout)) _exit(126);
    _exit(body());
  }
  return pid;
}

// The child's exit code, or -1 when it did not end within the time; a child still running is killed.
inline int waitChild(pid_t pid, double seconds) {
  auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > end) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
}

inline bool childRunning(pid_t pid) { return waitpid(pid, nullptr, WNOHANG) == 0; }

// The output of a shell command that the test itself builds.
inline std::string commandOutput(const std::string &command) {
  std::string out;
  FILE *p = popen(command.c_str(), "r");
  if (!p) return out;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, p)) out += buffer;
  pclose(p);
  return out;
}

// The id of the window whose whole title matches the regular expression, waiting up to the time.
inline std::string findWindow(const std::string &titleRegex, double seconds) {
  auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    std::string id = commandOutput("xdotool search --name '" + titleRegex + "' 2>/dev/null | head -1");
    if (!id.empty()) return id.substr(0, id.find('\n'));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return "";
}

inline std::string readFile(const std::string &path) {
  std::string text;
  if (FILE *f = fopen(path.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    fclose(f);
  }
  return text;
}
