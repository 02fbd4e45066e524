// Pattern loop: resets the per-pattern state, finds the next pattern (a named file, the pattern
// dialog, the catalogue, a reload), turns siteswap text into a pattern file with the outside
// converters, loads the pattern and prepares the view.
#include "app/patternloop.h"

#include <GL/freeglut.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/Tcl.h"
#include "app/framestep.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "app/startup.h"
#include "core/userfiles.h"
#include "core/utils.h"
#include "pattern/catalogue.h"
#include "pattern/clock.h"
#include "pattern/siteswaps.h"
#include "pattern/store.h"
#include "scene/figures.h"
#include "scene/geometry.h"
#include "scene/objects.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "scene/textures.h"
#include "scene/vrml/modeltree.h"
#include "ui/camera.h"
#include "ui/glut_windows.h"
#include "ui/keys.h"
#include "ui/menus.h"
#include "ui/modes.h"
#include "ui/remote.h"
#include "ui/screens.h"

extern char **environ;

int patternLoadCounter = -1;
int firstLoad = 1;
int converterTimeLimitMs = 10000;

static const char *const quoitVersion = "V14.8";
enum { SHOW_COMMAND_LEVEL = 82, MAX_SITESWAP_TEXT = SITESWAP_TEXT_SIZE - 1 };

// Local text n without its line end, filled with one text argument.
static std::string localTextWith(int n, const char *argument) {
  std::string format = localTextLine(n);
  return formatText(format.c_str(), argument);
}

static void copySiteswap(char *target, const std::string &text) {
  snprintf(target, SITESWAP_TEXT_SIZE, "%s", text.c_str());
}

static void resetPerPatternState() {
  frameCounter = 0;
  clockBeatValue = -12345;
  keyTableState = 0;
  wrapFlag = WRAP_NONE;
  simTime = 0.0;
  restartRequest = 0;
  if (qDisplay.statusline == 9) qDisplay.statusline = 1;
  qDisplay.help = 0;
  resetFigureState();
  cameraState.lookAt[0] = UNSET_DOUBLE;
  shownSiteswap[0] = '\0';
  convertedSiteswap = ConvertedSiteswap();
  patternLoadCounter++;
  qMode.move = 0x100;
  qMode.view = 0x400;
  setStatusLineTitle();
  patternKindFilter(nullptr, 1);
  stopCameraRotation();
  resetPathDisplay();
  resetObjectTable();
  resetPatternValues();
}

// A catalogue step that wraps ends a timed show after this pattern; a manual walk loads the
// wrapped-to file once more, without the dialog.
static void catalogueStep(int operation) {
  if (GetAllPatterns(qPrefs.patterndir.c_str(), operation, &currentPatternFile) != 1) return;
  qMsg(QMSG_DEBUG, "\n* * * Displayed all patterns. * * *\n");
  if (operation == CATALOGUE_NEXT)
    reportListWrapToFirst();
  else
    reportListWrapToLast();
  nextPatternAction = orderInterval == 0 && randomInterval == 0 ? ACTION_NAMED_FILE : ACTION_QUIT;
  restartRequest = 1;
}

static bool converterListMode() { return qPrefs.current == 2 && patternStepped && qPrefs.thlist; }

static int showPatternDialog() {
  std::string request = formatText("Quoit %s\nNO\n\n%d\n%d\n", quoitVersion, qPrefs.q2_at, patternLoadCounter);
  return InvokeTclCmd(PATTERN_DIALOG_SCRIPT, request.c_str(), 0, nullptr);
}

// In converter-list mode the dialog names the siteswap of the current list line; otherwise it
// is the file-name part of the pattern name, so a directory in front never reaches the converter.
static std::string siteswapText() {
  if (converterListMode()) {
    const char *name = currentPatternFile.c_str();
    std::string request = formatText("Quoit %s\n%s\n%s\n%d\n0\n", quoitVersion, name, name, qPrefs.q2_at);
    char answer[TCL_ANSWER_SIZE] = "";
    if (InvokeTclCmd(PATTERN_DIALOG_SCRIPT, request.c_str(), 0, answer) == 0 && answer[0]) return answer;
    return currentPatternFile;
  }
  return qGetFileNode(currentPatternFile.c_str(), 0);
}

