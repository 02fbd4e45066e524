// Walking editor: its menu commands, which its panel's save and leave also reach, and its help screen.
#pragma once
#include <string>

void walkingEditorMenu(int command);
void ShowWalkingEditorHelp();
std::string walkingEditorHelpText(int *width);
