// Stand-ins for the scene functions the mode machine, the camera and the status screen call, until
// their modules provide them (weak, so the real ones win); commands say in the trace file that they
// are not available yet. Delete when those land.
#include "core/Tcl.h"
#include "scene/classic_renderer.h"
#include "scene/figures.h"
#include "scene/kinematics.h"
#include "scene/geometry.h"
#include "scene/vrml/modeltree.h"
#include "scene/objects.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "scene/povexport.h"
#include "scene/textures.h"
#include "ui/modes.h"

#define STANDIN __attribute__((weak))

STANDIN char currentObjectLetter;

STANDIN void qGlutShowWindows(int) {}
STANDIN int jugglerModelCount() { return 0; }
STANDIN int propShapeCount(int) { return 0; }
STANDIN int loadedTextureCount() { return 0; }
STANDIN void restoreObjectShapes() {}
STANDIN int loadedObjectNumber(int index) { return index; }
STANDIN bool sceneObjectPosition(char, double[3]) { return false; }
STANDIN void trackCurrentObject(int *step) { *step = 0; }
STANDIN int chooserEntryCount() { return 0; }
STANDIN void toggleHelperObjects() {}

STANDIN void selectObjectInBox() {
  qMsg(QMSG_DEBUG, "selectObjectInBox(): the object chooser is not available yet\n");
  chooserState = 0;
  qMode.main = 0;
}

STANDIN void toggleFlightPathDisplay(int op) {
  qMsg(QMSG_DEBUG, "toggleFlightPathDisplay(%d): path display is not available yet\n", op);
}

STANDIN void toggleHandPathDisplay(int op) {
  qMsg(QMSG_DEBUG, "toggleHandPathDisplay(%d): path display is not available yet\n", op);
}

STANDIN void placeRandomObject() { qMsg(QMSG_DEBUG, "placeRandomObject(): random objects are not available yet\n"); }

STANDIN void leaveObjectChooser() {
  chooserState = 0;
  showPatternFlyingList();
}

STANDIN void qPovExport() { qMsg(QMSG_DEBUG, "qPovExport(): the POV-Ray export is not available yet\n"); }

STANDIN QOpenGL qOpenGL;

STANDIN void armAngles(int, double[3], double, double, double, double) {}
STANDIN void changeJointAngle(int, int, double) {}
STANDIN void clearJointAngles(int, int) {}
