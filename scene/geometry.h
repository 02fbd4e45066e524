// Geometry helpers: vector arithmetic, angle wrapping, random numbers, the camera's eye position,
// the same-juggler test, the VRML scene totals and the built-in prop shapes.
#pragma once

struct ObjectNode;
typedef struct GLUquadric GLUquadric;

extern int sceneVertexTotal;  // VRML mode: vertices and faces of the scene (status screen)
extern int sceneFaceTotal;

void vectorDifference(double out[3], const double a[3], const double b[3]);
double *crossProduct(const double a[3], const double b[3]);
double vectorLength(const double v[3]);
double *normalizeVector(double v[3]);
double wrapAnglePi(double x);
double wrapAngle180(double x);
double random01();
double *jitterVector(double v[3]);
void logVector(const double v[3]);
int sameJuggler(int hand1, int hand2);
int sameJugglerColumns(int c, int d);
ObjectNode *vrmlNodeTotals();

void propArrow(GLUquadric *quadric);
void propSpheroid(GLUquadric *quadric, double radius, int slices, int stacks, int colourSet, int colourA,
                  int colourB);
void propClub(GLUquadric *quadric);

// The two geometry counters of the prop-shape builder.
int propShapeCount(int which);