// True when the user's own converter words (the "--" words) name the hands: "-m<n>" or "-p<n>".
static bool userNamesTheHands() {
  const char *word = converterOptions;
  while ((word = strchr(word, '-')) != nullptr) {
    if ((word == converterOptions || word[-1] == ' ') && (word[1] == 'm' || word[1] == 'p')) return true;
    word++;
  }
  return false;
}

std::string converterOptionText(int action, const char *siteswap) {
  std::string options = formatText(" -r%f ", qPrefs.fre_ratio);
  if (action != ACTION_NAMED_FILE && (qPrefs.current == 1 || qPrefs.current == 2)) {
    if (qPrefs.ss_opt == 1) options += "-H" + qPrefs.ss_hfile;
    if (qPrefs.ss_opt == 2) options += "-S" + qPrefs.ss_sfile;
    if (objectCountOption != -1) options += formatText(" -o%d", objectCountOption);
  }
  options += " ";
  options += converterOptions;
  if (qPrefs.sym) options += " -s";
  // The converter takes the last hand option it is given, so the preference's hand count is left
  // out when the user named the hands on the command line ("quoit --m4 531").
  bool preferredHands = !userNamesTheHands();
  if (preferredHands && qPrefs.multihand > 2)
    options += formatText(" -m%d", qPrefs.multihand);
  else if (preferredHands && qPrefs.multihand == 2)
    options += " -p1";
  if (qPrefs.q2_persons > 1 && qPrefs.current == 2) options += formatText(" -p%d", qPrefs.q2_persons);
  if (strchr(siteswap, '2') && !strchr(siteswap, '1') && qPrefs.hold && qPrefs.multihand <= 2) options += " -l";
  return options;
}

std::string converterCommandLine(const std::string &options, const char *siteswap) {
  return formatText("%s %s %s \"%s\" %s", "kovex", "-n -q ", options.c_str(), siteswap, SITESWAP_FILE);
}

std::vector<std::string> converterArguments(const std::string &options, const char *siteswap) {
  std::vector<std::string> arguments = {"-n", "-q"};
  size_t at = 0;
  while ((at = options.find_first_not_of(' ', at)) != std::string::npos) {
    size_t end = options.find(' ', at);
    arguments.push_back(options.substr(at, end - at));
    at = end;
  }
  arguments.push_back("--");
  arguments.push_back(siteswap);
  arguments.push_back(SITESWAP_FILE);
  return arguments;
}

static bool isExecutable(const std::string &path) { return access(path.c_str(), X_OK) == 0; }

std::string converterProgram(const char *name) {
  char self[4096];
  ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length > 0) {
    self[length] = '\0';
    std::string beside = std::string(directoryOfPath(self)) + name;
    if (isExecutable(beside)) return beside;
  }
  std::string home = qPrefs.homeDirectory;
  if (!home.empty() && home.back() != '/') home += '/';
  home += name;
  return isExecutable(home) ? home : std::string();
}

int runConverter(const std::string &program, const std::vector<std::string> &arguments) {
  std::vector<char *> argv{const_cast<char *>(program.c_str())};
  for (const std::string &a : arguments) argv.push_back(const_cast<char *>(a.c_str()));
  argv.push_back(nullptr);
  fflush(nullptr);
  pid_t child = -1;
  int error = posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (error != 0) {
    qMsg(QMSG_ERROR, "starting %s returned -1: Error %d: %s\n", program.c_str(), error, strerror(error));
    return -1;
  }
  int status = 0;
  for (int waited = 0;; waited += 10) {
    pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) break;
    if (done < 0 && errno != EINTR) return -1;
    if (waited >= converterTimeLimitMs) {
      kill(child, SIGKILL);
      while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
      }
      qMsg(QMSG_ERROR, localText(238), program.c_str(), converterTimeLimitMs / 1000);
      return -1;
    }
    qSleep(10);
  }
  int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  qMsg(QMSG_DEBUG, "%s exited with status %d\n", program.c_str(), code);
  return code;
}

// Runs a converter found by name; its exit status, or -1 after a report when it is missing.
static int runNamedConverter(const char *name, const std::vector<std::string> &arguments) {
  std::string program = converterProgram(name);
  if (program.empty()) {
    qMsg(QMSG_ERROR, "%s\n", localTextWith(40, name).c_str());
    return -1;
  }
  return runConverter(program, arguments);
}

