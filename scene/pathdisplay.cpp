// Stand-in path display: there is no current object, no chooser and no guide object yet.
#include "scene/pathdisplay.h"

#include "core/Tcl.h"
#include "ui/modes.h"

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
