// Flight and hand path display: one path object per shown object letter, written into the
// temporary directory once and placed at the origin; two letter lists say which are shown.
#include "scene/pathdisplay.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdio>
#include <string>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/prefs.h"
#include "core/runstate.h"
#include "core/uistate.h"
#include "core/utils.h"
#include "pattern/objectpaths.h"
#include "pattern/reader.h"
#include "pattern/store.h"
#include "scene/placements.h"
#include "scene/vrml/modeltree.h"
#include "scene/vrmlaids.h"

std::string shownFlightPaths;
std::string shownHandPaths;

// -1 not tested yet, 0 unavailable, 1 available.
static int flightPathsAvailable = -1;
static int handPathsAvailable = -1;

// The temporary directory is tested again for every pattern, so its message comes once a pattern.
void resetPathDisplay() {
  flightPathsAvailable = handPathsAvailable = -1;
  shownFlightPaths.clear();
  shownHandPaths.clear();
  currentObjectLetter = 0;
  chooserCursorModel = 0;  // the model table is new, so the chooser loads its models again
  resetGuideObjects();
}

// Paths are written into the temporary directory; the word "nix" there says there is none (the
// start-up puts its own folder below it). The first toggle says so once, later ones stay silent.
static bool pathsAvailable(int &state) {
  if (state < 0) {
    const std::string &temp = qPrefs.temp;
    state = !(temp.compare(0, 3, "nix") == 0 && (temp.size() == 3 || temp[3] == '/'));
    if (!state) qMsg(QMSG_INFO, "%s", localText(367));
  }
  return state == 1;
}

std::string pathFileName(char letter, bool hand) {
  std::string name = qPrefs.temp + qGetFileNode(currentPatternFile.c_str(), 0);
  char suffix[8];
  // A letter that is no letter or digit would make another path, so it goes in as its code.
  if (std::isalnum((unsigned char)letter)) snprintf(suffix, sizeof suffix, ".%c", letter);
  else snprintf(suffix, sizeof suffix, ".%02x", (unsigned char)letter);
  name += suffix;
  if (hand) name += ".hpp";
  return name;
}

PathSamples flightPathSamples(char letter) {
  PathSamples s{0, 0, 0.0};
  int perCycle = pathSamplesPerCycle();
  // The chain of wrap partners returns to the letter after at most one step per object.
  char l = letter;
  do {
    s.count += perCycle;
    s.cycles++;
    if (!WRAP) break;
    int partner = Wrap_Partner(l, 1);
    if (partner == 255) break;
    l = char(partner);
  } while (l != letter && s.cycles < objekte);
  s.step = t_zyklus * s.cycles / s.count;
  return s;
}

static bool onlyRemoved(const std::string &list) { return list.find_first_not_of('-') == std::string::npos; }

static void enterLetter(std::string &list, char letter) {
  size_t free = list.find('-');
  if (free == std::string::npos) list += letter;
  else list[free] = letter;
}

static void removePath(const std::string &name) {
  if (qPrefs.vrml) hideSceneNodes(name.c_str());
  else qRemoveObject(name.c_str());
}

static void removeAll(std::string &list, bool hand) {
  for (char &letter : list) {
    if (letter == '-') continue;
    removePath(pathFileName(letter, hand));
    letter = '-';
  }
}

// A path file written before: a regular file of its own, not a link to somewhere else.
static bool pathFileThere(const std::string &name) {
  struct stat status;
  return lstat(name.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

static void showFlightPath(char letter) {
  std::string name = pathFileName(letter, false);
  PathSamples s = flightPathSamples(letter);
  int k = Objekt_Nummer(letter);
  if (qPrefs.vrml) {
    if (showVRMLPath(name.c_str(), FLIGHT_PATH_NUMBER - k, s.count, s.step, false)) return;
  } else {
    const double origin[3] = {0, 0, 0};
    if (!pathFileThere(name) && qWritePathObject(name.c_str(), s.count, s.step)) return;
    if (qPlaceObject(name.c_str(), origin, 0, 0, 0)) return;
  }
  enterLetter(shownFlightPaths, letter);
}

void toggleFlightPathDisplay(int op) {
  if (!pathsAvailable(flightPathsAvailable) || !flugbahn || objekte <= 0 || !(t_zyklus > 0)) return;
  if (op == 1 && onlyRemoved(shownFlightPaths)) {
    for (int i = 0; i < objekte; i++) {
      toggleFlightPathDisplay(0);
      nextObjectRequest = 1;
      trackCurrentObject(nullptr);
    }
    return;
  }
  if (op != 0) {
    removeAll(shownFlightPaths, false);
    return;
  }
  char letter = currentObjectForPath();
  if (!letter) return;
  size_t shown = shownFlightPaths.find(letter);
  if (shown != std::string::npos) {
    removePath(pathFileName(letter, false));
    shownFlightPaths[shown] = '-';
    return;
  }
  showFlightPath(letter);
}

// Hand paths are object nodes of the VRML scene; in classic mode only the list keeps the choice.
void toggleHandPathDisplay(int op) {
  if (!pathsAvailable(handPathsAvailable) || !flugbahn || objekte <= 0) return;
  if (op != 0) {
    removeAll(shownHandPaths, true);
    return;
  }
  char letter = currentObjectForPath();
  if (!letter) return;
  size_t shown = shownHandPaths.find(letter);
  std::string name = pathFileName(letter, true);
  if (shown != std::string::npos) {
    if (qPrefs.vrml) hideSceneNodes(name.c_str());
    shownHandPaths[shown] = '-';
    return;
  }
  int number = FLIGHT_PATH_NUMBER - Objekt_Nummer(letter) - objekte;
  if (qPrefs.vrml && showVRMLPath(name.c_str(), number, 0, 0, true)) return;
  enterLetter(shownHandPaths, letter);
}
