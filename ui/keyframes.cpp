// Keyframes of the walking paths. The list is filled when the pattern file's keyframe section is
// read and written back unchanged by the walking editor; the section is written in one canonical
// form, so a section written by the program reads back and writes again byte for byte.
#include "ui/keyframes.h"

#include <cmath>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/runstate.h"
#include "core/utils.h"
#include "pattern/rewriter.h"

Keyframe *keyframeList;
// Set when a section of this pattern stopped at a line it could not read, or when the header holds
// a second section: the list is then not the file's one section, and writing it back over that
// section would throw the rest away.
static int sectionIncomplete;
static int sectionsRead;

static void freeKeyframes() {
  while (keyframeList) {
    Keyframe *next = keyframeList->next;
    qFree(keyframeList, sizeof(Keyframe));
    keyframeList = next;
  }
}

static int insertKeyframe(const Keyframe *keyframe) {
  Keyframe *copy = static_cast<Keyframe *>(qAlloc(sizeof(Keyframe)));
  if (!copy) {
    qMsg(QMSG_ERROR, localText(90), "KeyframeList(SSV_INC)");
    return 1;
  }
  *copy = *keyframe;
  Keyframe *before = nullptr;
  for (Keyframe *k = keyframeList; k && k->no <= copy->no; k = k->next) before = k;
  copy->prev = before;
  copy->next = before ? before->next : keyframeList;
  if (copy->next) copy->next->prev = copy;
  if (before) before->next = copy;
  else keyframeList = copy;
  qMsg(QMSG_DEBUG, "keyframe %p:\t.no = %3d\t.prev=%p\t.next=%p\n", static_cast<void *>(copy), copy->no,
       static_cast<void *>(copy->prev), static_cast<void *>(copy->next));
  return 0;
}

int KeyframeList(int op, const Keyframe *keyframe) {
  switch (op) {
    case KEYFRAMES_EMPTY:
      freeKeyframes();
      return 0;
    case KEYFRAMES_FREE:
      freeKeyframes();
      sectionIncomplete = sectionsRead = 0;
      return 0;
    case KEYFRAMES_INSERT:
      return keyframe ? insertKeyframe(keyframe) : 1;
    case KEYFRAMES_NONE:
      return 0;
    default:
      qMsg(QMSG_ERROR, localText(43), op, "KeyframeList()");
      return 1;
  }
}

int keyframeCount() {
  int n = 0;
  for (const Keyframe *k = keyframeList; k; k = k->next) n++;
  return n;
}

static bool finite(const double *values, int n) {
  for (int i = 0; i < n; i++)
    if (!std::isfinite(values[i])) return false;
  return true;
}

// One keyframe after its "kf n" line: 0 or the number of the line that did not match.
static int readKeyframe(FILE *stream, Keyframe &k) {
  double b[8];
  if (fscanf(stream, " j %d", &k.j) != 1) return 6;
  if (fscanf(stream, " b %lf,%lf; %lf,%lf; %lf,%lf; %lf,%lf", &b[0], &b[1], &b[2], &b[3], &b[4], &b[5], &b[6],
             &b[7]) != 8 || !finite(b, 8))
    return 2;
  if (fscanf(stream, " tang=%d", &k.tang) != 1) return 3;
  if (fscanf(stream, " afp=%d", &k.afp) != 1) return 4;
  if (fscanf(stream, " angle=%lf %lf", &k.angle[0], &k.angle[1]) != 2 || !finite(k.angle, 2)) return 5;
  for (int p = 0; p < 4; p++) {
    k.point[p][0] = b[2 * p];
    k.point[p][1] = b[2 * p + 1];
    k.point[p][2] = 0.01;
  }
  return 0;
}

// An earlier section's keyframes are freed: the list holds the last section read.
int readKeyframes(FILE *stream) {
  KeyframeList(KEYFRAMES_EMPTY, nullptr);
  if (++sectionsRead > 1) sectionIncomplete = 1;
  int error = 0;
  for (int count = 0;; count++) {
    Keyframe k{};
    if (fscanf(stream, " kf %d", &k.no) != 1) {
      error = 1;
      break;
    }
    if (k.no < 0) return 0;
    if (count == KEYFRAMES_MAX) {
      error = 7;
      break;
    }
    error = readKeyframe(stream, k);
    if (error) break;
    KeyframeList(KEYFRAMES_INSERT, &k);
  }
  qMsg(QMSG_ERROR, localText(15), error, "readKeyframes");
  sectionIncomplete = 1;
  return error;
}

std::string keyframesText() {
  std::string text;
  for (const Keyframe *k = keyframeList; k; k = k->next) {
    text += formatText("kf %d j %d\n", k->no, k->j);
    text += formatText("b %.3f,%.3f; %.3f,%.3f; %.3f,%.3f; %.3f,%.3f\n", k->point[0][0], k->point[0][1],
                       k->point[1][0], k->point[1][1], k->point[2][0], k->point[2][1], k->point[3][0], k->point[3][1]);
    text += formatText("tang=%d\nafp=%d\nangle=%.1f %.1f\n", k->tang, k->afp, k->angle[0], k->angle[1]);
  }
  if (!text.empty()) text += "kf -1\n";
  return text;
}

// An empty list, or one from a section that could not be read whole, leaves the file as it is.
int writeKeyframes2patternFile() {
  if (sectionIncomplete) {
    qMsg(QMSG_ERROR, localText(2651), currentPatternFile.c_str());
    return 3;
  }
  std::string text = keyframesText();
  if (text.empty()) {
    qMsg(QMSG_DEBUG, "writeKeyframes2patternFile(): no keyframes, %s left as it is\n", currentPatternFile.c_str());
    return 1;
  }
  std::string target = patternFileArgument(currentPatternFile.c_str());
  const char *file = target.c_str();
  Musterdatei_modif(file, text.c_str(), MODIF_REPLACE);
  if (!patternEntryWritten(file, text)) return 2;
  qMsg(QMSG_INFO, "Keyframes gespeichert\n");
  return 0;
}

// The rewriter reports its own failures; this tells the caller whether to report success.
bool patternEntryWritten(const char *file, const std::string &entry) {
  long size, lost;
  char *buffer = readWholeFile(file, &size, &lost, "patternEntryWritten()");
  if (!buffer) return false;
  std::string text(buffer, size_t(size - 1 - lost));
  qFree(buffer, size_t(size));
  HeaderScan scan = scanPatternHeader(text, entry[0]);
  return scan.found && text.compare(scan.entry.start, scan.entry.end - scan.entry.start, entry) == 0;
}
