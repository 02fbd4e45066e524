// Fuzz target support: a pattern file loaded from a fresh pattern state, as the pattern loop loads it.
#pragma once
#include <string>

#include "core/prefs.h"
#include "core/runstate.h"
#include "core/viewrecords.h"
#include "pattern/store.h"
#include "scene/figures.h"
#include "scene/objects.h"

// The pattern data freed, the values at their defaults, the camera unset and the object table and
// figures emptied; then the file at path loaded. Muster_laden's code.
inline int loadFreshPattern(const std::string &path) {
  freePatternData();
  resetPatternValues();
  qPrefs.timefactor = 1.0;
  cameraState.lookAt[0] = 1717.1717;
  sceneObjectList(nullptr, 1);
  resetObjectTable();
  resetFigureState();
  currentPatternFile = path;
  return Muster_laden();
}
