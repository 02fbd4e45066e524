// GLUT windows, callbacks and the idle loop: the window ids, the remote-control state and the main loop.
#pragma once

extern int remoteState;  // 0 remote control opened but hidden, 1 shown, 2 not opened

void qGlutMainLoopStart();
