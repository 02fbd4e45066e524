// Menus and command values: the menu trees on the right mouse button and their callbacks.
#pragma once

void qGlutMakeMenu();
void qGlutRemakeMenu();
