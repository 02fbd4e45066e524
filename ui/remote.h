// Remote-control window: the qrc window with its 2D panel and frame-rate bar.
#pragma once

extern int panelSize[2];  // width and height of the window that serves as the 2D panel

int qGlutqrcOpen();
void qGlutqrcsubDisplay();
void qGlutqrcSetFuncs();
void qGlutqrc2DPanel(int button, int x, int y);
void qGlutqrcfpsDisplay();

void qGlutqrcsubDisplay();
void qGlutqrcToggle();
