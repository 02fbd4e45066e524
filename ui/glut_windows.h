// GLUT windows, callbacks and the idle loop: the window ids, the remote-control state and the main loop.
#pragma once

extern int remoteState;  // 0 remote control opened but hidden, 1 shown, 2 not opened

void qGlutMainLoopStart();

// Overlay drawings of the 3D window pending for the end of the frame: 1 multi-line text,
// 2 frame-rate line, 4 status lines.
extern int overlayRequests;
int qGlutResetFlags();
int qGlutOpenWindows();
void qGlutStatusText(const char *text, int level, int flags);
unsigned char qGlutTakeKey();
void qGlutMultiLineText(const char *text, int lines, int charactersPerLine, int redraw);
