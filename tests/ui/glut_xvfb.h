// GUI test helpers: a private Xvfb for the test program, child processes that run GLUT, and xdotool.
#pragma once
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

// One Xvfb for the test program, started by the first test that asks for it and stopped at the end by
// the process that started it (never by a child that ends with exit). Test programs of several builds
// run at the same time, so display numbers are tried from a number of our own upward until a server of
// ours answers.
class PrivateXvfb {
 public:
  static const std::string &display() {
    static PrivateXvfb server;
    return server.display_;
  }
  ~PrivateXvfb() {
    if (getpid() == owner_) stop();
  }

 private:
  PrivateXvfb() {
    for (int n = 300 + getpid() % 2000, tries = 0; tries < 40; n++, tries++) {
      std::string name = ":" + std::to_string(n);
      pid_ = fork();
      if (pid_ == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1280x1024x24", "+extension", "GLX", "-nolisten",
               "tcp", "-noreset", (char *)nullptr);
        _exit(127);
      }
      if (serverAnswers(name)) {
        display_ = name;
        setenv("DISPLAY", name.c_str(), 1);
        return;
      }
      stop();
    }
  }
  // True when our server runs and the display answers; a server that lost the display number ends.
  bool serverAnswers(const std::string &name) {
    for (int i = 0; i < 100; i++) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      if (waitpid(pid_, nullptr, WNOHANG) != 0) {
        pid_ = -1;
        return false;
      }
      if (Display *d = XOpenDisplay(name.c_str())) {
        XCloseDisplay(d);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return waitpid(pid_, nullptr, WNOHANG) == 0;
      }
    }
    return false;
  }
  void stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
  }
  pid_t owner_ = getpid();
  pid_t pid_ = -1;
  std::string display_;
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
