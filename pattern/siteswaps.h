// Saved siteswaps (the converted pattern kept under a name) and the start-notation collection.
#pragma once
#include <string>

#define START_NOTATION_FILE "start-notation.html"
#define START_NOTATION_BLOCK_FILE "tmp/start-notation.html"
#define NAME_DIALOG_SCRIPT "tcl/namereq.tcl"
#define START_NOTATION_SCRIPT "tcl/start-notation.tcl"

// What the siteswap converters made of the pattern on show. The pattern loop fills it after a
// conversion and empties it before every load.
struct ConvertedSiteswap {
  std::string text;  // the siteswap text; empty when the pattern did not come from the converter
  std::string file;  // the file on show: the converter's output or its Boston-Mess form
};
extern ConvertedSiteswap convertedSiteswap;

enum { NAME_CANCELLED = -17 };

// Results of insertStartNotation besides 0.
enum {
  INSERT_NO_SECTION = 1,
  INSERT_NOT_READ = 2,
  INSERT_NOT_WRITTEN = 4,
  INSERT_ALREADY_THERE = 1010,
};

enum { START_HANDS_MAX = 6 };

// A start notation as the dialog answers it.
struct StartNotation {
  std::string pattern;
  int hands;
  std::string start;             // the start sequence, empty for none
  int counts[START_HANDS_MAX];   // objects per hand at the start: k and k + J are juggler k's R and L
};

// Saves the converted pattern under a name the user confirms. On success with a name the new
// file's name is in savedFile; it is empty when nothing was saved.
int saveSiteswap(int how, std::string &savedFile);
// The name proposed for a saved siteswap: directory, object count and the siteswap, with the
// characters a file name cannot hold replaced.
std::string proposedSiteswapName(const std::string &directory, int objects, const std::string &siteswap, int multihand);
// Copies a converter output to a new pattern file that must not exist yet: 0, 1 (source not
// read), 2 (the target exists), 3 (target not written).
int copyConvertedPattern(const char *source, const char *target);

int writeStartNotation(const char *siteswap, int hands, int objects);
// Reads the dialog's answer: 0, 11 (cancelled) or 12 (not understood, reported).
int parseStartNotationAnswer(const char *answer, StartNotation &out);
std::string startNotationBlock(const StartNotation &notation, int objects, const std::string &transitionIn,
                               const std::string &transitionOut);
std::string startNotationLink(const StartNotation &notation);
// Adds the link and the block to the collection: 0, 4 (the block not inserted, also when it is there
// already), 5 (the user kept the entry out) or 6.
int addStartNotation(const char *file, const StartNotation &notation, const std::string &block, int objects);
int insertStartNotation(const char *file, const char *sectionAnchor, const char *itemAnchor, const std::string &text,
                        const char *endAnchor);
// The text with the item inserted at its sorted place in the section, as insertStartNotation
// writes it: 0, 1 (no section) or 1010 (the item is there already; the text is unchanged).
int insertedStartNotation(std::string &text, const char *sectionAnchor, const char *itemAnchor, const std::string &item,
                          const char *endAnchor);
