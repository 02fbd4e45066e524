// patternfile: lays a siteswap out as a pattern file body and writes the file.
#include "patternfile.h"

#include <algorithm>
#include <cstdarg>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

const char *const OBJECT_LETTERS = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
const size_t MAX_CELL = 15;  // characters the pattern reader keeps of one cell
const size_t MAX_LINE = 99;  // characters of a body line the pattern reader looks at
const int MAX_HANDS = 40;    // real and virtual hands of the pattern reader
const size_t MAX_TAG = 250;  // longest siteswap tag the pattern reader keeps

struct Instance {
  int beat, juggler, hand, value, toJuggler, toHand;
  int next;      // the throw that throws this object again
  bool crosses;  // next lies beyond the end of the body
  int object;
};

// Joins every throw with the throw that throws the same object next.
bool linkThrows(std::vector<Instance> &all, int takts, int jugglers, std::string *error) {
  auto slot = [&](int beat, int j, int h) { return ((size_t)beat * jugglers + j) * 2 + h; };
  std::vector<std::vector<int>> thrownAt((size_t)takts * jugglers * 2);
  for (size_t i = 0; i < all.size(); i++) thrownAt[slot(all[i].beat, all[i].juggler, all[i].hand)].push_back((int)i);
  std::vector<size_t> arrived(thrownAt.size(), 0);
  for (Instance &t : all) {
    int landing = t.beat + t.value;
    size_t s = slot(landing % takts, t.toJuggler, t.toHand);
    if (arrived[s] >= thrownAt[s].size()) {
      *error = "the throws do not fit together";
      return false;
    }
    t.next = thrownAt[s][arrived[s]++];
    t.crosses = landing >= takts;
  }
  return true;
}

// Names the objects in order of their first throw; returns the number of objects.
int nameObjects(std::vector<Instance> &all) {
  int objects = 0;
  for (size_t i = 0; i < all.size(); i++) {
    if (all[i].object >= 0) continue;
    for (size_t k = i;; k = (size_t)all[k].next) {
      all[k].object = objects;
      if (all[k].crosses) break;
    }
    objects++;
  }
  return objects;
}

void addHolds(const std::vector<Instance> &all, int takts, PatternBody *body) {
  for (const Instance &t : all) {
    if (t.value != 2 || t.toJuggler != t.juggler || t.toHand != t.hand) continue;
    int row = t.beat + 1;
    int object = t.object;
    if (row >= takts) {
      row -= takts;
      object = all[(size_t)t.next].object;
    }
    std::string &cell = body->rows[(size_t)row][(size_t)handColumn(t.juggler, t.hand)];
    if (cell == "-") cell = std::string(1, OBJECT_LETTERS[object]);
  }
}

bool fillCells(const std::vector<Instance> &all, const PatternFileOptions &options, PatternBody *body,
               std::string *error) {
  for (const Instance &t : all) {
    std::string &cell = body->rows[(size_t)t.beat][(size_t)handColumn(t.juggler, t.hand)];
    if (cell == "-") {
      cell.clear();
      if (!options.styles[t.value].empty()) cell = "(" + options.styles[t.value] + ")";
    } else {
      cell += '&';
    }
    cell += OBJECT_LETTERS[t.object];
    if (cell.size() > MAX_CELL) {
      *error = format("beat %d: too many objects thrown at once by one hand", t.beat);
      return false;
    }
  }
  return true;
}

// A body line: the cells separated by blanks, or without them when the line gets too long.
std::string bodyLine(const std::vector<std::string> &row) {
  std::string spaced, packed;
  for (size_t c = 0; c < row.size(); c++) {
    spaced += (c ? " " : "") + row[c];
    packed += row[c];
  }
  return spaced.size() <= MAX_LINE ? spaced : packed;
}

