// Pattern store and loading pipeline: the records of the loaded pattern, the hand table,
// Muster_laden, the n-dimensional arrays and the scene-object list.
#include "pattern/store.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/Tcl.h"
#include "core/stopwatch.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/prefs.h"
#include "core/runstate.h"
#include "core/tclthreads.h"
#include "core/utils.h"
#include "pattern/clock.h"
#include "pattern/dumps.h"
#include "pattern/fitting.h"
#include "pattern/handpaths.h"
#include "pattern/holds.h"
#include "pattern/objectpaths.h"
#include "pattern/reader.h"
#include "pattern/throws.h"
#include "pattern/scenecalls.h"
#include "pattern/testseam.h"

int qInternal[QINTERNAL_WORDS];
int objekte;
int takte;
int handCount;
int handMacroCount;
double dt = 0.25;
double t_zyklus;
double gravity = 9.81;
double dwell = 1.2;
double scatter = 0.1;
double Dotzfaktor = 0.95;
int WRAP;
int bouncesPresent;
int propCount;
PropRecord propRecords[MAX_PROPS];
int hiddenJuggler[MAX_JUGGLERS];
char Objektbuchstaben[MAX_OBJECTS + 2];
char Handmakrobuchstaben[MAX_HAND_MACROS + 1];
unsigned char wraptable[2 * MAX_OBJECTS + 1];
char Wraplinie[2][MAX_OBJECTS + 1];
char Mustertitel[65];
char Siteswap_Text[251];
int segmentEstimate[MAX_OBJECTS];
int objectModelNumber[MAX_OBJECTS];
QuoitPosRecord quoitPos[MAX_JUGGLERS];

Fangwurf *fangwurf;
char ***muster;
Zusf *zusf;
int32_t ***dotzspeicher;
int32_t ***uebergeb;
QInlineComment *qInlineComment;
int qInlineCommentCount;
int qInlineCommentCapacity;
int segmentRowLength;

void *patternWorkMemory;
Placement *flyingObjects;

Placement *sceneObjects;
int sceneObjectCount;
int sceneObjectsShown;
static Placement emptySceneList = {PLACEMENT_END_FIXED, 0, 0, 0, 0, 0, 0, 0};
Placement *sceneObjectDrawList = &emptySceneList;


// Shows local text n, filled with the arguments, and notes its number.
void patternMessage(int level, int n, ...) {
  char text[512];
  va_list ap;
  va_start(ap, n);
  vsnprintf(text, sizeof text, localText(n), ap);
  va_end(ap);
  patternTestSeam.lastPatternMessage = n;
  qMsg(level, "%s", text);
}

static HandTableEntry handTable[MAX_HANDS + MAX_HAND_MACROS];
static int handTableHighest;  // highest hand number; 0 = not built
static int handTableBuilt;
static size_t workMemorySize;
static size_t flyingEntries;

// Per-pattern values of the reader and the store, as the pattern loop sets them before each load.
void resetPatternValues() {
  for (int i = 0; i <= 20; i++) qInternal[i] = 0;
  qInternal[QINTERNAL_VIRTUAL_USED] = 0;
  qInternal[QINTERNAL_RECORD_TAKTS] = 0;
  objekte = takte = handCount = handMacroCount = 0;
  dt = 0.25;
  gravity = 9.81;
  dwell = 1.2;
  scatter = 0.1;
  Dotzfaktor = 0.95;
  propCount = 0;
  bouncesPresent = 0;
  WRAP = 0;
  qInlineCommentCount = 0;
  maxheight = 1.9;
  Mustertitel[0] = Siteswap_Text[0] = Handmakrobuchstaben[0] = Objektbuchstaben[0] = '\0';
  memset(quoitPos, 0, sizeof quoitPos);
  memset(hiddenJuggler, 0, sizeof hiddenJuggler);
}

// Virtual hands follow the real ones, juggler by juggler: for each of its virtual-hand levels k,
// the left and the right hand of that level.
int handNumber(int column, int subIndex) {
  if (subIndex == 0) return column;
  int j = column / 2, n = 2 * jugglers;
  for (int i = 0; i < j && i < MAX_JUGGLERS; i++) n += 2 * qInternal[i];
  return n + 2 * (subIndex - 1) + column % 2;
}

int macroHand(int m) { return handCount + m; }

int allHands() { return handCount + handMacroCount; }

