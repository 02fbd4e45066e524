// Stand-in pattern catalogue: the catalogue is empty.
#include "pattern/catalogue.h"

#include "core/Tcl.h"

int GetAllPatterns(const char *, int operation, std::string *) {
  if (operation != 4) qMsg(QMSG_DEBUG, "GetAllPatterns(%d): the pattern catalogue is not available yet\n", operation);
  return 0;
}
