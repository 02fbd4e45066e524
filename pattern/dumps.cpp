// Pattern store dumps: they only read the store and write text to the debug output.
#include "pattern/dumps.h"

#include <cstdarg>
#include <cstdio>

#include "core/Tcl.h"
#include "pattern/handpaths.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"

static void appendf(std::string &out, const char *format, ...) __attribute__((format(printf, 2, 3)));

static void appendf(std::string &out, const char *format, ...) {
  char buffer[512];
  va_list ap;
  va_start(ap, format);
  vsnprintf(buffer, sizeof buffer, format, ap);
  va_end(ap);
  out += buffer;
}

// Writes the text line by line, so that no single message grows with the pattern.
static void emit(const std::string &text, int level = QMSG_DEBUG) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    end = end == std::string::npos ? text.size() : end + 1;
    qMsg(level, "%s", text.substr(pos, end - pos).c_str());
    pos = end;
  }
}

std::string outputMusterText(int firstTakt, int lastTakt) {
  std::string out;
  if (!muster) return out;
  if (firstTakt < 0) firstTakt = 0;
  if (lastTakt >= takte) lastTakt = takte - 1;
  bool range = lastTakt > firstTakt;
  if (range) appendf(out, "t_zyklus=%5.2f s\n\n", t_zyklus);
  int width = qInternal[QINTERNAL_CELL_WIDTH];
  for (int t = firstTakt; t <= lastTakt; t++) {
    if (range) appendf(out, "Takt%3d: ", t);
    for (int c = 0; c < 2 * jugglers; c++) appendf(out, "%-*s", width, muster[t][c]);
    out += '\n';
  }
  if (WRAP)
    appendf(out, "*\n%s\n%s\n", Wraplinie[0], Wraplinie[1]);
  else
    out += "*\nno wrap\n";
  return out;
}

std::string outputFangwurfText() {
  std::string out;
  if (!fangwurf) return out;
  for (int h = 0; h < allHands(); h++) {
    const Fangwurf &f = fangwurf[h];
    appendf(out, "fangwurf[%2d]: fang=%5.2f/%5.2f/%5.2f  wurf=%5.2f/%5.2f/%5.2f  handnr=%d  flag=0x%08x  kennz='%c'\n", h,
            f.fang[0], f.fang[1], f.fang[2], f.wurf[0], f.wurf[1], f.wurf[2], f.handnr, unsigned(f.flag),
            f.kennz ? f.kennz : ' ');
  }
  return out;
}

std::string flagLetters(unsigned flag) {
  static const char letters[] = "ph2gzPbfdFLo";
  std::string out;
  for (int bit = 11; bit >= 0; bit--) out += (flag >> bit) & 1 ? letters[bit] : '-';
  return out;
}

std::string flugbahnLine(const Flugbahn &s, int index, int detail) {
  std::string out;
  bool hold = s.haltehand >= 0;
  appendf(out, "P%2d ", index);
  if (hold)
    appendf(out, "H%3d ", s.haltehand);
  else
    appendf(out, "H%1d>%1d ", s.handvon, s.handbis);
  double duration = s.t_to - s.t_from;
  appendf(out, "t%6.2f(%3.0f%%)%6.2f T%3d-%3d ", s.t_from, duration != 0 ? s.t_apex / duration * 100 : 0.0, s.t_to,
          s.taktvon, s.taktbis);
  if (detail == 3) {
    if (hold)
      appendf(out, "B0(%5.2f %5.2f %5.2f)1(%5.2f %5.2f %5.2f)2(%5.2f %5.2f %5.2f)", s.B0[0], s.B0[1], s.B0[2], s.B1[0],
              s.B1[1], s.B1[2], s.B2[0], s.B2[1], s.B2[2]);
    else
      appendf(out, "X0(%6.2f %6.2f %6.2f) V(%6.2f %6.2f %6.2f) az=%6.2f   ", s.X0[0], s.X0[1], s.X0[2], s.V[0], s.V[1],
              s.V[2], s.az);
    appendf(out, "W(%4.0f %4.0f) Wp(%5.0f %5.0f)", s.W[0] * 57.29, s.W[1] * 57.29, s.Wp[0] * 57.29, s.Wp[1] * 57.29);
  } else if (detail == 2) {
    if (hold)
      out += std::string(34, ' ');
    else
      appendf(out, "V(%6.2f %6.2f %6.2f) az%6.2f", s.V[0], s.V[1], s.V[2], s.az);
  }
  appendf(out, " flag=%s\n", flagLetters(s.flag).c_str());
  return out;
}

std::string outputFlugbahnenText(int detail, int firstObject, int lastObject) {
  std::string out;
  if (detail == 0 || !flugbahn) return out;
  if (firstObject < -1 || firstObject >= objekte) {
    appendf(out, "Index 'ostart' out of range in outputFlugbahnen(): %d.  Correcting it.\n", firstObject);
    firstObject = 0;
  }
  if (firstObject == -1) {
    firstObject = 0;
    lastObject = objekte - 1;
  }
  if (lastObject < 0 || lastObject >= objekte) {
    appendf(out, "Index 'oende' out of range in outputFlugbahnen(): %d.  Correcting it.\n", lastObject);
    lastObject = objekte - 1;
  }
  appendf(out, "t_zylus = %.2f\n", t_zyklus);
  for (int o = firstObject; o <= lastObject; o++) {
    appendf(out, "Objekt %d: '%c'\n", o, Objektbuchstaben[o]);
    int last = lastSegment(o);
    for (int s = 0; s <= last; s++) out += flugbahnLine(flugbahn[o][s], s, detail);
  }
  return out;
}

static const char *handKindText(int hand) {
  switch (Hand(hand, 2)) {
    case HAND_REAL: return "real hand";
    case HAND_MACRO: return "handmakro";
    default: return "virtual hand";
  }
}

std::string outputHandbahnenText(int hand) {
  std::string out;
  if (!handbahn || hand < -1 || hand >= handCount) return out;
  int first = hand == -1 ? 0 : hand, last = hand == -1 ? handCount - 1 : hand;
  appendf(out, "t_zyklus = %.2f s\n", t_zyklus);
  for (int h = first; h <= last; h++) {
    appendf(out, "Hand %d: (%s %s)\n", h, h % 2 ? "right" : "left", handKindText(h));
    for (int s = 0; s <= takte && handbahn[h][s].t_from != UNSET_DOUBLE; s++) {
      const Handbahn &b = handbahn[h][s];
      appendf(out, "HB%2d: t=%7.2f-%7.2f ", s, b.t_from, b.t_to);
      appendf(out, "B0(%5.2f %5.2f %5.2f) B1(%5.2f %5.2f %5.2f) B2(%5.2f %5.2f %5.2f) B3(%5.2f %5.2f %5.2f)\n", b.B0[0],
              b.B0[1], b.B0[2], b.B1[0], b.B1[1], b.B1[2], b.B2[0], b.B2[1], b.B2[2], b.B3[0], b.B3[1], b.B3[2]);
    }
  }
  return out;
}

void outputMuster(int firstTakt, int lastTakt) { emit(outputMusterText(firstTakt, lastTakt)); }
void outputFangwurf() { emit(outputFangwurfText()); }
void outputFlugbahnen(int detail, int firstObject, int lastObject) {
  emit(outputFlugbahnenText(detail, firstObject, lastObject));
}

void outputHandbahnen(int hand) {
  if (hand < -1 || hand >= handCount) {
    qMsg(QMSG_ERROR, "Wrong index in outputHandbahnen(): %d\n", hand);
    return;
  }
  emit(outputHandbahnenText(hand));
}
