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
// A sphere about the origin with smooth normals facing out, the same vertices, normals and triangles
// as gluSphere draws with a quadric's defaults, all in one GL_TRIANGLES primitive (gluSphere's strips
// and fans are a draw each when a list is played). Slices are kept to 3..239, stacks to 2..239.
void sphereTriangles(double radius, int slices, int stacks);

// The two geometry counters of the prop-shape builder.
int propShapeCount(int which);
