// Stand-in mode machine: the records, the flag and speed values, quit; other commands are not available.
#include "ui/modes.h"

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/patternloop.h"
#include "ui/glut_windows.h"

QuoitMode qMode;
QuoitDisplay qDisplay;
int chooserState;
int nextObjectRequest;
int textRefresh;

static int64_t joinHalves(uint32_t low, uint32_t high) { return int64_t((uint64_t(high) << 32) | low); }

int qSetMode(uint32_t low, uint32_t high) {
  if (low == 0x40 && high == 0) {
    nextPatternAction = ACTION_QUIT;
    restartRequest = 1;
    return 0;
  }
  qMsg(QMSG_DEBUG, "qSetMode(0x%x, 0x%x): not available\n", low, high);
  return 0;
}

int qSetModeValue(uint32_t modeLow, uint32_t modeHigh, int32_t valueLow, int32_t valueHigh) {
  int64_t mode = joinHalves(modeLow, modeHigh);
  int64_t value = joinHalves(uint32_t(valueLow), uint32_t(valueHigh));
  const int64_t flagBits = 0x7FFF00000LL;
  if (mode == 8) {
    if (value >= -200 && value <= 200) {
      qMode.speed = int(value);
      qGlutSetTitle();
    }
    return 0;
  }
  if (mode & flagBits) {
    if (value) qMode.flags |= mode & flagBits;
    else qMode.flags &= ~(mode & flagBits);
    return 0;
  }
  qMsg(QMSG_DEBUG, "qSetModeValue(0x%llx, %lld): not available\n", (long long)mode, (long long)value);
  return 1;
}

int qGetMode(int type) {
  switch (type) {
    case 1: return int(qMode.display);
    case 2: return qMode.reserved;
    case 3: return int(qMode.main);
    case 4: return int(qMode.move);
    case 5: return int(qMode.view);
    case 7: return int(qMode.flags);
    case 8: return qMode.speed;
  }
  qMsg(QMSG_ERROR, localText(45), type, "qGetMode()");
  return 0;
}

void schatten_auswerten() { qMsg(QMSG_DEBUG, "schatten_auswerten(): not available\n"); }

int displayModeClass(int64_t mode) {
  if (mode == 2 || mode == 6 || mode == 8) return 1;
  if (mode == 4) return 2;
  return 0;
}
