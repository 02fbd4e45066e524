// Scene editor: entering and leaving the editors, the selected object and its commands.
#pragma once

int StartEditor();
int EndEditor();
void SelectNextEditorObject();
int AddEditorObject(int what);
void ToggleEditorEditMode(int how);
void ResetEditorView();
int DeleteCurrentEditorObject();
// The selected object's height := 0.
void groundSelectedEditorObject();
