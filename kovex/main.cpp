// kovex: converts a siteswap into a quoit pattern file.
#include "kovex/kovex.h"

int main(int argc, char **argv) { return kovexMain(argc, argv); }
