// Scene editor: its state, help and status screens.
#pragma once

extern int editState;        // 4488 while objects are edited with the mouse
extern char editorHint[100]; // the editor's hint line

void ShowEditorHelp();
void qFullStatusEditor();

int StartEditor();
int EndEditor();
void SelectNextEditorObject();
int AddEditorObject(int what);
void ToggleEditorEditMode(int how);
void ResetEditorView();
int DeleteCurrentEditorObject();
// how 0: save as a new file, 1: save into the pattern file.
int SaveEditorPattern(int how);
// The selected object's juggler number, -1 when the selected object is no juggler.
int selectedEditorJuggler();
// The selected object to the centre of the floor, turned back to angle 0.
void centreSelectedEditorObject();
// The jugglers on a circle of circleRadius; value - 111 is their number.
void PlaceJugglersInCircle(int value);
// The selected object's height := 0.
void groundSelectedEditorObject();
