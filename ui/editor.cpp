// Stand-in scene editor: no help and no status screen yet.
#include "ui/editor.h"

int editState;
char editorHint[100];

void ShowEditorHelp() {}
void qFullStatusEditor() {}