bool hasHandPoints(int hand) { return fangwurf && hand >= 0 && hand < allHands(); }

bool handHolds(int takt, int hand, int object) {
  return dotzspeicher && takt >= 0 && takt < takte && hand >= 0 && hand < allHands() && object >= 0 &&
         object < objekte && dotzspeicher[takt][hand][object] != 0;
}

static int buildHandTable() {
  int n = 0;
  for (int h = 0; h < 2 * jugglers; h++) handTable[n++] = {h, 0, HAND_REAL};
  for (int j = 0; j < jugglers; j++)
    for (int k = 1; k <= qInternal[j]; k++) {
      handTable[n++] = {2 * j, k, HAND_VIRTUAL};
      handTable[n++] = {2 * j + 1, k, HAND_VIRTUAL};
    }
  for (int m = 0; m < handMacroCount; m++) handTable[n++] = {fangwurf ? fangwurf[macroHand(m)].handnr : -1, 0, HAND_MACRO};
  handTableHighest = n - 1;
  handTableBuilt = 1;
  return 0;
}

int Hand(int hand, int type) {
  if (type == HAND_SETUP) return buildHandTable();
  if (!handTableBuilt) {
    qMsg(QMSG_ERROR, "no setup in routine Hand()\n");
    return -1;
  }
  if (hand < 0) {
    patternMessage(QMSG_ERROR, 46, "hand < 0", "Hand");
    return -1;
  }
  if (hand > handTableHighest) {
    patternMessage(QMSG_ERROR, 46, "hand > max_index", "Hand");
    return -1;
  }
  const HandTableEntry &e = handTable[hand];
  switch (type) {
    case 1: return e.kind == HAND_MACRO ? e.column : hand;
    case 2: return e.kind;
    case 3: return e.subIndex;
    default: return e.column;
  }
}

// Columns 2j and 2j + 1 belong to juggler j.
int sameJugglerColumns(int c, int d) {
  int low = c < d ? c : d;
  return abs(c - d) <= 1 && low == (c & d) ? 1 : 0;
}

int sameJuggler(int hand1, int hand2) { return sameJugglerColumns(Hand(hand1, 0), Hand(hand2, 0)); }

int allocArrayN(void *reference, size_t elementSize, int dimensions, const int *sizes) {
  if (dimensions < 1) return 2;
  void **slot = static_cast<void **>(reference);
  size_t count = sizes[0] > 0 ? size_t(sizes[0]) : 0;
  if (dimensions == 1) {
    *slot = qAlloc(count * elementSize);
    return *slot ? 0 : 1;
  }
  void **rows = static_cast<void **>(qAlloc(count * sizeof(void *)));
  *slot = rows;
  if (!rows) return 1;
  for (size_t i = 0; i < count; i++)
    if (allocArrayN(&rows[i], elementSize, dimensions - 1, sizes + 1)) return 1;
  return 0;
}

void freeArrayN(void *reference, size_t elementSize, int dimensions, const int *sizes) {
  void **slot = static_cast<void **>(reference);
  if (dimensions < 1 || !*slot) return;
  size_t count = sizes[0] > 0 ? size_t(sizes[0]) : 0;
  if (dimensions == 1) {
    qFree(*slot, count * elementSize);
  } else {
    void **rows = static_cast<void **>(*slot);
    for (size_t i = 0; i < count; i++) freeArrayN(&rows[i], elementSize, dimensions - 1, sizes + 1);
    qFree(rows, count * sizeof(void *));
  }
  *slot = nullptr;
}

// Sizes of the arrays as they were allocated, so that freeing does not depend on later changes
// of the counts.
static int sizesFlugbahn[2], sizesHandbahn[2], sizesMuster[3], sizesDotz[3], sizesUebergeb[3];
static size_t fangwurfEntries, wrapEntries, commentEntries;

static int allocNamed(void *reference, size_t elementSize, int dimensions, const int *sizes, const char *label) {
  if (allocArrayN(reference, elementSize, dimensions, sizes) == 0) return 0;
  patternMessage(QMSG_ERROR, 90, label);
  freeArrayN(reference, elementSize, dimensions, sizes);
  return 1;
}

static void *allocBlock(size_t count, size_t elementSize, const char *label) {
  void *p = qAlloc(count * elementSize);
  if (!p) patternMessage(QMSG_ERROR, 90, label);
  return p;
}

