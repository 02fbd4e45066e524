// The interaction state words: defined here, below every layer that reads them.
#include "core/uistate.h"

QuoitMode qMode;
QuoitDisplay qDisplay;
int textRefresh;
int chooserState;
int chosenModel = -1;
ObjectNode *editorObject;
int nextObjectRequest;
int64_t savedChooserDisplay[2];
int jugglerViewCounter;

int qWindowIds[WINDOW_COUNT];
int remoteState = REMOTE_NOT_OPENED;
int overlayRequests;
int lastMouseX, lastMouseY;

// The full-screen bit follows the window and the meters bit goes with the meters' switches.
void restoreChooserDisplay() {
  const int64_t kept = FLAG_FULL_SCREEN | FLAG_METERS;
  qMode.display = savedChooserDisplay[0];
  qMode.flags = (savedChooserDisplay[1] & ~kept) | (qMode.flags & kept);
}

int displayModeClass(int64_t mode) {
  if (mode == 2 || mode == 6 || mode == 8) return 1;
  if (mode == 4) return 2;
  return 0;
}
