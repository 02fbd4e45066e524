// The object chooser: every model of the object list turns on a grid, the cursor frame marks one
// cell, and a pick makes that model the juggled objects' model.
#include <cmath>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/prefs.h"
#include "core/stopwatch.h"
#include "core/vecmath.h"
#include "core/viewrecords.h"
#include "pattern/modeltable.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "scene/objects.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "scene/vrmlaids.h"

int chooserVertexTotal;
int chooserFaceTotal;
int chooserCursorModel;

static int noModeChange(uint32_t, uint32_t) { return 0; }
static int noCursorMove(int *rowOffsetOut, int16_t *, int16_t *) {
  *rowOffsetOut = 0;
  return 0;
}
AidCalls aidCalls = {noModeChange, noCursorMove};

// The cursor's accumulators within its cell, and how long the models have been turning.
static int16_t cursorX, cursorY;
static double runningTime;

void restoreObjectShapes() {
  for (int i = 0; i < LOO_MAX; i++) objectShapes[i] = objectShapesOwned[i];
}

int chooserEntryCount() {
  int n = 0;
  while (n < LOO_MAX && chooserModels[n] >= 0) n++;
  return n;
}

int chooserTurnAfter(double *time, double seconds) {
  if (std::isfinite(seconds) && seconds > 0) *time = std::fmod(*time + seconds, 1.0);
  return int(*time * 2048) & 0x7ff;  // one turn a second, kept within one turn
}

void leaveObjectChooser() {
  bool fullScreen = (qMode.flags & FLAG_FULL_SCREEN) || (qPrefs.displayFlags & 1);
  chooserState = fullScreen ? 2 : 0;
  showPatternFlyingList();
}

// The cursor frame and every model of the object list, loaded on the chooser's first frame.
static bool loadChooserModels() {
  if (qPrefs.vrml && qVRMLObjectChooser(2)) return false;
  int result = Objektdatei_laden("o/basic/SelectBox", -1, 0, 0, 0, 0, OBJ_FIXED);
  int index = result == LOAD_ENTERED ? loadedObjectCount - 1 : result;
  if (index <= 0 || AlleObjekteLaden() != 0) return false;
  chooserCursorModel = index;
  return true;
}

// The camera looks at the grid from the front; the cursor within its cell turns it a little.
static void chooserView() {
  int b = cursorX + (chooserColumn - 2) * 70;
  if (b < 0) b += 2048;
  b ^= 0x7ff;
  int c = 70 - cursorY * 700 / 70;
  viewState.x = 0;
  viewState.y = 0;
  viewState.z = int16_t(c);
  viewState.elevation = 512;
  viewState.azimuth = int16_t(int(std::trunc((b * 0.001 + PI / 2) * 1000)) & 0x7ff);
  viewState.radius = 1750;
  viewState.zoom = 200;
  int64_t status = 0;
  if (qMode.display == 8) status |= 0x2000;
  if (qMode.display == 6) status |= 0x200;
  if (displayModeClass(qMode.display) == 0) status |= int64_t(qPrefs.sh_kind & 7) << 2;
  status |= (qMode.flags & 0x800000) << 7;
  status |= (qMode.flags & 0x100000) << 1;
  viewState.status = status;
}

// The picked model replaces the juggled objects' model; its display list is made again.
static void takePick(int pick) {
  for (int r = 0; r < objekte && r < MAX_OBJECTS; r++) {
    int m = objectModelForRow(r);
    if (objekt_geladen && m >= 0 && m < LOO_MAX) objekt_geladen[m].flags &= ~OBJ_JUGGLED;
  }
  chosenModel = pick;
  restoreChooserDisplay();
  // From the chooser the first command marks the pick and the second leaves; a pick made from the
  // menu arrives with the pick marked already.
  aidCalls.setMode(uint32_t(MAIN_CHOOSER_PICK), 0);
  if (qMode.main == MAIN_CHOOSER_PICK) aidCalls.setMode(uint32_t(MAIN_CHOOSER_PICK), 0);
  if (qPrefs.vrml) qVRMLObjectChooser(3);
  else if (objekt_geladen) objekt_geladen[pick].flags |= OBJ_JUGGLED | OBJ_NEW_LIST;
  leaveObjectChooser();
}

void selectObjectInBox() {
  if (chooserCursorModel == 0 && !loadChooserModels()) {
    qMode.main = 0;
    chooserState = 0;
    chooserCursorModel = 0;
    sceneObjectList(nullptr, 5);
    showPatternFlyingList();
    return;
  }
  int rowOffset = 0;
  int pick = aidCalls.moveChooserCursor(&rowOffset, &cursorX, &cursorY);
  int turn = chooserTurnAfter(&runningTime, stopWatch(0) * 1e-6);
  if (qPrefs.vrml) {
    pick = qBuildVRMLObjectChooser(rowOffset, pick, turn / 2048.0 * 360);
    if (pick > 0) qMsg(QMSG_DEBUG, "Object %d was selected.\n", loadedObjectNumber(pick));
  } else {
    pick = qBuildObjectChooser(rowOffset, pick, turn);
  }
  chooserView();
  if (pick == 1) qMsg(QMSG_INFO, localText(361), 1);
  if (pick <= 1 || pick >= LOO_MAX) return;
  takePick(pick);
}
