// Scene editor: its state, help and status screens.
#pragma once

extern int editState;        // 4488 while objects are edited with the mouse
extern char editorHint[100]; // the editor's hint line

void ShowEditorHelp();
void qFullStatusEditor();
