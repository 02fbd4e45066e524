// Keyframes of the jugglers' walking paths: the keyframe list, and the pattern file's keyframe
// section read into it and written back from it.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

struct Keyframe {
  double point[4][3];  // the control points of the segment's cubic Bezier curve, metres
  int32_t no;          // keyframe number: the list is ordered by it
  int32_t j;           // juggler number
  int32_t tang;        // kept and written back unchanged
  int32_t afp;
  double angle[2];     // degrees, kept and written back unchanged
  Keyframe *next;
  Keyframe *prev;
};

// Operations of KeyframeList.
enum {
  KEYFRAMES_EMPTY = 1,   // frees every record and empties the head (a section is read next)
  KEYFRAMES_INSERT = 2,  // inserts a copy after every record whose number is not greater
  KEYFRAMES_NONE = 3,    // does nothing
  KEYFRAMES_FREE = 4,    // frees every record and empties the head: the pattern is done with
};

// A section holds at most this many keyframes; the rest of a longer one is not read.
enum { KEYFRAMES_MAX = 1000 };

extern Keyframe *keyframeList;

int KeyframeList(int op, const Keyframe *keyframe);
int keyframeCount();
// Reads the section at the stream's first "kf" line: 0, or the number of the line that did not match
// (1 kf, 6 j, 2 b, 3 tang, 4 afp, 5 angle, 7 too many keyframes).
int readKeyframes(FILE *stream);
// The list as a keyframe section; empty for an empty list.
std::string keyframesText();
// Writes the list into the current pattern file: 0, 1 when there is nothing to write, 2 when the
// file does not hold the section afterwards, 3 when the section was not read whole.
int writeKeyframes2patternFile();
// Whether the file's header holds the entry text (its key letter is the first character) as written.
bool patternEntryWritten(const char *file, const std::string &entry);
