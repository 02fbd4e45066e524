// The one place where the lower layers' hook tables get the functions of the layers above them.
#include "app/wiring.h"

#include "app/benchmark_report.h"
#include "app/framestep.h"
#include "app/patternloop.h"
#include "app/startup.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "core/tclthreads.h"
#include "pattern/catalogue.h"
#include "pattern/scenecalls.h"
#include "scene/figures.h"
#include "scene/objects.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "ui/camera.h"
#include "ui/glut_windows.h"
#include "ui/menus.h"
#include "ui/keyframes.h"
#include "ui/modes.h"
#include "ui/walkingeditor.h"

static void readPatternDirectory(const char *directory) {
  GetAllPatterns(directory, 4, nullptr);
  GetAllPatterns(directory, 1, nullptr);
  GetAllPatterns(directory, 5, nullptr);
}

void connectLayers() {
  windowCalls.resetFlags = qGlutResetFlags;
  windowCalls.openWindows = qGlutOpenWindows;
  windowCalls.setWindow = qGlutSetWindow;
  windowCalls.multiLineText = qGlutMultiLineText;
  windowCalls.statusText = qGlutStatusText;
  windowCalls.fpsOverlay = qGlutFpsOverlay;
  windowCalls.strokeString = qGlutStrokeString;
  windowCalls.takeKey = qGlutTakeKey;

  patternCalls.loadFloor = Boden_laden;
  patternCalls.loadFigure = Mensch_laden;
  patternCalls.loadObjectFile = Objektdatei_laden;
  patternCalls.placeLastObjectNode = placeLastObjectNode;
  patternCalls.loadObjects = Objekte_laden;
  patternCalls.freeObjectShapes = freeObjectShapes;
  patternCalls.setHeadUpAngles = setHeadUpAngles;
  patternCalls.flyingBlockFreed = showPatternFlyingList;
  patternCalls.readKeyframes = readKeyframes;

  benchmarkFrameReport = logBenchmarkReport;
  loopCalls.advanceFrame = advanceFrame;
  loopCalls.afterRendering = qAfterRendering;
  loopCalls.cleanUp = cleanUp;
  loopCalls.loadNextPattern = loadNextPattern;

  modeCalls.clearTemp = clearTempDirectory;
  aidCalls.setMode = qSetMode;
  aidCalls.moveChooserCursor = moveChooserCursor;
  commandCalls.printAbout = printAbout;
  patternDirectoryChanged = readPatternDirectory;
  walkingMenuRequest = walkingEditorMenu;
}
