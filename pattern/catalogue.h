// Pattern catalogue and stepping: the listed pattern directory with its cursor and random draws,
// next/previous steps through the catalogue or the converter list "q2.out", the pattern kind
// filters and the value of a siteswap throw character.
#pragma once
#include <string>

enum {
  CATALOGUE_NAME_SIZE = 250,    // a directory or an entry name holds at most 249 characters
  CATALOGUE_DRAWN = 180301,     // used flag of an entry the random step has delivered
  CONVERTER_LIST_LINE = 500,    // characters of one line of "q2.out"
  STEP_NEXT = 21,
  STEP_PREVIOUS = 22,
};

// Operations of GetAllPatterns.
enum {
  CATALOGUE_LIST = 1,
  CATALOGUE_NEXT = 2,
  CATALOGUE_RANDOM = 3,
  CATALOGUE_FREE = 4,
  CATALOGUE_SORT = 5,
  CATALOGUE_AT_NUMBER = 6,
  CATALOGUE_PREVIOUS = 7,
  CATALOGUE_AFTER_NAME = 8,
};

#define CONVERTER_LIST_FILE "q2.out"

// Kind filters: 0 off, 1 the name must contain one of the filter's words, 2 none of them.
extern int bounceFilter;
extern int passingFilter;
extern int multiplexFilter;
extern int filterPassCount;

int GetAllPatterns(const char *directory, int operation, std::string *text);
int catalogueCount();
int catalogueCursor();
const char *catalogueEntry(int index);
int comparePatternNames(const char *a, const char *b);
void stepPattern(int command);
int stepConverterList(int command);
const char *keepCase(const char *text);
int patternKindFilter(const char *path, int reset);
int containsIgnoreCase(const char *text, const char *word);
// Tell the user that a step through the catalogue or the converter list went round its end.
void reportListWrapToFirst();
void reportListWrapToLast();
