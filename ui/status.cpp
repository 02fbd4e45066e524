// Stand-in status and help screens: nothing is shown yet.
#include "ui/status.h"

void showFullStatus() {}
void help_anzeigen() {}
