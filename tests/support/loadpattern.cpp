#include "tests/support/loadpattern.h"

#include <cstdio>
#include <filesystem>
#include <unistd.h>

#include "core/prefs.h"
#include "core/runstate.h"
#include "core/viewrecords.h"
#include "pattern/store.h"
#include "pattern/testseam.h"
#include "tests/support/childprocess.h"

static void keepScene() {}
void (*resetSceneForLoad)() = keepScene;

std::string sourcePath(const std::string &relative) { return std::string(QUOIT_SOURCE_DIR) + "/" + relative; }

std::string writeTempPattern(const std::string &name, const std::string &text) {
  std::string path = std::string(QUOIT_BINARY_DIR) + "/pattern_test_" + std::to_string(getpid()) + "_" + name;
  FILE *f = fopen(path.c_str(), "wb");
  if (f) {
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
  }
  return path;
}

// What the pattern loop does before a load: defaults, an empty scene list, the camera unset.
void freshPatternState() {
  freePatternData();
  resetPatternValues();
  qPrefs.timefactor = 1.0;
  qPrefs.scflag = 0;
  qPrefs.vrml = 0;
  cameraState.lookAt[0] = 1717.1717;
  patternTestSeam.strictChainCheck = 1;
  patternTestSeam.lastPatternMessage = 0;
  sceneObjectList(nullptr, 1);
  resetSceneForLoad();
}

// The load runs in the home directory, where the floor, the figures and the props lie.
int loadPattern(const std::string &path) {
  freshPatternState();
  return loadPreparedPattern(path);
}

int loadPreparedPattern(const std::string &path) {
  currentPatternFile = path;
  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(sourcePath("data"));
  int code = Muster_laden();
  std::filesystem::current_path(previous);
  return code;
}

int loadText(const std::string &text) {
  std::string path = writeTempPattern("inline", text);
  int code = loadPattern(path);
  remove(path.c_str());
  return code;
}

std::string convertSiteswap(const std::string &notation, std::string *why) {
  std::string dir = childprocess::makeScratchDirectory();
  std::string file = dir + "/QuoitSiteSwap";
  childprocess::Result r = childprocess::run({childprocess::builtProgram("kovex"), "-n", "-q", notation, file}, dir);
  std::string text = r.exitCode == 0 ? childprocess::readFile(file) : "";
  childprocess::removeScratchDirectory(dir);
  if (text.empty() && why) *why = r.output;
  return text;
}
