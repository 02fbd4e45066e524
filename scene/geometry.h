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
// The triangles of a sphere about centre with smooth normals facing out, the same vertices, normals and
// triangles as gluSphere draws with a quadric's defaults, for a GL_TRIANGLES primitive the caller has
// begun, so that spheres share one draw when a list is played (gluSphere's strips and fans are a draw
// each, and so is every sphere moved into place on its own). Slices are kept to 3..239, stacks to 2..239.
// Without normals only the vertices, for lists that are drawn unlit.
void sphereTriangles(const double centre[3], double radius, int slices, int stacks, bool normals);

// The two geometry counters of the prop-shape builder.
int propShapeCount(int which);
