// The aids in VRML mode: the path nodes (flight, hand and walking paths), the chooser's scene and
// the node look-ups they need.
#pragma once

struct ObjectNode;

// Object numbers of the walking-path nodes: juggler j's is WALKING_PATH_NUMBER + j.
enum { WALKING_PATH_NUMBER = 20051105, MAX_PATH_SAMPLES = 10000 };

// One keyframe's Bezier segment of a juggler's walking path, as the walking editor hands it down.
struct WalkingSegment {
  int juggler;
  double point[4][3];  // control points, metres
};

// Shows the path node of that object number: clears its hidden flag, or makes it (a flight path of
// count samples step seconds apart, or the hand path); 0 when it is shown.
int showVRMLPath(const char *name, int number, int count, double step, bool hand);
// The current object's flight path as a line of count points (at most MAX_PATH_SAMPLES), and the
// control points of its held segments; 0 when the node is made.
int qMakeVRMLFlightPath(const char *name, int count, double step);
int qMakeVRMLHandPath(const char *name);
// The walking paths of the selected jugglers (bit j for juggler j, of those that exist): each
// segment goes into the node of its own juggler. Removing hides the nodes.
int qMakeVRMLWalkingPaths(int selection, const WalkingSegment *segments, int count);
void qRemoveWalkingPaths(int selection);
// The node of a path aid, found by its number and its name; null when there is none.
ObjectNode *findPathNode(const char *name, int number);

// The VRML chooser: op 2 builds its scene, op 3 gives the picked model to the juggled objects; 0 on success.
int qVRMLObjectChooser(int op);
int qBuildVRMLObjectChooser(int rowOffset, int pick, double turnDegrees);
