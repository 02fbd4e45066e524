// Start-up and shutdown: main's steps with their exit codes, the command line, the temporary
// directory, the one-time initialisation and the release of everything at the end.
#include "app/startup.h"

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "core/Tcl.h"
#include "app/framestep.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "app/patternloop.h"
#include "app/wiring.h"
#include "core/prefs.h"
#include "core/random.h"
#include "core/viewrecords.h"
#include "core/tclthreads.h"
#include "core/userfiles.h"
#include "core/utils.h"
#include "pattern/catalogue.h"
#include "pattern/store.h"
#include "scene/classic_renderer.h"
#include "scene/objects.h"
#include "scene/textures.h"
#include "scene/vrml/modeltree.h"
#include "ui/camera.h"
#include "ui/glut_windows.h"
#include "ui/keyframes.h"
#include "ui/modes.h"
#include "ui/remote.h"

char converterOptions[100];
double randomInterval;
double orderInterval;
int checkLanguagesRequested;
int cleanUpDone;

static const char *const quoitVersion = "V14.8";
enum { MODEL_NAME_MAX = 95 };

// The standard output the program was started with; standard output itself becomes the trace file.
static int startOutput = -1;
// The temporary directory once it is set up: only this directory is ever emptied.
static std::string preparedTempDirectory;
// Set when the first pattern could not be loaded: the program then ends with EXIT_LOAD_FAILED.
static int firstLoadFailed;

bool openTraceFile() {
  fflush(stdout);
  FILE *trace = createOwnFile(TRACE_FILE);
  if (!trace) {
    fprintf(stderr, "cannot create the trace file %s (%s); debug texts go to standard output\n", TRACE_FILE,
            fileErrorReason(errno));
    return false;
  }
  if (startOutput < 0) startOutput = dup(STDOUT_FILENO);
  dup2(fileno(trace), STDOUT_FILENO);
  fclose(trace);
  return true;
}

// Makes sure a directory exists: changing into it is the test, then back home.
static void ensureDirectory(const std::string &path) {
  if (qChdir(path.c_str()) == 0)
    qChdir(qPrefs.homeDirectory.c_str());
  else
    qMkdir(path.c_str());
}

int quoitMain(int argc, char **argv) {
  connectLayers();
  openTraceFile();
  qArgc = argc;
  qArgv = argv;
  if (qInitWindowSystem() != 0) return 11;
  // The texts come before the preferences file, so that its messages can use them.
  enterHomeDirectory();
  remove(TCL_INFO_FILE);
  ensureDirectory("tmp");
  if (readLocalTexts() != 0) return 12;
  readPreferences(0);
  if (!qPrefs.notcl) {
    if (qStartTclThread(2) != 0) return 17;
    atexit(exitHandler);
  }
  if (parseCommandLine(argc, argv) == 1) {
    cleanUp(0);
    return 13;
  }
  setupTempDirectory();
  if (readShirtList() != 0) {
    cleanUp(0);
    return 14;
  }
  if ((qPrefs.displayFlags & 1) && InitNothing(argv[0]) != 0) {
    cleanUp(0);
    return 15;
  }
  if (checkLanguagesRequested) {
    CheckLanguages();
    cleanUp(0);
    return 0;
  }
  int error = InitOnce();
  if (error != 0) {
    qMsg(QMSG_ERROR, "InitOnce died with error #%d\n", error);
    cleanUp(0);
    return 16;
  }
  do {
    nextPatternAction = loadFirstPatternAndRun(nextPatternAction);
  } while (cleanUp(nextPatternAction) == 1);
  return firstLoadFailed ? EXIT_LOAD_FAILED : 0;
}

static double intervalWord(int i, int argc, char **argv) {
  return i + 1 < argc ? fabs(atof(argv[i + 1])) : 10.0;
}

static void addConverterOption(const char *word) {
  size_t used = strlen(converterOptions);
  size_t length = strlen(word + 1);
  if (used + length + 1 < sizeof converterOptions) {
    snprintf(converterOptions + used, sizeof converterOptions - used, "%s ", word + 1);
  } else {
    qMsg(QMSG_ERROR, localText(14), word);
  }
}

int parseCommandLine(int argc, char **argv) {
  objectOptionKind = 0;
  converterOptions[0] = '\0';
  patternDebugLevel = 0;
  int modelWord = -1717;
  for (int i = 1; i < argc; i++) {
    const char *word = argv[i];
    if (strcmp(word, "benchmark1") == 0 || strcmp(word, "benchmark2") == 0 || strcmp(word, "benchmark3") == 0) {
      qMode.benchmark = word[9] - '0';
      return 0;
    }
    if (strcmp(word, "random") == 0) {
      randomInterval = intervalWord(i, argc, argv);
      nextPatternAction = ACTION_RANDOM;
      return 0;
    }
    if (strcmp(word, "order") == 0) {
      orderInterval = intervalWord(i, argc, argv);
      if (i + 2 < argc) {
        std::string start = argv[i + 2];
        GetAllPatterns(qPrefs.patterndir.c_str(), 6, &start);
      }
      nextPatternAction = ACTION_NEXT;
      return 0;
    }
    if (strcmp(word, "checkl") == 0) {
      checkLanguagesRequested = 1;
    } else if (strcmp(word, "debug") == 0) {
      patternDebugLevel = 3;
      glStageChecks = 1;
    } else if (word[0] == '+') {
      scanPreferenceLine(word + 1);
    } else if (strcmp(word, "--?") == 0 || word[0] == '?') {
      printAbout();
      return 1;
    } else if (word[0] == '-' && word[1] == '-') {
      addConverterOption(word);
    } else if (word[0] == '-' && word[1] >= '0' && word[1] <= '9') {
      objectCountOption = atoi(word + 1);
      objectOptionKind = 1;
    } else if (word[0] == '-') {
      modelWord = i;
      objectOptionKind = 2;
    } else {
      currentPatternFile = patternFileArgument(word);
      nextPatternAction = ACTION_NAMED_FILE;
    }
  }
  if (modelWord >= 0) {
    std::string name = argv[modelWord] + 1;
    if (name.size() > MODEL_NAME_MAX) {
      qMsg(QMSG_DEBUG, "model name %s cut to %d characters\n", name.c_str(), int(MODEL_NAME_MAX));
      name.resize(MODEL_NAME_MAX);
    }
    modelFileArgument = qPrefs.vrml ? "v/" + name + ".wrl" : "o/" + name;
  }
  return 0;
}

