// What the pattern engine asks of the layers above it while it loads a pattern: the floor, the
// figures and the object models the file names, the keyframe section and the flying block.
// app/ fills the table at start-up; every default succeeds and does nothing, but the keyframe
// section, which the default reads and drops.
#pragma once
#include <cstdio>

struct PatternCalls {
  int (*loadFloor)(int kind);                                  // 0 on success
  int (*loadFigure)(const double position[3], double heading);  // 0 on success
  // The object model file name placed as instance `number`; -1 when it cannot be loaded.
  int (*loadObjectFile)(const char *name, int number, double x, double y, double z, double heading, int flags);
  // VRML mode: the last created object node gets its instance number, position and angles.
  void (*placeLastObjectNode)(int instance, const double position[3], const double angles[3]);
  int (*loadObjects)();  // the models of the objects without one; 0 on success
  void (*freeObjectShapes)();
  void (*setHeadUpAngles)();
  int (*readKeyframes)(FILE *stream);
  // The flying block is freed: whoever points into it points elsewhere.
  void (*flyingBlockFreed)();
};
extern PatternCalls patternCalls;

// Square root of (9.81 / the panorama's gravity), 1.0 by default: the floor loader sets it and
// the reader scales the pattern's time step by it.
extern double gravityTimeScale;
