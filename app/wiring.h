// Wiring of the layers: fills every hook table the lower layers call upward through.
#pragma once

// Points the window, pattern, loop, mode, preference and thread hooks at the functions above them.
void connectLayers();
