// Bounded token reading for the model and list files: numbers, words and lines from a stream.
#pragma once
#include <cstdio>
#include <string>

bool readInt(FILE *f, int *value);
bool readIntBefore(FILE *f, int stop, int *value);
bool readReal(FILE *f, double *value);
bool readWord(FILE *f, char *word, size_t size);
bool readBaseWord(FILE *f, int *value);
bool readLine(FILE *f, std::string &line, size_t limit);
void skipLine(FILE *f);
void skipWord(FILE *f);
bool skipTo(FILE *f, int c);
bool skipClosing(FILE *f);
int peekAfterSpace(FILE *f);
