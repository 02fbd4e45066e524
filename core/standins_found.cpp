// Stand-ins for the preferences, platform, utility and Tcl-thread functions that start-up, local
// texts and messages call before their own modules provide them. Delete when those land.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/patternloop.h"
#include "core/prefs.h"
#include "core/tclthreads.h"
#include "core/utils.h"

// Platform layer.
int qChdir(const char *path) { return chdir(path); }

const char *qGetcwd() {
  static char buffer[201];
  if (!getcwd(buffer, sizeof buffer)) buffer[0] = '\0';
  return buffer;
}

int qMkdir(const char *path) {
  if (mkdir(path, 0777) == 0) return 0;
  qMsg(QMSG_ERROR, localText(44), path);
  return 1;
}

const char *qNextDirEntry(const char *directory) {
  static DIR *walk = nullptr;
  static std::string walkDirectory;
  if (!walk) {
    walk = opendir(directory);
    if (!walk) {
      qMsg(0, "directory '%s' not found \nin directory '%s'", directory, qGetcwd());
      return nullptr;
    }
    walkDirectory = directory;
  }
  while (dirent *entry = readdir(walk)) {
    std::string path = walkDirectory + "/" + entry->d_name;
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return entry->d_name;
  }
  closedir(walk);
  walk = nullptr;
  return nullptr;
}

int InitNothing(const char *) { return 0; }
int qInitWindowSystem() { return 0; }
int qOpenWindows() {
  qMsg(QMSG_DEBUG, "qOpenWindows: the 3D window is not available yet\n");
  return 0;
}
void qQuitHook() {}
void qShutdownHook() {}

// Preferences: the defaults this part of the program needs; the file is not read yet.
void readPreferences(int again) {
  FILE *file = fopen("quoit.prefsV9", "r");
  if (file) {
    fclose(file);
  } else if (const char *home = getenv("QUOIT")) {
    if (chdir(home) != 0) fprintf(stdout, "cannot change into QUOIT directory %s\n", home);
  }
  qPrefs.homeDirectory = qGetcwd();
  if (again) return;
  qPrefs.width = 320;
  qPrefs.height = 256;
  qPrefs.language = 1;
  qPrefs.temp = "tmp/";
  qPrefs.hardcopy = "tmp/";
  qPrefs.povout = "tmp/";
  qPrefs.siteswapdir = "m";
  qPrefs.multihand = 2;
  qPrefs.freq = 25.0;
  qPrefs.timefactor = 1.0;
}

int scanPreferenceLine(const char *line) {
  qMsg(QMSG_DEBUG, "scanPreferenceLine(%s): preferences are not available yet\n", line);
  return 0;
}

// Utilities.
std::string backslashToSlash(const std::string &source) {
  std::string out = source;
  for (char &c : out)
    if (c == '\\') c = '/';
  return out;
}

std::string patternFileArgument(const char *name) {
  return name[0] >= '0' && name[0] <= '9' ? std::string("m/") + name : std::string(name);
}

const char *directoryOfPath(const char *path) {
  static std::string directory;
  directory = backslashToSlash(path);
  size_t last = directory.rfind('/');
  directory = last == std::string::npos ? std::string() : directory.substr(0, last + 1);
  return directory.c_str();
}

// Tcl threads: no dialog thread runs yet; the signals that need none work.
std::atomic<int> qSignalSlots[5];
int qTclThreadIndex = 2;
int qTclUsed = 0;

int qStartTclThread(int n) {
  qTclThreadIndex = n;
  qMsg(QMSG_DEBUG, "qStartTclThread(%d): the Tcl dialog thread is not available yet\n", n);
  return 0;
}

int qKill(int thread, int signal) {
  if (signal == 3) {
    restartRequest = 1;
  } else if (signal == 10 || (signal >= 40 && signal <= 60)) {
    if (thread > 1 && thread < 5) qSignalSlots[thread] = signal;
  } else if (signal != 18 && signal != 35 && signal != 36) {
    qMsg(QMSG_ERROR, localText(45), signal, "qKill");
  }
  return 0;
}
