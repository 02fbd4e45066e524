// Walking editor and keyframes: the walking editor's help screen.
#pragma once

void ShowWalkingEditorHelp();
