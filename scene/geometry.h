// Scene geometry: the VRML scene totals and the built-in prop shapes.
#pragma once

struct ObjectNode;
typedef struct GLUquadric GLUquadric;

extern int sceneVertexTotal;  // VRML mode: vertices and faces of the scene (status screen)
extern int sceneFaceTotal;

ObjectNode *vrmlNodeTotals();

void propArrow(GLUquadric *quadric);
void propSpheroid(GLUquadric *quadric, double radius, int slices, int stacks, int colourSet, int colourA,
                  int colourB);
void propClub(GLUquadric *quadric);

// The two geometry counters of the prop-shape builder.
int propShapeCount(int which);
