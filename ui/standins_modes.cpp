// Stand-ins for the window, menu, remote-control and editor functions the mode machine and the keys
// call, until their modules provide them (weak, so the real ones win); commands say in the trace
// file that they are not available yet. Delete when those land.
#include "core/Tcl.h"
#include "ui/editor.h"
#include "ui/glut_windows.h"
#include "ui/menus.h"
#include "ui/modes.h"
#include "ui/remote.h"

#define STANDIN __attribute__((weak))

STANDIN void qGlutSetTitle() {}
STANDIN void qGlutRemakeMenu() {}
STANDIN void qGlutqrcsubDisplay() {}

STANDIN void qGlutToggleFullScreen() { qMsg(QMSG_DEBUG, "qGlutToggleFullScreen(): full screen is not available yet\n"); }
STANDIN void qGlutqrcToggle() { qMsg(QMSG_DEBUG, "qGlutqrcToggle(): the remote control is not available yet\n"); }

STANDIN int StartEditor() {
  qMsg(QMSG_DEBUG, "StartEditor(): the editors are not available yet\n");
  return 270501;
}

// Leaves an editor that is on: the same main-mode command again turns it off.
STANDIN int EndEditor() {
  if (qMode.main == MAIN_SCENE_EDITOR || qMode.main == MAIN_WALKING_EDITOR) qSetMode(uint32_t(qMode.main), 0);
  return 0;
}

STANDIN void SelectNextEditorObject() { qMsg(QMSG_DEBUG, "SelectNextEditorObject(): the scene editor is not available yet\n"); }

STANDIN int AddEditorObject(int what) {
  qMsg(QMSG_DEBUG, "AddEditorObject(%d): the scene editor is not available yet\n", what);
  return 1;
}

STANDIN void ToggleEditorEditMode(int how) {
  qMsg(QMSG_DEBUG, "ToggleEditorEditMode(%d): the scene editor is not available yet\n", how);
}

STANDIN void ResetEditorView() { qMsg(QMSG_DEBUG, "ResetEditorView(): the scene editor is not available yet\n"); }

STANDIN int DeleteCurrentEditorObject() {
  qMsg(QMSG_DEBUG, "DeleteCurrentEditorObject(): the scene editor is not available yet\n");
  return 2;
}

STANDIN void groundSelectedEditorObject() {
  qMsg(QMSG_DEBUG, "groundSelectedEditorObject(): the scene editor is not available yet\n");
}
