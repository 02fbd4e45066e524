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
// The selected object's height := 0.
void groundSelectedEditorObject();