void setupTempDirectory() {
  std::string temp = backslashToSlash(qPrefs.temp);
  if (temp.empty()) temp = "tmp/";
  if (temp != "tmp/" && temp.back() != '/') temp += '/';
  ensureDirectory(temp);
  temp += "QuoitParab";
  if (!makeOwnDirectory(temp.c_str())) qMsg(QMSG_ERROR, localText(44), temp.c_str());
  temp += '/';
  qPrefs.temp = temp;
  preparedTempDirectory = temp;
  if (qPrefs.displayFlags & 1) {
    if (qPrefs.height < 480) qPrefs.height = 480;
    if (qPrefs.width < 640) qPrefs.width = 640;
    remoteState = 2;
  }
  if (qArgc > 1) qPrefs.donotcheck = 0;
}

static void setBenchmarkWindowSize() {
  struct BenchmarkSetting {
    int width, height, shadowKind, detail;
  };
  static const BenchmarkSetting settings[4] = {{0, 0, 0, 0}, {320, 240, 0, -1}, {640, 480, 5, 0}, {1024, 768, 4, 5}};
  int n = qMode.benchmark;
  if (n == 0) {
    schatten_auswerten();
    return;
  }
  if (n < 0 || n > 3) {
    qMsg(QMSG_ERROR, localText(43), n, "setBenchmarkWindowSize");
    return;
  }
  qPrefs.width = settings[n].width;
  qPrefs.height = settings[n].height;
  qPrefs.sh_kind = settings[n].shadowKind;
  qPrefs.detail = settings[n].detail;
  if (n == 2) qSetModeValue(9, 0, 1, 0);
  qPrefs.vrml = 0;
  remoteState = 1;
}

int InitOnce() {
  setBenchmarkWindowSize();
  int error = allocObjectBuffers();
  if (error != 0) return error;
  if (qPrefs.vrml && allocVRMLBuffers() != 0) {
    qMsg(QMSG_ERROR, "%s", localText(212));
    return 121199;
  }
  if (!qPrefs.vrml) qPrefs.displayFlags &= ~8;
  qSeedRandom(uint32_t(time(nullptr)) ^ uint32_t(getpid()));
  patternLoadCounter = -1;
  qPrefs.trans_in.clear();
  qPrefs.trans_out.clear();
  lightState.xOffset = lightState.yOffset = 0;
  lightState.spotRadius = 350;
  walkControlFromMouse();
  qDisplay.timeMeter = 1;
  qDisplay.help = 0;
  qDisplay.statusline = 0;
  qDisplay.speedMeter = 1;
  qDisplay.fifth = 45;
  qMode.speed = 100;
  qMode.move = 0x100;
  qMode.flags |= 0x200000;
  if (qOpenWindows() != 0) return 23;
  if (remoteState == 1 && qGlutqrcOpen() != 0) return 24;
  qSetMode(0x4000, 0);
  passingFilter = bounceFilter = multiplexFilter = 0;
  qMsg(QMSG_INFO, "see '%s' for debug texts\n", TRACE_FILE);
  return 0;
}

int loadFirstPatternAndRun(int) {
  int code = loadNextPattern();
  if (code == 0) {
    qGlutMainLoopStart();
    qMsg(QMSG_DEBUG, "-------------- hier ist das Ende. -------------\n");
  } else {
    qMsg(QMSG_DEBUG, "loading the first pattern failed with code %d\n", code);
    firstLoadFailed = 1;
  }
  return 0;
}

int cleanUp(int action) {
  if (cleanUpDone) return 0;
  stopWatch(frameCounter);
  freeObjectSlots();
  if (action == 0) qQuitHook();
  freePatternData();
  KeyframeList(KEYFRAMES_FREE, nullptr);
  if (action != 0) {
    Mustertitel[0] = '\0';
    return 1;
  }
  qShutdownHook();
  std::string none;
  GetAllPatterns("m", 4, &none);
  if (!qPrefs.notcl) qKill(qTclThreadIndex, 3);
  clearTempDirectory();
  if (qPrefs.vrml) freeVRMLAll();
  freeTextureImages();
  freeObjectBuffers();
  freeLocalTexts();
  cleanUpDone = 1;
  return 0;
}

void exitHandler() { cleanUp(0); }

void clearTempDirectory() {
  if (preparedTempDirectory.empty()) return;
  clearOwnDirectory(preparedTempDirectory.c_str());
}

void printAbout() {
  char build[80];
  snprintf(build, sizeof build, "\ndeveloper build %s - %s", __DATE__, __TIME__);
  char about[600];
  snprintf(about, sizeof about,
           "\nQUOIT %s  %s\n\n%s\n"
           "quoit is written and kept by its developers.\n"
           "Questions and bug reports: the project's issue tracker.\n",
           quoitVersion, build, localText(0));
  if (startOutput >= 0) {
    if (write(startOutput, about, strlen(about)) < 0) fputs(about, stderr);
  } else {
    fputs(about, stdout);
    fflush(stdout);
  }
  qMsg(QMSG_INFO, "%s", about);
}
