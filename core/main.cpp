// The quoit program: everything happens in quoitMain.
#include <X11/Xlib.h>

#include "core/startup.h"

int main(int argc, char **argv) {
  XInitThreads();  // before any GLUT, X or Tk call: the Tcl thread opens its own display connection
  return quoitMain(argc, argv);
}
