// The quoit program: everything happens in quoitMain.
#include <X11/Xlib.h>
#include <malloc.h>

#include "app/startup.h"

// The software GL driver takes and frees large blocks for every pass of a frame. With the
// allocator's moving thresholds the top of the heap went back to the system after a pass and was
// faulted in again for the next one, which at times cost four fifths of the frame time. Fixed
// thresholds keep that memory in the heap.
static void keepFreedMemory() {
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

int main(int argc, char **argv) {
  keepFreedMemory();
  XInitThreads();  // before any GLUT, X or Tk call: the Tcl thread opens its own display connection
  return quoitMain(argc, argv);
}
