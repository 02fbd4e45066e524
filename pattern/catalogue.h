// Pattern catalogue and stepping: the listed pattern directory, next, previous and random entries.
#pragma once
#include <string>

enum { STEP_NEXT = 21, STEP_PREVIOUS = 22 };

int GetAllPatterns(const char *directory, int operation, std::string *text);
int siteswapDigitValue(int character);
void stepPattern(int command);
