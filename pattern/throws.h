// Throws: one flight of an object from its throw to its catch, the kinds of throw of the pattern
// cells, the spin over a flight and its mirroring after throws over the shoulder, the stacking of
// objects held together, the object properties and the small geometry the path steps share.
#pragma once
#include <cstdint>

struct Fangwurf;
struct Flugbahn;

enum : uint32_t {
  KOT_ERROR = 0x80000000u,
  KOT_GROUP_END = 0x40000000u,
  KOT_c = 0x100, KOT_C = 0x200, KOT_f = 0x400, KOT_b = 0x800, KOT_B = 0x1000, KOT_a = 0x2000,
  KOT_A = 0x4000, KOT_s = 0x8000, KOT_S = 0x10000, KOT_t = 0x20000, KOT_d = 0x40000, KOT_z = 0x80000,
};

// GetKindOfThrow's answer for a letter outside the table or a spin count outside -9..9.
const uint32_t KOT_BAD_GROUP = 51298;
// Spin count when the group gives none.
enum { SPIN_NONE = 1717 };

// Results of the last GetKindOfThrow: the spin count (-9..9 or SPIN_NONE) and the 'z' angle (degrees).
extern int throwSpinCount;
extern double throwZAngle;

// thrown: the object whose letter the throwing cell holds, for the hand-over table (-1: the object
// itself; at the start of a wrapped chain the backward partner).
int Wurfbahn_berechnen(int object, int segment, int handFrom, int handTo, int taktFrom, int taktTo, int spinCount,
                       double zAngle, uint32_t throwKind, uint32_t catchKind, int join, int thrown = -1);
uint32_t GetKindOfThrow(int hand, int takt);
uint32_t KindOfThrowFlag(char letter);
int HasKindOfThrow0800(int hand, const Flugbahn *segment);
int HasKindOfThrow40000(int hand, const Flugbahn *segment);
int Spin_spiegeln();
double Spinwinkel(double flightTime, double phase, int spinCount);
int Wurf_ueber_Schulter(double throwerHeading, double catcherHeading, double throwDirection);
int Bit4_xor_Bit8(int hand, uint32_t flag);
void catchPosition(int place, int hand, double size, double point[3]);
// A point in the juggler's own frame (x forward) turned by the juggler's heading and moved to
// the juggler's place; juggler lies in 0 .. MAX_JUGGLERS - 1.
void jugglerToWorld(double p[3], int juggler);
void Fangwurf_umrechnen(Fangwurf *record, int column);
void Punkt_drehen(double p[2], double angle);
// Heading (radians) of the juggler whose column the hand is in; 0 for none.
double handHeading(int hand);
double Winkel_zwischen(double x1, double y1, double x2, double y2);
const double *Objekt_Radiusvektor(int model, double spinAngle, double heading);
int ObjektEigenschaft(int model, int object, int property);
// Whether the model (object -17) or the object's model is a single sphere: a ball.
bool objectIsBall(int model, int object);
// VRML mode: property 1-5 of a model from its scene node; the model store sets it, the default gives 0.
extern int (*vrmlObjectProperty)(int model, int property);
int objectModelForRow(int object);
void bezierPoint(const double B0[3], const double B1[3], const double B2[3], const double B3[3], double u,
                 double out[3]);
void polarToXY(double r, double angle, double out[2]);