int Musterspeicher_anlegen() {
  reportProgress(0);
  Musterspeicher_freigeben();
  int entries = allHands();
  fangwurfEntries = size_t(entries + SPARE_HAND_ENTRIES);
  fangwurf = static_cast<Fangwurf *>(allocBlock(fangwurfEntries, sizeof(Fangwurf), "*fangwurf"));
  if (!fangwurf) return 1;
  for (int i = 0; i < entries; i++) fangwurf[i].handnr = -1;

  int largest = 0;
  for (int o = 0; o < objekte; o++) largest = std::max(largest, segmentEstimate[o]);
  segmentRowLength = largest + 3;
  sizesFlugbahn[0] = objekte;
  sizesFlugbahn[1] = segmentRowLength;
  if (allocNamed(&flugbahn, sizeof(Flugbahn), 2, sizesFlugbahn, "**flugbahn")) return 1;
  for (int o = 0; o < objekte; o++)
    for (int s = 0; s <= largest; s++) Flugbahnsegment_loeschen(o, s);

  sizesHandbahn[0] = handCount;
  sizesHandbahn[1] = takte + 1;
  if (allocNamed(&handbahn, sizeof(Handbahn), 2, sizesHandbahn, "**handbahn")) return 1;
  for (int h = 0; h < handCount; h++)
    for (int s = 0; s <= takte; s++) handbahn[h][s].t_from = UNSET_DOUBLE;

  sizesMuster[0] = takte;
  sizesMuster[1] = 2 * jugglers;
  sizesMuster[2] = CELL_SIZE + 1;
  if (allocNamed(&muster, 1, 3, sizesMuster, "***muster")) return 1;

  zusf = static_cast<Zusf *>(allocBlock(ZUSFANZ, sizeof(Zusf), "zusf[]"));
  if (!zusf) return 1;

  sizesDotz[0] = takte;
  sizesDotz[1] = entries;
  sizesDotz[2] = objekte;
  if (allocNamed(&dotzspeicher, sizeof(int32_t), 3, sizesDotz, "***dotzspeicher")) return 1;

  sizesUebergeb[0] = takte;
  sizesUebergeb[1] = handCount;
  sizesUebergeb[2] = objekte;
  if (allocNamed(&uebergeb, sizeof(int32_t), 3, sizesUebergeb, "***uebergeb")) return 1;

  wrapEntries = size_t(objekte);
  qWrapObjList = static_cast<QWrapObj *>(allocBlock(wrapEntries, sizeof(QWrapObj), "qWrapObjList"));
  if (!qWrapObjList) return 1;

  // Every comment may need a copy for the previous cycle, so room for two per takt line.
  commentEntries = size_t(2 * takte + objekte);
  qInlineComment = static_cast<QInlineComment *>(allocBlock(commentEntries, sizeof(QInlineComment), "qInlineComment"));
  if (!qInlineComment) return 1;
  qInlineCommentCapacity = int(commentEntries);
  qInlineCommentCount = 0;
  return 0;
}

void Musterspeicher_freigeben() {
  if (fangwurf) qFree(fangwurf, fangwurfEntries * sizeof(Fangwurf));
  fangwurf = nullptr;
  freeArrayN(&flugbahn, sizeof(Flugbahn), 2, sizesFlugbahn);
  freeArrayN(&handbahn, sizeof(Handbahn), 2, sizesHandbahn);
  freeArrayN(&muster, 1, 3, sizesMuster);
  if (zusf) qFree(zusf, ZUSFANZ * sizeof(Zusf));
  zusf = nullptr;
  freeArrayN(&dotzspeicher, sizeof(int32_t), 3, sizesDotz);
  freeArrayN(&uebergeb, sizeof(int32_t), 3, sizesUebergeb);
  if (qWrapObjList) qFree(qWrapObjList, wrapEntries * sizeof(QWrapObj));
  qWrapObjList = nullptr;
  if (qInlineComment) qFree(qInlineComment, commentEntries * sizeof(QInlineComment));
  qInlineComment = nullptr;
  qInlineCommentCapacity = qInlineCommentCount = 0;
}

bool InlineComment_cmp(const QInlineComment &a, const QInlineComment &b) {
  if (a.objekt != b.objekt) return a.objekt < b.objekt;
  return a.t_from < b.t_from;
}

