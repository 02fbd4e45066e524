// GLUT windows, callbacks and the idle loop: the window ids, the remote-control state and the main loop.
#pragma once

enum { WIN_3D = 0, WIN_QRCFPS = 1, WIN_QRC = 2, WIN_QRCSUB = 3, WINDOW_COUNT = 4 };

extern int qWindowIds[WINDOW_COUNT];

extern int remoteState;  // 0 remote control opened but hidden, 1 shown, 2 not opened

void qGlutMainLoopStart();
int qGlutSetWindow(int id);
void qGlutSetTitle();

// Overlay drawings of the 3D window pending for the end of the frame: 1 multi-line text,
// 2 frame-rate line, 4 status lines.
extern int overlayRequests;
int qGlutResetFlags();
int qGlutOpenWindows();
void qGlutStatusText(const char *text, int level, int flags);
unsigned char qGlutTakeKey();
void qGlutMultiLineText(const char *text, int lines, int charactersPerLine, int redraw);
