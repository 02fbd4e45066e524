// The interaction state words: defined here, below every layer that reads them.
#include "core/uistate.h"

QuoitMode qMode;
QuoitDisplay qDisplay;
int textRefresh;
int chooserState;
int chosenModel = -1;
int jugglerViewCounter;

int qWindowIds[WINDOW_COUNT];
int remoteState = REMOTE_NOT_OPENED;
int overlayRequests;
int lastMouseX, lastMouseY;
