// GLUT windows, callbacks and the idle loop: the window ids, the remote-control state and the main loop.
#pragma once

enum { WIN_3D = 0, WIN_QRCFPS = 1, WIN_QRC = 2, WIN_QRCSUB = 3, WINDOW_COUNT = 4 };
enum { REMOTE_HIDDEN = 0, REMOTE_SHOWN = 1, REMOTE_NOT_OPENED = 2 };
enum { OVERLAY_TEXT = 1, OVERLAY_FPS = 2, OVERLAY_STATUS = 4 };
enum { STATUS_MESSAGE = 1, STATUS_HINT = 4, STATUS_NO_INFO = 0x400, STATUS_DRAW = 0x800 };

extern int qWindowIds[WINDOW_COUNT];
extern int remoteState;  // 0 remote control opened but hidden, 1 shown, 2 not opened
extern int overlayRequests;  // pending overlays of the 3D window: OVERLAY_TEXT, OVERLAY_FPS, OVERLAY_STATUS

void qGlutMainLoopStart();
int qGlutResetFlags();
int qGlutOpenWindows();
int qGlutSetWindow(int id);
void qGlutStatusText(const char *text, int level, int flags);
unsigned char qGlutTakeKey();
void qGlutMultiLineText(const char *text, int lines, int charactersPerLine, int redraw);
void qGlutFpsOverlay();
void qGlutSetTitle();
