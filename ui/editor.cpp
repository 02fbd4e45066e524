// Stand-in scene editor: no help, no status screen, and every command says it is not available yet.
#include "ui/editor.h"
#include "core/Tcl.h"
#include "ui/modes.h"

int editState;
char editorHint[100];

void ShowEditorHelp() {}
void qFullStatusEditor() {}

int StartEditor() {
  qMsg(QMSG_DEBUG, "StartEditor(): the editors are not available yet\n");
  return 270501;
}

// Leaves an editor that is on: the same main-mode command again turns it off.
int EndEditor() {
  if (qMode.main == MAIN_SCENE_EDITOR || qMode.main == MAIN_WALKING_EDITOR) qSetMode(uint32_t(qMode.main), 0);
  return 0;
}

void SelectNextEditorObject() { qMsg(QMSG_DEBUG, "SelectNextEditorObject(): the scene editor is not available yet\n"); }

int AddEditorObject(int what) {
  qMsg(QMSG_DEBUG, "AddEditorObject(%d): the scene editor is not available yet\n", what);
  return 1;
}

void ToggleEditorEditMode(int how) {
  qMsg(QMSG_DEBUG, "ToggleEditorEditMode(%d): the scene editor is not available yet\n", how);
}

void ResetEditorView() { qMsg(QMSG_DEBUG, "ResetEditorView(): the scene editor is not available yet\n"); }

int DeleteCurrentEditorObject() {
  qMsg(QMSG_DEBUG, "DeleteCurrentEditorObject(): the scene editor is not available yet\n");
  return 2;
}

void groundSelectedEditorObject() {
  qMsg(QMSG_DEBUG, "groundSelectedEditorObject(): the scene editor is not available yet\n");
}

int SaveEditorPattern(int how) {
  qMsg(QMSG_DEBUG, "SaveEditorPattern(%d): the scene editor is not available yet\n", how);
  return 1;
}

int selectedEditorJuggler() { return -1; }

void centreSelectedEditorObject() {
  qMsg(QMSG_DEBUG, "centreSelectedEditorObject(): the scene editor is not available yet\n");
}

void PlaceJugglersInCircle(int value) {
  qMsg(QMSG_DEBUG, "PlaceJugglersInCircle(%d): the scene editor is not available yet\n", value);
}
