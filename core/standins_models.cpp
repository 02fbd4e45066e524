// Stand-in for the platform's status line, which the model loader calls, until the platform layer
// lands it (weak, so the real one wins). Remove this file once it exists.
#include "core/native_windows.h"

__attribute__((weak)) void qStatusText(const char *, int, int) {}
