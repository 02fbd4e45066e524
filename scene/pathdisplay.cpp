// Stand-in path display: there is no current object, no chooser and no guide object yet.
#include "scene/pathdisplay.h"

#include "core/Tcl.h"
#include "core/uistate.h"
#include "scene/vrml/modeltree.h"
#include "scene/placements.h"

int chooserVertexTotal;
int chooserFaceTotal;
char currentObjectLetter;
int chooserCursorModel;

void trackCurrentObject(int *step) { *step = 0; }

void selectObjectInBox() {
  qMsg(QMSG_DEBUG, "selectObjectInBox(): the object chooser is not available\n");
  chooserState = 0;
  qMode.main = 0;
}

void toggleHelperObjects() {}

bool sceneObjectPosition(char, double[3]) { return false; }
int chooserEntryCount() { return 0; }

void toggleFlightPathDisplay(int op) {
  qMsg(QMSG_DEBUG, "toggleFlightPathDisplay(%d): path display is not available yet\n", op);
}

void toggleHandPathDisplay(int op) {
  qMsg(QMSG_DEBUG, "toggleHandPathDisplay(%d): path display is not available yet\n", op);
}

void placeRandomObject() { qMsg(QMSG_DEBUG, "placeRandomObject(): random objects are not available yet\n"); }

void leaveObjectChooser() {
  chooserState = 0;
  showPatternFlyingList();
}

void restoreObjectShapes() {}
