// Classic renderer: GL state of the 3D window, projection and camera, the scene passes, qGlCheckError.
#pragma once

int qGlCheckError(const char *location);
int qGlClearScreen();
int qGlUpdateDisplay();
void qGlSetModes();
void qGlReshape(int width, int height);
void qGlutShowWindows(int show);

// GL switches of the 3D window; invkin is the juggler (from 1) of the arm test mode, 0 off.
struct QOpenGL {
  int invkin;
};
extern QOpenGL qOpenGL;
