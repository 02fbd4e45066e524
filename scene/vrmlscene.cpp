// Scene posing in VRML mode: every juggled object's node at its path segment at the scene time, the
// wrists following what the hands hold, every arm solved for its hand path, and the two debug texts.
#include "scene/vrmlscene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "core/Tcl.h"
#include "core/localtext.h"
#include "core/native_windows.h"
#include "core/uistate.h"
#include "core/vecmath.h"
#include "core/viewrecords.h"
#include "pattern/clock.h"
#include "pattern/handpaths.h"
#include "pattern/modeltable.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "scene/classic_renderer.h"
#include "scene/kinematics.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "scene/vrml/modeltree.h"

static const double DEGREES = 57.29577951;
static const double NOT_GIVEN = 251000.0;
enum { FLIGHT_TEXT_SIZE = 6000 };

// What each hand column's wrist does this frame (the arm solver's wrist arguments).
static double wristUp[MAX_HANDS], wristTurn[MAX_HANDS], holdFraction[MAX_HANDS], wristBlend[MAX_HANDS];

static int handColumns() { return std::clamp(2 * jugglers, 0, int(MAX_HANDS)); }

static void resetHands() {
  for (int h = 0; h < MAX_HANDS; h++) {
    wristUp[h] = wristTurn[h] = NOT_GIVEN;
    holdFraction[h] = 0.5;
    wristBlend[h] = 0;
  }
}

// The column of a hand number, -1 when it names none of the pattern's columns.
static int columnOf(int hand) {
  if (hand < 0) return -1;
  int h = Hand(hand, 0);
  return h >= 0 && h < handColumns() ? h : -1;
}

void radiusOffset(ObjectNode *node) {
  const double *v = Objekt_Radiusvektor(node->objectIndex, node->angles[1] / DEGREES, node->angles[2] / DEGREES);
  for (int i = 0; i < 3; i++) node->position[i] += v[i];
}

// The wrist of a column follows an object: a ball or club by its spin with the given weight, a ring
// turned on edge.
static void followObject(int h, int type, double spin, double blend) {
  if (h < 0) return;
  if (type == OBJECT_TYPE_BALL || type == OBJECT_TYPE_CLUB) {
    wristBlend[h] = blend;
    wristUp[h] = spin;
  } else if (type == OBJECT_TYPE_RING) {
    wristTurn[h] = 90.0;
  }
}

static void noteHands(const Flugbahn &g, int type, double s, double fraction, double spin) {
  if (g.haltehand >= 0) {
    int h = columnOf(g.haltehand);
    if (h >= 0) holdFraction[h] = fraction;
    followObject(h, type, spin, 1.0);
    return;
  }
  double d = g.t_to - g.t_from;
  if (d < 0) d += t_zyklus;
  if (!(d > 0)) return;
  if (s < 0.05 * d) followObject(columnOf(g.handvon), type, wrapAngle180(spin), 1 - s / (0.05 * d));
  else if (s > 0.95 * d) followObject(columnOf(g.handbis), type, wrapAngle180(spin), (s / d - 0.95) / 0.05);
}

// The object's node at time t into its segment; the segment and its index for the text.
static const Flugbahn &poseObject(ObjectNode *node, int o, double *t, int *wrapped, int restart, double *s, int *index) {
  double fraction = 0;
  *s = prepareScene(t, 0, wrapped, SCENE_OBJECT, restart, o, &fraction);
  *index = segmentIndex(o, *t, restart);
  const Flugbahn &g = flugbahn[o][*index];
  int type = ObjektEigenschaft(0, g.objekt, 5);
  double direction[3];
  segmentPoint(g, *s, fraction, node->position, direction);
  node->angles[0] = 0;
  node->angles[2] = (g.W[1] + g.Wp[1] * *s) * DEGREES;
  double turned = (g.flag & FB_FREE_FLIGHT) || *s < g.t_apex ? *s : 2 * g.t_apex - *s;  // a hold turns back
  node->angles[1] = (g.W[0] + g.Wp[0] * turned) * DEGREES;
  if (!(g.flag & FB_FREE_FLIGHT)) radiusOffset(node);
  noteHands(g, type, *s, fraction, node->angles[1]);
  char letter = Objektbuchstaben[o];
  if (qMode.view == VIEW_CLOSE && letter && letter == currentObjectLetter && vectorLength(direction) > 0) {
    normalizeVector(direction);
    for (int k = 0; k < 3; k++) cameraState.eye[k] = node->position[k] - 0.65 * direction[k];
  }
  node->letter = letter;
  return g;
}

static ObjectNode *nextJuggledNode(ObjectNode *n) {
  while (n && !(n->flags & NODE_TAKES_CHOOSER_MODEL)) n = n->next;
  return n;
}

static void solveArms(double t, int wrapped) {
  if (qOpenGL.invkin || !handbahn || takte < 0) return;
  for (int h = 0; h < handColumns() && h < handCount; h++) {
    double fraction = 0;
    prepareScene(&t, 0, &wrapped, SCENE_HAND, 0, h, &fraction);
    const Handbahn &segment = handbahn[h][std::clamp(handCursor[h], 0, takte)];
    double point[3];
    bezierPoint(segment.B0, segment.B1, segment.B2, segment.B3, fraction, point);
    armAngles(h, point, wristUp[h], wristTurn[h], holdFraction[h], wristBlend[h]);
  }
}

