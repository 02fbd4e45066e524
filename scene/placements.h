// Placements: the millimetre encoding, the flying list with every juggled object's
// position at the scene time, the figures' hand points, the fixed placements of jugglers and single
// objects, the object chooser's grid, the flight path written as an object file and the debug view's
// segment lines.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "pattern/placement.h"

// The object chooser's grid: spacing in millimetres, columns, rows and the height of its floor.
enum { CHOOSER_SPACING = 700, CHOOSER_COLUMNS = 4, CHOOSER_ROWS = 5, CHOOSER_FLOOR_Z = -10000 };

// The flying list the frame step writes and the renderer and the follow camera read: record 0 is the
// floor. It is the pattern's block (flyingObjects of the store) once the jugglers are placed, the
// chooser grid while the chooser is shown, and a floor-only list before any pattern.
extern Placement *flyingPlacements;

// Metres as millimetres kept within 16 bits (not a number gives 0).
int16_t packMillimetres(double metres);

struct Flugbahn;
// The segment of row o that holds time t: the clock's cursor, or searched from the first segment
// when the clock was asked to restart (it then leaves the cursor alone).
int segmentIndex(int o, double t, int restart);
// Where an object is and which way it moves at time d into its segment s (fraction f).
void segmentPoint(const Flugbahn &s, double d, double f, double point[3], double direction[3]);
// One line of the debug view's segment table: the object's letter, the segment's index and flags,
// its two turns (degrees) and the time d into the segment.
void appendSegmentLine(std::string &text, int letter, const Flugbahn &s, int index, double yDegrees, double zDegrees,
                       double d);

int qComputeObjectPositions(Placement *out, double step, double t, double *position, int row);
void qAddRadiusOffset(Placement *p);
int qPlaceJugglers();
int qBuildObjectChooser(int page, int wanted, int turn);
int qPlaceObject(const char *name, const double position[3], double a, double b, double c);
int qRemoveObject(const char *name);
int qWritePathObject(const char *path, int n, double dt);
// Flight-path samples of one cycle: about 20 a second, at least one and at most MAX_CYCLE_SAMPLES.
enum { MAX_CYCLE_SAMPLES = 10000 };
int pathSamplesPerCycle();
// The samples of a flight path: count times from t = 0.01 on in steps, each cycle's samples
// (pathSamplesPerCycle) in the row of the object's forward wrap partner of the cycle before.
void forEachPathSample(int object, int count, double step, const std::function<void(int i, int object, double t)> &sample);

// The flying list back to the pattern's block, or to the floor-only list when there is none (after
// the chooser, and when the store frees the block).
void showPatternFlyingList();
// The flying list shows the floor alone, so the juggled objects are not drawn (the editors).
void showFloorOnlyFlyingList();
