// The aids in VRML mode: path nodes, the chooser's scene and the node look-ups they need.
#pragma once

struct ObjectNode;

// Shows the path node of that object number: clears its hidden flag, or makes it (a flight path of
// count samples step seconds apart, or the hand path); 0 when it is shown.
int showVRMLPath(const char *name, int number, int count, double step, bool hand);
// The VRML chooser: op 2 builds its scene, op 3 gives the picked model to the juggled objects; 0 on success.
int qVRMLObjectChooser(int op);
int qBuildVRMLObjectChooser(int rowOffset, int pick, double turnDegrees);
