// Stand-in walking editor: no help screen yet.
#include "ui/walking.h"

void ShowWalkingEditorHelp() {}