// Every body line must fit the reader, and a multiplex needs a virtual hand for each further
// object: the hands of all jugglers together must stay within the reader's table.
bool fitsTheReader(const PatternBody &body, int jugglers, std::string *error) {
  std::vector<int> virtualHands((size_t)jugglers, 0);
  for (size_t t = 0; t < body.rows.size(); t++) {
    if (bodyLine(body.rows[t]).size() > MAX_LINE) {
      *error = format("beat %zu: the body line is longer than %zu characters", t, MAX_LINE);
      return false;
    }
    for (size_t c = 0; c < body.rows[t].size(); c++) {
      int n = (int)std::count(body.rows[t][c].begin(), body.rows[t][c].end(), '&');
      virtualHands[c / 2] = std::max(virtualHands[c / 2], n);
    }
  }
  int hands = 2 * jugglers;
  for (int n : virtualHands) hands += 2 * n;
  if (hands > MAX_HANDS) {
    *error = format("the pattern needs %d hands with its multiplexes, more than %d", hands, MAX_HANDS);
    return false;
  }
  return true;
}

// True when a line of the header begins with one of the entry letters.
bool headerHasEntry(const std::string &header, const char *letters) {
  size_t pos = 0;
  while (pos < header.size()) {
    size_t end = header.find('\n', pos);
    if (end == std::string::npos) end = header.size();
    size_t first = header.find_first_not_of(" \t", pos);
    if (first < end && header[first] != '\0' && strchr(letters, header[first])) return true;
    pos = end + 1;
  }
  return false;
}

double tidy(double v) { return std::fabs(v) < 0.005 ? 0.0 : v; }

const double PI = 3.14159265358979323846;
const double BEAT = 0.25;          // dt of the files kovex writes, seconds
const double READER_DWELL = 1.2;   // the pattern reader's dwell when the file sets none
const double GRAVITY = 9.81;
const double HAND_HEIGHT = 1.0;    // the hands throw and catch this high above the juggler's feet
const double FIGURE_HEIGHT = 1.9;  // a juggler figure with its raised hands
const double PROP_LENGTH = 0.3;    // a club reaches this far beyond its centre
const double REACH = 0.7;          // a hand 0.4 m beside the juggler, with a club in it

struct Spot {
  double x, y, heading;  // metres; degrees
};

// One juggler in the middle; several stand on a circle, each facing its middle.
std::vector<Spot> jugglerSpots(int jugglers) {
  std::vector<Spot> spots((size_t)jugglers, Spot{0, 0, 0});
  if (jugglers < 2) return spots;
  double radius = 1.3 / std::sin(PI / jugglers);
  for (int j = 0; j < jugglers; j++) {
    double angle = PI + 2 * PI * j / jugglers;
    double heading = std::fmod(angle * 180 / PI + 180, 360.0);
    spots[(size_t)j] = {tidy(radius * std::cos(angle)), tidy(radius * std::sin(angle)), heading > 359.5 ? 0 : heading};
  }
  return spots;
}

std::string jugglerBlock(const std::vector<Spot> &spots) {
  std::string block = "j\n";
  for (const Spot &s : spots) block += format("%4.0f\n%5.2f %5.2f %5.2f c c\n", s.heading, s.x, s.y, 0.0);
  return block;
}

bool dwellGiven(const PatternFileOptions &options) { return options.freeRatio > 0 && options.freeRatio < 1; }

double dwellOf(const Siteswap &p, const PatternFileOptions &options) {
  if (!dwellGiven(options)) return READER_DWELL;
  int turn = p.sync || p.passing ? 2 : 2 * p.jugglers;
  return turn * (1 - options.freeRatio);
}

// The highest point of the pattern: the apex of its highest throw, timed as the pattern reader
// times a flight of v beats ((v - 2 dwell + 2) beats in the air), or the figures' height.
double patternTop(const Siteswap &p, double dwell) {
  double flight = std::max(0.0, (p.maxValue - 2 * dwell + 2) * BEAT);
  return std::max(FIGURE_HEIGHT, HAND_HEIGHT + GRAVITY * flight * flight / 8) + PROP_LENGTH;
}

// The middle of the jugglers, on the floor.
void centreOf(const std::vector<Spot> &spots, double centre[2]) {
  centre[0] = centre[1] = 0;
  for (const Spot &s : spots) {
    centre[0] += s.x / spots.size();
    centre[1] += s.y / spots.size();
  }
}

