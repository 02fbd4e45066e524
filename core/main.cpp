// The quoit program: everything happens in quoitMain.
#include "core/startup.h"

int main(int argc, char **argv) { return quoitMain(argc, argv); }
