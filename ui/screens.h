// Status and help screens: the full status screen, the main help screen and the help-text builder,
// the status-line title, the list wrap messages and the debug dumps.
#pragma once
#include <string>

enum { FS_ZEILEN = 28, ML_ZEILEN = 67, STATUS_TITLE_SIZE = 100 };

extern char statusLineTitle[STATUS_TITLE_SIZE + 1];
extern int statusLineTitleLength;

// The version the status screens show.
const char *versionText();

// The screen texts as built, for the callers that show them and for tests.
std::string fullStatusText(int *lines);
int widestTextLine(const std::string &text);  // characters of the longest line
std::string helpText(int *width);

void showFullStatus();
void help_anzeigen();
int appendHelpLine(std::string &buffer, int n);
int countTextLines(const char *text);
void setStatusLineTitle();
void debuginfo(int code);
