// Stand-in message output: debug texts to standard output, errors to stderr.
#include "core/Tcl.h"

#include <cstdarg>
#include <cstdio>

void qMsg(int level, const char *format, ...) {
  level &= ~QMSG_REPORT_FLAG;
  FILE *out = (level == 0 || level == QMSG_DEBUG) ? stdout : (level == QMSG_ERROR || level == QMSG_INFO) ? stderr : nullptr;
  if (!out) return;
  va_list ap;
  va_start(ap, format);
  vfprintf(out, format, ap);
  va_end(ap);
  fflush(out);
}
