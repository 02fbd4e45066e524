// Stand-in preferences: the record only.
#include "core/prefs.h"

QuoitPrefs qPrefs;
