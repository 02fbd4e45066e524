// Key command table: keyCommand turns the last key into mode commands, presets and speed changes.
#pragma once

extern int keyTableState;  // counter of the '~' key; its low two bits go into the view status word

void keyCommand(int ignored, int key);
