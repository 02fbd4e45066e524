// Chain checker of the tests: the physical and bookkeeping properties every finished object chain
// must have, computed here from the segments alone, apart from the program's own chain check.
#pragma once
#include <string>
#include <vector>

#include "core/vecmath.h"

struct Flugbahn;

namespace chaincheck {

// Position of a flight segment at time t, of a hold by its Bezier curve.
void flightPosition(const Flugbahn &f, double t, double out[3]);
void holdPosition(const Flugbahn &h, double t, double out[3]);
// Spin angle and velocity of a flight at its end.
double flightEndAngle(const Flugbahn &f);
void flightEndVelocity(const Flugbahn &f, double out[3]);
// Offset from a hold's curve to the object's path point for object o at these angles.
void radiusOffset(int o, double spinAngle, double heading, double out[3]);
// Height of the contact plane of object o's bounces.
double contactHeight(int o);
bool isFlight(const Flugbahn &f);
bool isHold(const Flugbahn &f);
bool isBounceArc(const Flugbahn &f);
double distance(const double a[3], const double b[3]);
// Cosine of the angle between two vectors (1 when either is zero).
double cosine(const double a[3], const double b[3]);

// Every fault of the chains of the loaded pattern, as readable lines; empty when sound. Flights
// join their holds through the object's radius offset.
std::vector<std::string> checkChains();
// One object's chain alone.
std::vector<std::string> checkChain(int o);
// No hand holds more objects during a takt than its cell lists (for a dwell below 1.5).
std::vector<std::string> checkHandLoads();
// The bounce physics of every run of arcs: contacts on the plane, rebound speeds, falling times
// and apex heights.
std::vector<std::string> checkBounces(double factor);
// The chains as text, for failure messages.
std::string dumpChains();

}  // namespace chaincheck
