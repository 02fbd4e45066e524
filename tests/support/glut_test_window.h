// Test support: GLUT windows on the test program's shared Xvfb display.
#pragma once

// Opens a GLUT window to draw in on the shared display; GLUT is started once and stopped at exit,
// before the shared server. Without an accumulation buffer on the server the mode falls back to
// one without. The window number, or 0 when there is no display or no window.
int openGlutTestWindow(const char *title, int width, int height, unsigned mode);