// The azimuth (whole degrees) from which the jugglers stand widest apart across the window: the
// smallest sideways distance between two of them is the largest; juggler 1 stands on the left.
double spreadingAzimuth(const std::vector<Spot> &spots) {
  double best = 0, bestGap = -1;
  for (int degree = 0; degree < 180; degree++) {
    double a = degree * PI / 180, side[2] = {-std::sin(a), std::cos(a)};
    double gap = 1e9;
    for (size_t i = 0; i < spots.size(); i++)
      for (size_t k = i + 1; k < spots.size(); k++)
        gap = std::min(gap, std::fabs((spots[i].x - spots[k].x) * side[0] + (spots[i].y - spots[k].y) * side[1]));
    if (gap > bestGap + 1e-9) {
      best = a;
      bestGap = gap;
    }
  }
  double centre[2];
  centreOf(spots, centre);
  if ((spots[0].x - centre[0]) * -std::sin(best) + (spots[0].y - centre[1]) * std::cos(best) > 1e-9) best += PI;
  return best;
}

// The renderer's view opens 0.15 m up and down at its near plane, which lies zoom millimetres
// ahead of the eye; the default window is 640 x 480. A little room is left at the edges.
const double ZOOM = 300, SLOPE_UP = 150 / ZOOM * 0.9, SLOPE_SIDE = SLOPE_UP * 640 / 480;

// The shortest camera distance from the look-at point at which every juggler, with its reach, from
// the floor up to the top is in the window. Moving the eye along the view leaves a point's offsets
// across it: each point asks for its offset over the view's slope, less how far it lies beyond
// the look-at point.
double framingDistance(const std::vector<Spot> &spots, const double look[3], double top, double azimuth,
                       double elevation) {
  double se = std::sin(elevation), ce = std::cos(elevation), sa = std::sin(azimuth), ca = std::cos(azimuth);
  double forward[3] = {-se * ca, -se * sa, -ce}, side[3] = {-sa, ca, 0};
  double up[3] = {side[1] * forward[2], -side[0] * forward[2], side[0] * forward[1] - side[1] * forward[0]};
  double distance = 0.5;
  for (const Spot &s : spots)
    for (int corner = 0; corner < 8; corner++) {
      double q[3] = {s.x + (corner & 1 ? REACH : -REACH) - look[0], s.y + (corner & 2 ? REACH : -REACH) - look[1],
                     (corner & 4 ? top : 0) - look[2]};
      double across = q[0] * side[0] + q[1] * side[1];
      double high = q[0] * up[0] + q[1] * up[1] + q[2] * up[2];
      double beyond = q[0] * forward[0] + q[1] * forward[1] + q[2] * forward[2];
      distance = std::max({distance, std::fabs(across) / SLOPE_SIDE - beyond, std::fabs(high) / SLOPE_UP - beyond});
    }
  return distance;
}

// B= and G=: a camera a little above the jugglers (higher for more than two, so that those across
// the circle stand above those in front), looking at their middle, that has every juggler and the
// highest throw in the window.
std::string cameraLines(const std::vector<Spot> &spots, double top) {
  double elevation = spots.size() > 2 ? 1.2 : 1.4, azimuth = spreadingAzimuth(spots);
  double look[3] = {0, 0, top / 2};
  centreOf(spots, look);
  double distance = framingDistance(spots, look, top, azimuth, elevation);
  return format("B=%.3f,%.3f,%.2f,%.0f\nG=%.2f,%.2f,%.2f\n", azimuth, elevation, distance, ZOOM, tidy(look[0]),
                tidy(look[1]), look[2]);
}

// The pattern reader keeps a siteswap tag only when it holds none of these characters.
bool tagIsKept(const std::string &siteswap) {
  return siteswap.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ,.px") == std::string::npos;
}

}  // namespace

