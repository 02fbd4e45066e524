// Stand-in utilities: the file-name part of a path.
#include "core/utils.h"

#include <cstdio>
#include <cstring>

const char *qGetFileNode(const char *path, int stripExtension) {
  static char node[251];
  const char *start = path;
  for (const char *p = path; *p; p++)
    if (*p == '/' || *p == '\\' || *p == ':') start = p + 1;
  snprintf(node, sizeof node, "%s", start);
  if (stripExtension == 1) {
    char *dot = strrchr(node, '.');
    if (dot) *dot = 0;
  }
  return node;
}
