// Stand-in key table: only Esc (quit) is served; other keys are taken and dropped.
#include "ui/keys.h"

#include "core/native_windows.h"
#include "ui/modes.h"

int keyTableState;

void keyCommand(int, int key) {
  key &= 0xFF;
  if (key == 0) key = qTakeKey();
  if (key == 27) qSetMode(0x40, 0);
}
