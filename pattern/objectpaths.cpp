// Stand-in object paths: no chains until the path computation exists (weak, so the real one wins).
#include "pattern/objectpaths.h"

__attribute__((weak)) Flugbahn **flugbahn;
__attribute__((weak)) int paraz[100];
