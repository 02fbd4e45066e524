// Joints of a juggler figure while it is read: a Transform whose fields name a joint keyword becomes an
// object node of its own, and the figure's invKinTable record learns where that joint's angle lives.
#include <cmath>
#include <cstring>

#include "core/Tcl.h"
#include "scene/kinematics.h"
#include "scene/vrml/reader.h"

const char invKinJointNames[INVKIN_JOINTS][25] = {
    "HeadUp",          "LeftShoulderOut",  "LeftShoulderFront", "LeftElbow",      "LeftArmOut",     "LeftWristTurn",
    "LeftWristUp",     "RightShoulderOut", "RightShoulderFront", "RightElbow",    "RightArmOut",    "RightWristTurn",
    "RightWristUp",    "UpperArmLength",   "LowerArmLength",    "LegPosition",    "HipPosition",
};

enum { JOINT_LEFT_SHOULDER = 1, JOINT_RIGHT_SHOULDER = 7, JOINT_UPPER_ARM = 13, JOINT_LOWER_ARM = 14 };

void sumChainPosition(const ObjectNode *node, double out[3]) {
  out[0] = out[1] = out[2] = 0;
  for (; node; node = node->parent)
    for (int i = 0; i < 3; i++) out[i] += node->position[i];
}

static bool nonZero(const double v[3]) { return v[0] != 0 || v[1] != 0 || v[2] != 0; }

// The first non-zero axis component becomes the joint's angle about that axis (degrees are what the
// table holds; the file gives radians).
static double *jointAngle(ObjectNode *node, const PolyNode *p) {
  for (int axis = 0; axis < 3; axis++) {
    double component = p->rotationAxis[axis];
    if (component == 0) continue;
    node->angles[axis] = p->rotationAngle * 57.29577951;
    if (component < 0) node->flags |= NODE_NEGATIVE_AXIS;
    return &node->angles[axis];
  }
  return nullptr;
}

int qCreateInvKinNode() {
  if (!vrmlReader.jointProto || vrmlReader.jointKeywords[0] < 0) return 0;
  PolyNode *p = currentPolyNode;
  if (!p) return VRML_STOP_NODE;
  if (!fileRootNode) fileRootNode = currentObjectNode;
  int first = vrmlReader.jointKeywords[0];
  if (int code = AllocObjectNode(invKinJointNames[first], -1, LINK_CHILD)) return code;
  ObjectNode *node = currentObjectNode;
  if (nonZero(node->position) && nonZero(p->translation))
    qMsg(QMSG_DEBUG, " qCreateInvKinNode(): XYZPos != 0 && from->translation != 0; Object: %p\n",
         static_cast<void *>(node));
  else
    for (int i = 0; i < 3; i++) node->position[i] = p->translation[i];
  InvKinRecord *record = vrmlReader.figure >= 0 && vrmlReader.figure < int(sizeof invKinTable / sizeof invKinTable[0])
                             ? &invKinTable[vrmlReader.figure]
                             : nullptr;
  double *angle = jointAngle(node, p);
  for (int k = 0; k < MAX_VRML_KEYWORDS && vrmlReader.jointKeywords[k] >= 0; k++) {
    int c = vrmlReader.jointKeywords[k];
    vrmlReader.jointKeywords[k] = -1;
    if (!record) continue;
    if (angle) record->joint[c] = angle;
    double length = std::fabs(p->translation[0] + p->translation[1] + p->translation[2]);
    switch (c) {
      case INVKIN_HEAD_UP: sumChainPosition(node, record->head); break;
      case JOINT_LEFT_SHOULDER: sumChainPosition(node, record->leftShoulder); break;
      case JOINT_RIGHT_SHOULDER: sumChainPosition(node, record->rightShoulder); break;
      case JOINT_UPPER_ARM: record->upperArm = length; break;
      case JOINT_LOWER_ARM: record->lowerArm = length; break;
      default: break;
    }
  }
  p->flags &= ~POLY_TRANSLATION;
  for (int i = 0; i < 3; i++) p->translation[i] = p->rotationAxis[i] = 0;
  p->rotationAngle = 0;
  return 0;
}
