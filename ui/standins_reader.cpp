// Stand-in for the keyframe reader the pattern reader calls, until the walking editor provides it
// (weak, so the real one wins). Delete when it lands.
#include <cstdio>

#include "ui/walkingeditor.h"

#define STANDIN __attribute__((weak))

// Reads the keyframe section and keeps nothing: "kf n j m", the b, tang, afp and angle lines,
// up to a "kf" with a negative number. 0, or the number of the line kind that did not match.
STANDIN int readKeyframes(FILE *stream) {
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
