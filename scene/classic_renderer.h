// Classic renderer: GL state of the 3D window, projection and camera, the scene passes, qGlCheckError.
#pragma once

int qGlCheckError(const char *location);
int qGlClearScreen();
int qGlUpdateDisplay();
void qGlSetModes();
void qGlReshape(int width, int height);
void qGlutShowWindows(int show);
