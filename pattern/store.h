// Pattern store and loading pipeline: the store records, Muster_laden and the release of a pattern.
#pragma once

extern char Mustertitel[65];  // the title of the loaded pattern

void freePatternData();
void freeObjectSlots();