// The Boston-Mess pass over the converted file; when it fails the unconverted file is kept.
static void runPatconv() {
  std::string phase = std::to_string(qPrefs.bophase);
  if (qPrefs.show_bcmd) qMsg(SHOW_COMMAND_LEVEL, "%s %s %d\n", "patconv", SITESWAP_FILE, qPrefs.bophase);
  int code = runNamedConverter("patconv", {SITESWAP_FILE, phase});
  if (code == 0 && fileExists(PATCONV_FILE)) {
    currentPatternFile = PATCONV_FILE;
  } else if (code != -1) {
    qMsg(QMSG_ERROR, localText(236), "patconv", code);
  }
}

// Exit statuses of kovex besides 0.
enum { KOVEX_NOT_JUGGLEABLE = 1, KOVEX_BAD_OPTIONS = 2, KOVEX_WRITE_FAILED = 3 };

// Converts the siteswap text; true when the converter wrote its pattern file. A failure is
// reported by what went wrong: the siteswap, the converter's options or files, or the run.
static bool convertSiteswap(int action, const std::string &text) {
  std::string options = converterOptionText(action, text.c_str());
  if (qPrefs.show_scmd) qMsg(SHOW_COMMAND_LEVEL, "%s\n", converterCommandLine(options, text.c_str()).c_str());
  int code = runNamedConverter("kovex", converterArguments(options, text.c_str()));
  if (code == 0 && fileExists(SITESWAP_FILE)) {
    currentPatternFile = SITESWAP_FILE;
    if (qPrefs.ss_opt == 3) runPatconv();
    copySiteswap(converterListMode() ? listSiteswap : shownSiteswap, text);
    convertedSiteswap = {text, currentPatternFile};
    return true;
  }
  if (code == KOVEX_WRITE_FAILED)
    qMsg(QMSG_ERROR, "%s\n", localTextWith(41, SITESWAP_FILE).c_str());
  else if (code == 0 || code == KOVEX_NOT_JUGGLEABLE)
    qMsg(QMSG_ERROR, "%s - %s\n", localTextWith(40, SITESWAP_FILE).c_str(), localTextWith(210, text.c_str()).c_str());
  else if (code != -1)
    qMsg(QMSG_ERROR, localText(15), code, "kovex");
  return false;
}

// A pattern file is opened by its resolved name ("m/" in front of a name that starts with a digit);
// that name becomes currentPatternFile, so every later writer rewrites the file that was read.
static bool isPatternFile() {
  if (qPrefs.donotcheck) return false;
  std::string resolved = patternFileArgument(currentPatternFile.c_str());
  if (!fileExists(resolved.c_str())) return false;
  currentPatternFile = resolved;
  return true;
}

// A name that stands in the file system but cannot be read as a pattern file is reported with
// the reason, not handed to the converter as a siteswap. A directory is no pattern file: its name
// is siteswap text (the home holds directories named like the one-letter siteswaps b, l, m, o, v).
static bool unreadablePatternFile() {
  if (qPrefs.donotcheck) return false;
  std::string name = patternFileArgument(currentPatternFile.c_str());
  struct stat status;
  if (stat(name.c_str(), &status) != 0 || S_ISDIR(status.st_mode)) return false;
  FILE *file = openRegularFile(name.c_str());
  if (file) {
    fclose(file);
    return false;
  }
  qMsg(QMSG_ERROR, localText(33), name.c_str(), fileErrorReason(errno));
  return true;
}

