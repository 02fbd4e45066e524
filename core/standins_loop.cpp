// Stand-ins for the utility and platform calls the pattern loop and the catalogue need, until
// their modules provide them (weak, so the real ones win). Delete when those land.
#include <cstdio>
#include <cstring>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/utils.h"

#define STANDIN __attribute__((weak))

STANDIN bool fileExists(const char *path) {
  FILE *file = fopen(path, "r");
  if (!file) return false;
  fclose(file);
  return true;
}

// The text after the last '/', '\' or ':'; with stripExtension 1 without its last '.' and what follows.
STANDIN const char *qGetFileNode(const char *path, int stripExtension) {
  static char node[251];
  if (stripExtension != 0 && stripExtension != 1) {
    qMsg(QMSG_ERROR, localText(43), stripExtension, "qGetFileNode");
    node[0] = '\0';
    return node;
  }
  char copy[251];
  snprintf(copy, sizeof copy, "%s", path);
  const char *start = copy;
  for (const char *p = copy; *p; p++)
    if (*p == '/' || *p == '\\' || *p == ':') start = p + 1;
  snprintf(node, sizeof node, "%s", start);
  if (stripExtension == 1)
    if (char *dot = strrchr(node, '.')) *dot = '\0';
  return node;
}

STANDIN void qRaiseWindow(int) {}
