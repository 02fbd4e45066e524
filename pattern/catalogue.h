// Pattern catalogue and stepping: the listed pattern directory, next, previous and random entries.
#pragma once
#include <string>

int GetAllPatterns(const char *directory, int operation, std::string *text);
int siteswapDigitValue(int character);
