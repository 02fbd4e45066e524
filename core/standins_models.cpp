// Stand-ins for core functions the model loaders call, until the core lands them (weak, so the
// real functions win at link time). Remove this file once they exist.
#include <string>

#include "core/native_windows.h"
#include "core/startup.h"
#include "core/tclthreads.h"

#include <unistd.h>

#define STANDIN __attribute__((weak))

STANDIN std::string modelFileArgument;

STANDIN void reportProgress(int) {}
STANDIN void qStatusText(const char *, int, int) {}
STANDIN int qChdir(const char *path) { return chdir(path); }
