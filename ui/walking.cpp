// Stand-in walking editor: no help screen and no editor.
#include "ui/walking.h"

#include "core/Tcl.h"
#include "ui/menus.h"
#include "ui/walkingeditor.h"

void ShowWalkingEditorHelp() {}

void walkingEditorMenu(int command) {
  qMsg(QMSG_DEBUG, "walkingEditorMenu(%d): the walking editor is not available yet\n", command);
  qGlutDebugMenu(command);
}