namespace {

// The body over `repeats` cycles, with wrap lines when the objects do not come back to their
// own letters at its end.
bool layOut(const Siteswap &p, const PatternFileOptions &options, int repeats, PatternBody *body,
            std::string *error) {
  int takts = repeats * p.cycle;
  if (takts > PATTERN_MAX_TAKTS) {
    *error = format("the pattern needs %d beats, more than %d", takts, PATTERN_MAX_TAKTS);
    return false;
  }
  std::vector<Instance> all;
  for (int r = 0; r < repeats; r++)
    for (const SiteswapThrow &t : p.throws)
      all.push_back({t.beat + r * p.cycle, t.fromJuggler, t.fromHand, t.value, t.toJuggler, t.toHand, -1, false, -1});
  std::stable_sort(all.begin(), all.end(), [](const Instance &a, const Instance &b) {
    if (a.beat != b.beat) return a.beat < b.beat;
    return handColumn(a.juggler, a.hand) < handColumn(b.juggler, b.hand);
  });
  if (!linkThrows(all, takts, p.jugglers, error)) return false;
  int objects = nameObjects(all);
  if (objects > (int)strlen(OBJECT_LETTERS)) {
    *error = format("%d objects: a pattern file names at most %zu", objects, strlen(OBJECT_LETTERS));
    return false;
  }
  body->rows.assign((size_t)takts, std::vector<std::string>((size_t)p.jugglers * 2, "-"));
  if (!fillCells(all, options, body, error)) return false;
  if (options.holds) addHolds(all, takts, body);
  if (!fitsTheReader(*body, p.jugglers, error)) return false;
  body->letters.assign(OBJECT_LETTERS, (size_t)objects);
  std::string after(body->letters);
  for (const Instance &t : all)
    if (t.crosses) after[(size_t)t.object] = OBJECT_LETTERS[all[(size_t)t.next].object];
  body->wrapBefore.clear();
  body->wrapAfter.clear();
  if (after != body->letters) {
    body->wrapBefore = body->letters;
    body->wrapAfter = after;
  }
  return true;
}

}  // namespace

bool layOutBody(const Siteswap &p, const PatternFileOptions &options, PatternBody *body, std::string *error) {
  // Every object must be thrown within the body, so the body is at least as long as the highest throw.
  int shortest = std::max(1, (p.maxValue + p.cycle - 1) / p.cycle);
  if (!layOut(p, options, shortest, body, error)) return false;
  if (body->wrapBefore.empty()) return true;
  // A longer body without wrap lines wins when it needs no more lines than the wrap part adds.
  size_t wrappedLines = body->rows.size() + 3;
  for (int r = shortest + 1; (size_t)(r * p.cycle) <= wrappedLines; r++) {
    PatternBody plain;
    std::string ignored;
    if (layOut(p, options, r, &plain, &ignored) && plain.wrapBefore.empty()) {
      *body = plain;
      break;
    }
  }
  return true;
}

std::string patternFileText(const Siteswap &p, const PatternFileOptions &options, const PatternBody &body) {
  std::string file = "! " + p.text + "\n";
  if (tagIsKept(p.text) && p.text.size() <= MAX_TAG) file += "% " + p.text + " QuoitSiteSwap\n";
  file += format("%% converted by kovex: %d object%s, %d juggler%s\n", p.objects, p.objects == 1 ? "" : "s",
                 p.jugglers, p.jugglers == 1 ? "" : "s");
  file += format("dt=%.2f\n", BEAT);
  if (dwellGiven(options)) file += format("l=%.2f\n", dwellOf(p, options));
  if (options.objectModel > 0) file += format("a=%d\n", options.objectModel);
  file += options.headerText;
  if (!options.headerText.empty() && options.headerText.back() != '\n') file += "\n";
  if (!headerHasEntry(options.headerText, "pPj")) {
    std::vector<Spot> spots = jugglerSpots(p.jugglers);
    if (p.jugglers > 1 && !headerHasEntry(options.headerText, "BG"))
      file += cameraLines(spots, patternTop(p, dwellOf(p, options)));
    file += jugglerBlock(spots);
  }
  file += "*\n";
  for (const std::vector<std::string> &row : body.rows) file += bodyLine(row) + "\n";
  if (!body.wrapBefore.empty()) file += "*\n" + body.wrapBefore + "\n" + body.wrapAfter + "\n";
  return file;
}
