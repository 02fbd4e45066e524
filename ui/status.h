// Status and help screens: the full status screen, the main help screen and the status-line title.
#pragma once

void setStatusLineTitle();
void reportListWrapToFirst();
void reportListWrapToLast();
void showFullStatus();
void help_anzeigen();
