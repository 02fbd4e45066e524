// Walking editor and keyframes: the walking editor's menu commands.
#pragma once

void walkingEditorMenu(int command);
