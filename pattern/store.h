// Pattern store and loading pipeline: the store records, Muster_laden and the release of a pattern.
#pragma once

void freePatternData();
void freeObjectSlots();
