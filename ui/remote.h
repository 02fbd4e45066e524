// Remote-control window: the qrc window and its buttons, the 2D panel qrcsub, the frame-rate bar qrcfps.
#pragma once

enum { REMOTE_BUTTON_COUNT = 13, PANEL_NO_BUTTON = 77 };

// The layout of qrc at one window size: extent of its coordinates, and the subwindows in pixels
// (x, y from the top left, width, height).
struct RemoteLayout {
  bool landscape;
  double extentX, extentY;
  int panel[4];
  int fps[4];
};

// The button names in the order of their states: the GL names are their command values.
extern const int remoteButtonNames[REMOTE_BUTTON_COUNT];
// Bit 0: under the pointer or just clicked; bit 1: selected.
extern int remoteButtonStates[REMOTE_BUTTON_COUNT];
extern int panelSize[2];     // width and height of the window that serves as the 2D panel
extern double panelPoint[2];  // the pan's current point, percent of the panel
extern double chooserPoint[2];  // the object chooser's last pointer point, percent
extern int qrcsubButton;      // button held in qrcsub, PANEL_NO_BUTTON when none
extern double chooserSpin;    // degrees of the chooser button's prop
extern int qrcWindowSize[2];  // the last size of qrc in pixels
// The GL drawable of a window takes its new size only after the first frame drawn at it, so the
// windows draw twice after a reshape.
extern int panelRedrawsAfterReshape;

RemoteLayout remoteLayout(int width, int height);
// The centre of a button in window pixels (from the top left) of a qrc of that size; 0 when the
// name is no button.
int remoteButtonCentre(int name, int width, int height, int *x, int *y);

int qGlutqrcOpen();
void qGlutqrcSetFuncs();
void qGlutqrcToggle();
void qGlutqrc2DPanel(int button, int x, int y);
// GLUT mouse callbacks of qrcsub.
void qGlutqrcsubMouse(int button, int state, int x, int y);
void qGlutqrcsubMotion(int x, int y);
void qGlutqrcsubDisplay();
// The frame-rate bar: the smoothing of the rate, then the bar. The smoothing alone, once a frame
// when the bar is not redrawn; false when no bar is to be drawn.
void qGlutqrcfpsDisplay();
bool qGlutSmoothFrameRate();
// Draws the buttons (pick 0) or their pick shapes under their GL names (pick 1).
void qGlutqrcDrawElements(int pick);
// What a release on qrc does with the button under the pointer (0 for none).
void remoteButtonReleased(int name);
