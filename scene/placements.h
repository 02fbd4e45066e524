// Placements: the Placement record and its angle encoding, the flying list with every juggled object's
// position at the scene time, the figures' hand points, the fixed placements of jugglers and single
// objects, the object chooser's grid and the flight path written as an object file.
#pragma once
#include <cstdint>

struct Placement {
  int16_t model;   // index into the loaded-object table; -1 ends the flying list, -2 the fixed list
  int16_t angleX;  // 1/2048 of a turn
  int16_t x, y, z; // millimetres
  int16_t angleY;
  int16_t angleZ;
  int16_t letter;  // low byte: the object's letter
};

enum { PLACEMENT_END_FLYING = -1, PLACEMENT_END_FIXED = -2 };

// The object chooser's grid: spacing in millimetres, columns, rows and the height of its floor.
enum { CHOOSER_SPACING = 700, CHOOSER_COLUMNS = 4, CHOOSER_ROWS = 5, CHOOSER_FLOOR_Z = -10000 };

// The flying list the frame step writes and the renderer and the follow camera read: record 0 is the
// floor. It is the pattern's block (flyingObjects of the store) once the jugglers are placed, the
// chooser grid while the chooser is shown, and a floor-only list before any pattern.
extern Placement *flyingPlacements;

// An angle in radians as 1/2048 of a turn, 0..2047 for every value (an angle that is not finite gives 0);
// and back to radians.
int16_t encodeAngle(double radians);
double decodeAngle(int16_t word);

int qComputeObjectPositions(Placement *out, double step, double t, double *position, int row);
void qAddRadiusOffset(Placement *p);
int qPlaceJugglers();
int qBuildObjectChooser(int page, int wanted, int turn);
int qPlaceObject(const char *name, const double position[3], double a, double b, double c);
int qRemoveObject(const char *name);
int qWritePathObject(const char *path, int n, double dt);

// The flying list back to the pattern's block, or to the floor-only list when there is none (after
// the chooser, and when the store frees the block).
void showPatternFlyingList();