static void appendJoint(std::string &text, const char *format, const double *joint) {
  char value[16] = "     --";  // the figure has no such joint
  if (joint) snprintf(value, sizeof value, "%7.2f", *joint);
  char line[80];
  snprintf(line, sizeof line, format, value);
  text += line;
}

static void showArmText(int j) {
  if (j < 0 || j >= MAX_JUGGLERS || j >= int(sizeof invKinTable / sizeof invKinTable[0])) return;
  const InvKinRecord &k = invKinTable[j];
  char line[80];
  snprintf(line, sizeof line, "quoitPos.ZWinkel=%7.2f\260\n\n ", quoitPos[j].ZWinkel * DEGREES);
  std::string text = line;
  snprintf(line, sizeof line, "Juggler %d's left arm . . \n", j + 1);
  text += line;
  static const struct {
    int joint;
    const char *format;
  } lines[] = {{1, "LEFTSHOULDEROUT=%s \260\n"},    {2, "LEFTSHOULDERFRONT=%s \260 \n"}, {3, "LEFTELBOW=%s \260 \n"},
               {4, "LEFTARMOUT=%s \260 \n"},        {5, "LEFTWRISTTURN=%s \260 \n"},     {6, "LEFTWRISTUP=%s \260 \n"},
               {-1, nullptr},
               {7, "RIGHTSHOULDEROUT=%s \260\n"},   {8, "RIGHTSHOULDERFRONT=%s \260\n"}, {9, "RIGHTELBOW=%s \260 \n"},
               {10, "RIGHTARMOUT=%s \260 \n"},      {11, "RIGHTWRISTTURN=%s \260 \n"},   {12, "RIGHTWRISTUP=%s \260 \n"}};
  for (const auto &l : lines) {
    if (l.joint < 0) text += std::string(29, ' ') + "\n . . right arm . . \n";
    else appendJoint(text, l.format, k.joint[l.joint]);
  }
  qTextOutput(text.c_str(), int(std::count(text.begin(), text.end(), '\n')), 29, 1);
}

static const char SEGMENT_LEGEND[] =
    "              p: parabola\n             h: hand\n            2: half spin\n           g: modified\n"
    "          z: bezier\n         P: pass\n        b: bounce\n       f: force bounce\n      d:dirty\n";

int buildScene(ObjectNode *list, double step, double t, double *result, int index) {
  int wrapped = 0;
  prepareScene(&t, step, &wrapped, SCENE_CLOCK, t != 0 ? SCENE_STILL : SCENE_ADVANCE, 0, nullptr);
  static ObjectNode scratch;
  ObjectNode *node;
  if (!list) {
    int slot = firstObjectInstance + index;
    if (index < 0 || slot < 0 || slot > INSTANCE_SLOTS || objectInstanceList[slot] < 0) return 1;
    node = &scratch;
    node->objectIndex = objectInstanceList[slot];
  } else {
    node = nextJuggledNode(list);
  }
  if (!node) {
    qMsg(QMSG_DEBUG, "buildScene: qObject==NULL [juggler]\n");
    return 1;
  }
  int objects = flugbahn && segmentRowLength > 0 ? std::min(objekte, int(MAX_OBJECTS)) : 0;
  int from = index >= 0 ? index : 0, to = index >= 0 ? std::min(index + 1, objects) : objects;
  resetHands();
  bool trace = !result && jugglerViewCounter == 1;
  std::string text;
  int posed = 0;
  for (int o = from; o < to && node; o++) {
    double s;
    int segment;
    const Flugbahn &g = poseObject(node, o, &t, &wrapped, result != nullptr, &s, &segment);
    if (trace) {
      if (o == from) {
        char head[80];
        snprintf(head, sizeof head, "- - - - flugbahn [ ] [ ] - - - -\n\nt=%6.2f(%6.2f) Ywin Zwin t\n", t, t_zyklus);
        text = head;
      }
      std::string withLine = text;
      appendSegmentLine(withLine, node->letter ? node->letter : ' ', g, segment, node->angles[1], node->angles[2], s);
      if (withLine.size() > FLIGHT_TEXT_SIZE - 1) {
        qMsg(QMSG_ERROR, localText(49), "BuildScene():fbtxt", "fbtxt");
        break;
      }
      text = withLine;
    }
    posed++;
    if (result) {
      for (int i = 0; i < 3; i++) result[i] = node->position[i];
      return 0;
    }
    node = list ? nextJuggledNode(node->next) : nullptr;
  }
  if (trace) {
    text += SEGMENT_LEGEND;
    qTextOutput(text.c_str(), posed + 10, 32, 1);
  }
  solveArms(t, wrapped);
  if (!result && jugglerViewCounter >= 2) showArmText(jugglerViewCounter - 2);
  return 0;
}
