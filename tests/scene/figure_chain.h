// The hand of a VRML figure recomputed from its chain of joint nodes, turned as the VRML renderer
// turns them: what the arm tests compare the hand targets with.
#pragma once
#include <algorithm>
#include <cmath>
#include <vector>

#include "pattern/clock.h"
#include "pattern/handpaths.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "pattern/throws.h"

#include "scene/vrml/modeltree.h"

inline const double DEG = 57.29577951;

// A 4x4 matrix in column order, as GL keeps it.
struct Matrix {
  double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  Matrix operator*(const Matrix &b) const {
    Matrix r;
    for (int c = 0; c < 4; c++)
      for (int row = 0; row < 4; row++) {
        double s = 0;
        for (int k = 0; k < 4; k++) s += m[k * 4 + row] * b.m[c * 4 + k];
        r.m[c * 4 + row] = s;
      }
    return r;
  }
  void apply(const double p[3], double w, double out[3]) const {
    for (int row = 0; row < 3; row++) out[row] = m[row] * p[0] + m[4 + row] * p[1] + m[8 + row] * p[2] + m[12 + row] * w;
  }
};

inline Matrix translation(const double p[3]) {
  Matrix t;
  for (int i = 0; i < 3; i++) t.m[12 + i] = p[i];
  return t;
}

// Rotation by degrees about a unit axis (the glRotated matrix).
inline Matrix rotation(double degrees, double x, double y, double z) {
  double a = degrees / DEG, c = cos(a), s = sin(a), t = 1 - c;
  Matrix r;
  const double v[9] = {t * x * x + c,     t * x * y + s * z, t * x * z - s * y, t * x * y - s * z, t * y * y + c,
                       t * y * z + s * x, t * x * z + s * y, t * y * z - s * x, t * z * z + c};
  for (int col = 0; col < 3; col++)
    for (int row = 0; row < 3; row++) r.m[col * 4 + row] = v[col * 3 + row];
  return r;
}

// The transform of one object node as the VRML renderer applies it to a figure's nodes.
inline Matrix nodeTransform(const ObjectNode *n) {
  double s = n->flags & NODE_NEGATIVE_AXIS ? -1 : 1;
  Matrix m = translation(n->position);
  if (n->angles[0] != 0) m = m * rotation(n->angles[0], s, 0, 0);
  if (n->angles[2] != 0) m = m * rotation(n->angles[2], 0, 0, s);
  if (n->angles[1] != 0) m = m * rotation(n->angles[1], 0, s, 0);
  return m;
}

// The node whose angle the joint pointer names.
inline const ObjectNode *jointNode(const double *angle) {
  for (const ObjectNode *n = qScene; n; n = n->next)
    if (angle >= n->angles && angle < n->angles + 3) return n;
  return nullptr;
}

inline Matrix chainTransform(const ObjectNode *n) { return n ? chainTransform(n->parent) * nodeTransform(n) : Matrix(); }

// The hand point: 0.1 m out along the wrist's x axis.
inline void handPoint(const double *wristUp, double out[3]) {
  const double tip[3] = {0.1, 0, 0};
  chainTransform(jointNode(wristUp)).apply(tip, 1, out);
}

// The hand columns whose wrist is blending between an object and the arm at time t: the throwing
// hand just after a throw, the catching hand just before a catch of a ball or club. Their hand lies
// off the hand path by design.
inline std::vector<bool> wristsBetweenObjectAndArm(double t) {
  std::vector<bool> turning(MAX_HANDS, false);
  for (int o = 0; o < objekte; o++) {
    const Flugbahn &g = flugbahn[o][objectCursor[o]];
    if (g.haltehand >= 0) continue;
    double d = g.t_to - g.t_from, s = t - g.t_from;
    if (d < 0) d += t_zyklus;
    if (s < 0.05 * d) turning[size_t(Hand(g.handvon, 0))] = true;
    if (s > 0.95 * d) turning[size_t(Hand(g.handbis, 0))] = true;
  }
  return turning;
}

// Hand h's point on its hand path at time t, lowered as the arm solver lowers it: where the figure's
// hand point belongs.
inline void handTarget(int h, double t, double out[3]) {
  double fraction = 0;
  int wrapped = 0;
  prepareScene(&t, 0, &wrapped, SCENE_HAND, 0, h, &fraction);
  const Handbahn &s = handbahn[h][std::clamp(handCursor[h], 0, takte)];
  bezierPoint(s.B0, s.B1, s.B2, s.B3, fraction, out);
  out[2] -= 0.012;
}
