// patternfile: lays a siteswap out as a pattern file body (one takt per beat, one cell per hand,
// objects named by letters, wrap lines where they make the body shorter) and writes the file.
#pragma once

#include <string>
#include <vector>

#include "siteswap.h"

struct PatternFileOptions {
  double freeRatio = 0.0;  // share of a hand's turn that it is empty; 0 keeps the reader's dwell
  int objectModel = 0;     // model number of every object; 0 keeps the reader's default
  bool holds = false;      // show a 2 as the object held in the hand
  std::string headerText;  // further header entries; a juggler block there replaces kovex's own
  std::string styles[36];  // kind-of-throw letters for the throws of each value
};

struct PatternBody {
  std::vector<std::vector<std::string>> rows;  // per takt, one cell text per hand column
  std::string letters;                         // the object letters in order of appearance
  std::string wrapBefore, wrapAfter;           // the wrap lines, empty when none are needed
};

const int PATTERN_MAX_TAKTS = 5000;

// Column of a juggler's hand in the body: 2j is the left hand, 2j + 1 the right one.
inline int handColumn(int juggler, int hand) { return 2 * juggler + (hand == 0 ? 1 : 0); }

bool layOutBody(const Siteswap &siteswap, const PatternFileOptions &options, PatternBody *body,
                std::string *error);

// The whole pattern file: title, siteswap tag, settings, juggler block, body and wrap lines.
std::string patternFileText(const Siteswap &siteswap, const PatternFileOptions &options,
                            const PatternBody &body);
