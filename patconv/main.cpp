// patconv: rewrites a pattern file into its Boston-Mess form.
#include "patconv/patconv.h"

int main(int argc, char **argv) { return patconvMain(argc, argv); }