// Asks for patterns until one is found: a pattern file, or siteswap text that the converter
// turns into one. Made once for a named file.
static int patternDialogLoop(int action, int *dialog) {
  for (;;) {
    if (action != ACTION_NAMED_FILE) {
      int code = showPatternDialog();
      *dialog = 0;
      if (code != 0) return LOAD_DIALOG_FAILED;
      currentPatternFile.clear();  // an answer the file could not hold is no choice
      readPreferences(1);
      if (currentPatternFile.empty()) return LOAD_NOTHING_CHOSEN;
    }
    currentPatternFile = typedFileName(currentPatternFile);
    if (isPatternFile()) break;
    if (currentPatternFile.size() > MAX_SITESWAP_TEXT) {
      qMsg(QMSG_ERROR, localText(237), currentPatternFile.c_str(), int(MAX_SITESWAP_TEXT));
    } else if (!unreadablePatternFile() && convertSiteswap(action, siteswapText())) {
      break;
    }
    if (firstLoad) return LOAD_CONVERSION_FAILED;
    if (action == ACTION_NAMED_FILE) break;
  }
  GetAllPatterns(qPrefs.patterndir.c_str(), CATALOGUE_AFTER_NAME, &currentPatternFile);
  return 0;
}

// Where the pattern comes from, by nextPatternAction. The dialog flag stays set for the sources
// that do not show the dialog, so the dialog is told about the new pattern afterwards.
static int choosePatternSource(int *dialog) {
  int action = nextPatternAction;
  switch (action) {
    case ACTION_RANDOM:
      GetAllPatterns(qPrefs.patterndir.c_str(), CATALOGUE_RANDOM, &currentPatternFile);
      *dialog = 0;
      return 0;
    case ACTION_NEXT:
      catalogueStep(CATALOGUE_NEXT);
      return 0;
    case ACTION_PREVIOUS:
      catalogueStep(CATALOGUE_PREVIOUS);
      return 0;
    case ACTION_RELOAD:
      *dialog = 0;
      return 0;
    default:
      return patternDialogLoop(action, dialog);
  }
}

static void tellDialogNewPattern() {
  std::string request = formatText("Quoit %s\n%s\n%s\n%d\n0\n", "NO_TRANS", shownSiteswap, currentPatternFile.c_str(),
                                   qPrefs.q2_at);
  char answer[TCL_ANSWER_SIZE] = "";
  InvokeTclCmd(PATTERN_DIALOG_SCRIPT, request.c_str(), 0, answer);
}

// The scene totals of the status screen are counted once the pattern has loaded its models.
static int loadPattern() {
  if (qPrefs.vrml) {
    resetVRMLScene();
    int code = Muster_laden();
    if (code == 0) vrmlNodeTotals();
    return code;
  }
  sceneObjectList(nullptr, 1);
  int code = Muster_laden();
  if (code != 0) return code;
  vrmlNodeTotals();
  return qPlaceJugglers() != 0 ? LOAD_PLACEMENT_FAILED : 0;
}

// The window shows the new pattern: its title, the remote control's panel and the menus are
// renewed, and the window gets the size of the preferences.
static void prepareView() {
  mouseCamera(2);
  schatten_auswerten();
  for (TShirt &shirt : qTShirt) shirt.flags &= ~SHIRT_READY;
  clearTempDirectory();
  viewState.width = int16_t(qPrefs.width);
  viewState.height = int16_t(qPrefs.height);
  int window = qWindowIds[WIN_3D];
  if (window && qGlutSetWindow(window)) {
    glutShowWindow();
    qGlutSetTitle();
    qGlutqrcsubDisplay();
    qGlutRemakeMenu();
    qGlutSetWindow(window);
    glutReshapeWindow(qPrefs.width, qPrefs.height);
    glutPostRedisplay();
  }
  arrowObject = ARROW_ENTRY;
  if (objekt_geladen) objekt_geladen[arrowObject].flags |= OBJ_NEW_LIST;
  qRaiseWindow(2);
}

int loadNextPattern() {
  qMsg(QMSG_DEBUG, "\n\n----------------------------------------------------------------------------\n");
  qMsg(QMSG_DEBUG, "----------------------------------------------------------------------------\n\n\n");
  resetPerPatternState();
  if (nextPatternAction != ACTION_RELOAD) {
    remove(SITESWAP_FILE);
    remove(PATCONV_FILE);
  }
  if (qMode.benchmark != 0) {
    currentPatternFile = formatText("%s%ld", "b/benchmark", long(qMode.benchmark));
  } else {
    int dialog = 1;
    int code = choosePatternSource(&dialog);
    if (code != 0) return code;
    firstLoad = 0;
    if (dialog) tellDialogNewPattern();
  }
  int code = loadPattern();
  if (code != 0) return code;
  prepareView();
  return 0;
}