// Gives each comment the times of the flight it belongs to; a flight that ends after the cycle
// also shows its comment one cycle earlier.
int InlineComments_einordnen() {
  if (!qInlineComment || !flugbahn) return 0;
  int original = qInlineCommentCount;
  for (int i = 0; i < original; i++) {
    QInlineComment &c = qInlineComment[i];
    if (c.objekt < 0 || c.objekt >= objekte) continue;
    int last = lastSegment(c.objekt);
    for (int s = 0; s <= last; s++) {
      const Flugbahn &f = flugbahn[c.objekt][s];
      if (f.taktvon <= c.takt && c.takt < f.taktbis) {
        c.t_from = f.t_from;
        c.t_to = f.t_to;
        break;
      }
    }
    if (c.t_to > t_zyklus && qInlineCommentCount < qInlineCommentCapacity) {
      QInlineComment &copy = qInlineComment[qInlineCommentCount++];
      copy = c;
      copy.takt = -17;
      copy.t_from -= t_zyklus;
      copy.t_to -= t_zyklus;
    }
  }
  std::stable_sort(qInlineComment, qInlineComment + qInlineCommentCount, InlineComment_cmp);
  return qInlineCommentCount;
}

int allocPatternData() {
  computeBufferSize(objekte, 2 * jugglers);
  workMemorySize = size_t(objekte + jugglers + 17) * 1000;
  qInternal[QINTERNAL_WORK_MEMORY] = int(workMemorySize);
  patternWorkMemory = qAlloc(workMemorySize);
  if (!patternWorkMemory) return 1;
  freeObjectSlots();
  flyingEntries = size_t(objekte + 2);
  flyingObjects = static_cast<Placement *>(qAlloc(flyingEntries * sizeof(Placement)));
  if (!flyingObjects) return 1;
  flyingObjects[0].model = PLACEMENT_END_FLYING;
  return 0;
}

void freeObjectSlots() {
  if (flyingObjects) qFree(flyingObjects, flyingEntries * sizeof(Placement));
  flyingObjects = nullptr;
  patternCalls.flyingBlockFreed();  // the flying list no longer points into the freed block
}

void freePatternData() {
  Musterspeicher_freigeben();
  if (patternWorkMemory) qFree(patternWorkMemory, workMemorySize);
  patternWorkMemory = nullptr;
  freeObjectSlots();
  sceneObjectList(nullptr, 4);
  patternCalls.freeObjectShapes();
}

static void pointDrawList() { sceneObjectDrawList = (sceneObjects && sceneObjectsShown) ? sceneObjects : &emptySceneList; }

static int resizeSceneList(int count, const char *label, int failure) {
  Placement *list = static_cast<Placement *>(qAlloc(size_t(count) * sizeof(Placement)));
  if (!list) {
    patternMessage(QMSG_ERROR, 802, label);
    return failure;
  }
  int keep = std::min(count, sceneObjectCount);
  if (sceneObjects) memcpy(list, sceneObjects, size_t(keep) * sizeof(Placement));
  if (sceneObjects) qFree(sceneObjects, size_t(sceneObjectCount) * sizeof(Placement));
  sceneObjects = list;
  return 0;
}

static int removeSceneObject(const Placement *record) {
  int entries = sceneObjectCount - 1, found = -1;
  if (record && record->model == -1) {
    patternMessage(QMSG_ERROR, 804);
    return 6;
  }
  if (!record) {
    found = entries - 1;
  } else {
    for (int i = 0; i < entries && found < 0; i++)
      if (sceneObjects[i].model == record->model) found = i;
  }
  if (found < 0) {
    patternMessage(QMSG_ERROR, 805);
    return 7;
  }
  memmove(&sceneObjects[found], &sceneObjects[found + 1], size_t(sceneObjectCount - found - 1) * sizeof(Placement));
  if (resizeSceneList(sceneObjectCount - 1, "DEC", 5)) return 5;
  sceneObjectCount--;
  return 0;
}

