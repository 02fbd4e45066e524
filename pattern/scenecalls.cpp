// The pattern engine's calls upward, with defaults that let it run on its own (tests, tools).
#include "pattern/scenecalls.h"

static int noFloor(int) { return 0; }
static int noFigure(const double[3], double) { return 0; }
static int noObjectFile(const char *, int, double, double, double, double, int) { return 0; }
static void noPlacement(int, const double[3], const double[3]) {}
static int noObjects() { return 0; }
static void nothing() {}

// Without a walking editor the keyframe section is read and dropped: "kf n j m", the b, tang, afp
// and angle lines, up to a "kf" with a negative number. 0, or the number of the line kind that did not match.
static int skipKeyframes(FILE *stream) {
  for (;;) {
    int number, juggler, tang, afp;
    double b[8], angle[2];
    if (fscanf(stream, " kf %d", &number) != 1) return 1;
    if (number < 0) return 0;
    if (fscanf(stream, " j %d", &juggler) != 1) return 6;
    if (fscanf(stream, " b %lf,%lf; %lf,%lf; %lf,%lf; %lf,%lf", &b[0], &b[1], &b[2], &b[3], &b[4], &b[5],
               &b[6], &b[7]) != 8)
      return 2;
    if (fscanf(stream, " tang=%d", &tang) != 1) return 3;
    if (fscanf(stream, " afp=%d", &afp) != 1) return 4;
    if (fscanf(stream, " angle=%lf %lf", &angle[0], &angle[1]) != 2) return 5;
  }
}

PatternCalls patternCalls = {noFloor, noFigure, noObjectFile, noPlacement, noObjects,
                             nothing, nothing, skipKeyframes, nothing};

double gravityTimeScale = 1.0;
