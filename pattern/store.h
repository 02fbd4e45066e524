// Pattern store and loading pipeline: counts, scalars and records of the loaded pattern, the hand
// table, Muster_laden, the store allocation, the n-dimensional arrays and the scene-object list.
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/utils.h"
#include "pattern/placement.h"

enum {
  MAX_OBJECTS = 100,      // objects per pattern
  MAX_JUGGLERS = 20,      // jugglers and figures
  MAX_HANDS = 40,         // real and virtual hands together
  MAX_HAND_MACROS = 74,
  ZUSFANZ = 4000,         // merged hold intervals
  CELL_SIZE = 15,         // characters of one pattern cell (stored with a terminator)
  SPARE_HAND_ENTRIES = 40,
  MAX_PROPS = 50,
  QINTERNAL_WORDS = 30,
  QINTERNAL_JUGGLERS = 21,
  QINTERNAL_CELL_WIDTH = 23,
  QINTERNAL_VIRTUAL_USED = 24,
  QINTERNAL_WORK_MEMORY = 27,
  QINTERNAL_RECORD_TAKTS = 29,
};

// Operation code of Hand that builds the hand table.
enum { HAND_SETUP = -1342 };
// Kinds of the hand table.
enum { HAND_REAL = 1, HAND_MACRO = 2, HAND_VIRTUAL = 3 };
// Flag of a hand macro whose points are relative to its juggler.
enum { FANGWURF_RELATIVE = 0x1000000 };

const double INVISIBLE_HEADING = -2101.2002;

// Catch and throw points of one hand entry.
struct Fangwurf {
  double fang[3];
  double wurf[3];
  int32_t handnr;  // muster column of the hand, -1 until known
  int32_t flag;    // kind-of-throw flag of the preset; FANGWURF_RELATIVE for juggler-relative macros
  char kennz;      // hand-macro letter, 0 for other hands
};

// One merged hold interval.
struct Zusf {
  int32_t hand;
  int32_t taktvon;
  int32_t taktbis;
  char buchstabe;
  char extra;
};

// A comment of a body line, bound to a takt and an object.
struct QInlineComment {
  int32_t takt;  // -17 for the copy that belongs to the previous cycle
  int32_t objekt;
  double t_from;
  double t_to;
  char text[56];
};

struct HandTableEntry {
  int column;
  int subIndex;
  int kind;
};

// One juggler: figure position, heading and head tilt.
struct QuoitPosRecord {
  double position[3];   // metres
  double reference[3];  // the figure's reference point, metres
  double base[3];
  double ZWinkel;       // heading, radians
  double headTilt;      // radians; 1717.1717 when no figure stands here
};

// One prop of the header's "z" entry as the file gives it: the editors write it back unchanged.
struct PropRecord {
  char name[100];
  double angles[3];    // degrees about x, y and z
  double position[3];  // metres
};

// Counts and scalars of the current pattern.
extern int qInternal[QINTERNAL_WORDS];
inline int &jugglers = qInternal[QINTERNAL_JUGGLERS];
extern int objekte;
extern int takte;
extern int handCount;
extern int handMacroCount;
extern double dt;
extern double t_zyklus;
extern double gravity;
extern double dwell;
extern double scatter;
extern double Dotzfaktor;
extern int WRAP;
extern int bouncesPresent;
extern int propCount;
extern char Objektbuchstaben[MAX_OBJECTS + 2];
extern char Handmakrobuchstaben[MAX_HAND_MACROS + 1];
extern unsigned char wraptable[2 * MAX_OBJECTS + 1];
extern char Wraplinie[2][MAX_OBJECTS + 1];  // one letter per object
extern char Mustertitel[65];
extern char Siteswap_Text[251];
extern int segmentEstimate[MAX_OBJECTS];
extern int objectModelNumber[MAX_OBJECTS];
extern QuoitPosRecord quoitPos[MAX_JUGGLERS];
extern PropRecord propRecords[MAX_PROPS];  // propCount of them
extern int hiddenJuggler[MAX_JUGGLERS];    // 1 when the "j" block marks the juggler's figure invisible

// The store.
extern Fangwurf *fangwurf;
extern char ***muster;            // [takte][2 x jugglers][CELL_SIZE + 1]
extern Zusf *zusf;
extern int32_t ***dotzspeicher;   // [takte][handCount + handMacroCount][objekte]
extern int32_t ***uebergeb;       // [takte][handCount][objekte]
extern QInlineComment *qInlineComment;
extern int qInlineCommentCount;
extern int qInlineCommentCapacity;
extern int segmentRowLength;      // segments per flugbahn row

// Work memory of the renderer and the block of the flying list (flyingPlacements points at it once
// the jugglers are placed).
extern void *patternWorkMemory;
extern Placement *flyingObjects;

// The fixed scene objects: the list, its record count (end record included), the shown flag and
// the list the renderer draws.
extern Placement *sceneObjects;
extern int sceneObjectCount;
extern int sceneObjectsShown;
extern Placement *sceneObjectDrawList;

void patternMessage(int level, int n, ...);
void resetPatternValues();
int Muster_laden();
int Musterspeicher_anlegen();
void Musterspeicher_freigeben();
int Hand(int hand, int type);
int handNumber(int column, int subIndex);
int macroHand(int m);
// Real, virtual and macro hands together: the hand numbers 0 .. allHands() - 1.
int allHands();
// Whether the hand holds the object in that takt (its bounce-store entry is set); false outside
// the store.
bool handHolds(int takt, int hand, int object);
// Whether the hand number has its catch and throw points in fangwurf.
bool hasHandPoints(int hand);
// 1 when two hands (two columns) belong to one juggler, or are one hand.
int sameJuggler(int hand1, int hand2);
int sameJugglerColumns(int c, int d);
int InlineComments_einordnen();
bool InlineComment_cmp(const QInlineComment &a, const QInlineComment &b);
int allocPatternData();
void freeObjectSlots();
void freePatternData();
int sceneObjectList(const Placement *record, int operation);
int allocArrayN(void *reference, size_t elementSize, int dimensions, const int *sizes);
void freeArrayN(void *reference, size_t elementSize, int dimensions, const int *sizes);
