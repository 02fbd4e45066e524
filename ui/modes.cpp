// Stand-in mode machine: the mode record only (weak, so the real mode machine wins).
#include "ui/modes.h"

__attribute__((weak)) QMode qMode;