// The fixed scene objects, kept as one array whose last record is the end record. An emptied
// list keeps its end record, so later appends still work.
int sceneObjectList(const Placement *record, int operation) {
  int result = 0;
  switch (operation) {
    case 1:
      sceneObjectList(nullptr, 4);
      if (resizeSceneList(1, "NEW", 1)) return 1;
      sceneObjects[0] = emptySceneList;
      sceneObjectCount = 1;
      sceneObjectsShown = 1;
      break;
    case 2:
      if (!record) {
        patternMessage(QMSG_ERROR, 803);
        return 4;
      }
      if (!sceneObjects) {
        patternMessage(QMSG_ERROR, 802, "INC");
        return 2;
      }
      if (resizeSceneList(sceneObjectCount + 1, "INC", 2)) return 2;
      sceneObjects[sceneObjectCount] = emptySceneList;
      sceneObjects[sceneObjectCount - 1] = *record;
      sceneObjectCount++;
      break;
    case 3:
      if (!sceneObjects || sceneObjectCount < 2) {
        patternMessage(QMSG_ERROR, 805);
        return 7;
      }
      result = removeSceneObject(record);
      break;
    case 4:
      if (sceneObjects) qFree(sceneObjects, size_t(sceneObjectCount) * sizeof(Placement));
      sceneObjects = nullptr;
      sceneObjectCount = 0;
      sceneObjectsShown = 0;
      break;
    case 5:
      if (sceneObjectsShown) return sceneObjectList(record, 6);
      sceneObjectsShown = 1;
      break;
    case 6:
      if (sceneObjectsShown) {
        sceneObjectsShown = 0;
      } else if (sceneObjects) {
        sceneObjectDrawList = sceneObjects;
        return 0;
      }
      break;
    default:
      patternMessage(QMSG_ERROR, 45, operation, "sceneObjectList");
      return -1;
  }
  pointDrawList();
  return result;
}

// Copies every virtual hand's points from the real hand of its column.
static void virtualHandsFromColumns() {
  for (int h = 2 * jugglers; h < handCount; h++) {
    int column = Hand(h, 0);
    if (column < 0) continue;
    fangwurf[h] = fangwurf[column];
    fangwurf[h].handnr = column;
  }
}

static int failLoad(FILE *&stream, int code) {
  if (stream) fclose(stream);
  stream = nullptr;
  Musterspeicher_freigeben();
  return code;
}

// The chain checks only report, unless the strict mode makes their faults fail the load.
static int chainFaults(int faults) {
  if (faults && patternTestSeam.strictChainCheck) {
    patternMessage(QMSG_ERROR, 772, faults);
    return 1;
  }
  return 0;
}

int Muster_laden() {
  for (int &e : segmentEstimate) e = 0;
  std::string name = typedFileName(patternFileArgument(currentPatternFile.c_str()));
  FILE *stream = Muster_oeffnen(name.c_str());
  if (!stream) return 112;
  reportProgress(jugglers + 1);
  if (Musterspeicher_anlegen()) return failLoad(stream, 113);
  int code = MusterHeader_einlesen(stream);
  if (code) {
    qMsg(QMSG_ERROR, "MusterHeader_einlesen(): error=%d\n", code);
    return failLoad(stream, 114);
  }
  qMsg(128, "qInternal.jugglers=%d objekte=%d takte=%d t_zyklus=%f\n", jugglers, objekte, takte, t_zyklus);
  if (patternCalls.loadObjects()) return failLoad(stream, 115);
  if (Muster_einlesen(stream)) return failLoad(stream, 116);
  fclose(stream);
  stream = nullptr;
  Zusatzhaende_umrechnen();
  Fangwurf_anheben();
  virtualHandsFromColumns();
  if (Handparabeln_zusammenfassen()) return failLoad(stream, 117);
  if (WRAP) WrapObjList_fuellen();
  Uebergaben_eintragen();
  if (Objekte_verfolgen()) return failLoad(stream, 118);
  if (Spin_spiegeln()) return failLoad(stream, 119);
  if (Objekt_in_der_Hand()) return failLoad(stream, 120);
  if (Flugbahnen_anpassen()) return failLoad(stream, 123);
  if (WRAP)
    Flugbahnen_wrap_kuerzen();
  else
    Flugbahnen_in_Zyklus_schieben();
  int faults = Flugbahnen_pruefen();
  if (Handbahnen_eintragen()) return failLoad(stream, 121);
  if (chainFaults(faults + Handbahnen_pruefen())) return failLoad(stream, STRICT_CHAIN_CHECK_FAILED);
  G_Vorgabe_setzen();
  patternCalls.setHeadUpAngles();
  InlineComments_einordnen();
  computeBufferSize(objekte, 2 * jugglers);
  realTimeTotal = 0;
  stopWatch(-1);  // the first frame's lap starts now, not before the load
  return 0;
}
