// Saved siteswaps and start notation: the converted pattern kept under a name, start notations.
#pragma once

int saveSiteswap(int how);
int writeStartNotation(const char *siteswap, int hands, int objects);
