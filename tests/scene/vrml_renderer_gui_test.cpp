// The VRML renderer's pieces in a real GL context: the walks' node stacks keep the GL matrix stack
// balanced, hidden nodes and deep trees, shapes turned and moved by the transforms above them, face
// sets with broken index lists, the round shapes' detail, the walking-path colours, and the figures'
// arms as drawn over a cycle of the samples.
#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/localtext.h"
#include "core/prefs.h"
#include "core/random.h"
#include "core/uistate.h"
#include "pattern/store.h"
#include "scene/classic_renderer.h"
#include "scene/vrml_renderer.h"
#include "scene/vrmlscene.h"
#include "tests/scene/figure_chain.h"
#include "tests/scene/vrml_fixture.h"
#include "tests/support/glut_test_window.h"
#include "tests/support/picture_fixture.h"

namespace {

const int W = 64, H = 64;

GLint modelViewDepth() {
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  return depth;
}

class VrmlRendererGui : public VrmlTest {
 protected:
  static int window;
  static void SetUpTestSuite() {
    if (!window) window = openGlutTestWindow("vrml renderer", W, H, GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL);
    ASSERT_GT(window, 0);
  }
  void SetUp() override {
    VrmlTest::SetUp();
    useTestWindow(window);
    qWindowIds[WIN_3D] = window;  // where the model lists are compiled
    qMode.flags = 0;
    qMode.main = 0;
    glViewport(0, 0, W, H);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    while (glGetError() != GL_NO_ERROR) {
    }
  }
  void TearDown() override {
    qScene = nullptr;  // the nodes of these tests are the tests' own
    qWindowIds[WIN_3D] = 0;
    VrmlTest::TearDown();
  }

  static std::vector<unsigned char> pixels() { return readWindowRgb(W, H); }
  static const unsigned char *at(const std::vector<unsigned char> &rgb, int x, int y) {
    return &rgb[3 * (size_t(y) * W + x)];
  }

  // A list drawing a square of the colour around the node's origin.
  static int squareList(float r, float g, float b) {
    GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glColor3f(r, g, b);
    glRectd(-0.2, -0.2, 0.2, 0.2);
    glEndList();
    return int(list);
  }
};
int VrmlRendererGui::window;

// A pop on an empty stack and a push beyond the room leave the GL matrix stack as it was; an object
// push stops while the GL stack still has room, so it never overflows; the polygon stack holds 32.
TEST_F(VrmlRendererGui, NodeStacksNeverUnbalanceTheGlMatrixStack) {
  GLint before = modelViewDepth(), most = 0;
  glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &most);
  ObjectNode nodes[40] = {};
  ObjectNode *n = nullptr;
  testing::internal::CaptureStdout();
  EXPECT_EQ(ObjectNodeStack(2, &n), 1);
  EXPECT_EQ(modelViewDepth(), before);
  int pushed = 0;
  for (ObjectNode &node : nodes) {
    ObjectNode *p = &node;
    pushed += ObjectNodeStack(1, &p) == 0;
  }
  EXPECT_EQ(ObjectNodeStack(3, nullptr), pushed);
  EXPECT_GT(pushed, 0);
  EXPECT_LE(pushed, 32);
  EXPECT_LE(before + pushed, most);
  EXPECT_EQ(modelViewDepth(), before + pushed);
  for (int i = pushed - 1; i >= 0; i--) {
    ASSERT_EQ(ObjectNodeStack(2, &n), 0);
    EXPECT_EQ(n, &nodes[i]);
  }
  EXPECT_EQ(ObjectNodeStack(7, &n), 1);
  PolyNode poly{}, *q = &poly;
  int polyPushed = 0;
  for (int i = 0; i < 40; i++) polyPushed += PolyNodeStack(1, &q) == 0;
  EXPECT_EQ(polyPushed, 32);  // its transforms are its own: GL's stack does not bound it
  EXPECT_EQ(modelViewDepth(), before);
  for (int i = 0; i < polyPushed; i++) EXPECT_EQ(PolyNodeStack(2, &q), 0);
  EXPECT_EQ(PolyNodeStack(2, &q), 1);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Node stack full (Object)"), std::string::npos) << out;
  EXPECT_NE(out.find("Node stack empty (Object)"), std::string::npos) << out;
  EXPECT_NE(out.find("Node stack full (Poly)"), std::string::npos) << out;
  EXPECT_EQ(modelViewDepth(), before);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// A hidden node is not drawn but its child is; a tree with more pending brothers than the stack
// holds reports and ends its walk with the GL matrix stack as it was.
TEST_F(VrmlRendererGui, HiddenNodesAndDeepTrees) {
  ObjectNode ground{}, parent{}, child{};
  ground.next = &parent;
  parent.child = &child;
  child.parent = &parent;
  parent.flags = NODE_HIDDEN;
  parent.position[0] = -0.5;
  child.position[0] = 0.5;  // a hidden node's own transform is not applied either
  parent.displayList = squareList(1, 0, 0);
  child.displayList = squareList(0, 1, 0);
  qScene = &ground;
  EXPECT_EQ(qParseObjectTree(DRAW_OBJECTS, 0), 0);
  std::vector<unsigned char> rgb = pixels();
  EXPECT_EQ(at(rgb, W / 4, H / 2)[0], 0);        // the hidden parent
  EXPECT_EQ(at(rgb, 3 * W / 4, H / 2)[1], 255);  // its child

  std::vector<ObjectNode> chain(60), brothers(60);
  for (size_t i = 0; i < chain.size(); i++) {
    chain[i].brother = &brothers[i];
    if (i + 1 < chain.size()) chain[i].child = &chain[i + 1];
  }
  ground.next = &chain[0];
  GLint before = modelViewDepth();
  testing::internal::CaptureStdout();
  qParseObjectTree(DRAW_OBJECTS, 0);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Node stack full (Object)"), std::string::npos) << out;
  EXPECT_NE(out.find("qParseObjectTree: Push Stack Error 1."), std::string::npos) << out;
  EXPECT_EQ(modelViewDepth(), before);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  glDeleteLists(GLuint(parent.displayList), 1);
  glDeleteLists(GLuint(child.displayList), 1);
}

// A face set whose last face lacks its closing -1 is closed, and indices outside their arrays are
// skipped: the triangle is drawn in its face colour and GL reports nothing.
TEST_F(VrmlRendererGui, BrokenFaceSetsDrawWhatIsSound) {
  double coords[3][3] = {{-0.9, -0.9, 0}, {0.9, -0.9, 0}, {0, 0.9, 0}};
  double colors[1][3] = {{0, 0, 1}};
  double normals[1][3] = {{0, 0, 1}};
  int32_t coordIndex[] = {0, 99, 1, -7, 2};
  int32_t normalIndex[] = {0, 5};  // shorter than the coordinate indices, and one outside
  PolyNode n{};
  n.flags = POLY_FACE_SET | POLY_NO_TEXTURE;
  n.coords = coords;
  n.coordCount = 3;
  n.coordIndex = coordIndex;
  n.coordIndexCount = 5;
  n.colors = colors;
  n.colorCount = 1;
  n.colorPerVertex = 2;
  n.normals = normals;
  n.normalCount = 1;
  n.normalIndex = normalIndex;
  n.normalIndexCount = 2;
  n.normalPerVertex = 1;
  n.solid = 2;
  GLUquadric *q = gluNewQuadric();
  EXPECT_EQ(qDisplayVRMLPrimitive(q, &n, 8, 0), 0);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  std::vector<unsigned char> rgb = pixels();
  EXPECT_EQ(at(rgb, W / 2, H / 3)[2], 255);
  EXPECT_EQ(at(rgb, W / 2, H / 3)[0], 0);
  gluDeleteQuadric(q);
}

// The polygons a drawing makes in feedback mode, each as its vertices' values one after the other (2
// a vertex for GL_2D, 3 for GL_3D, 7 for GL_3D_COLOR: window x, y, depth, r, g, b, a).
std::vector<std::vector<GLfloat>> feedbackPolygons(const std::function<void()> &draw, GLenum type, int perVertex) {
  std::vector<GLfloat> buffer(4000000);
  glFeedbackBuffer(GLsizei(buffer.size()), type, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  GLint used = glRenderMode(GL_RENDER);
  std::vector<std::vector<GLfloat>> polygons;
  EXPECT_GE(used, 0) << "feedback buffer too small";
  for (GLint i = 0; i < used;) {
    GLfloat token = buffer[size_t(i)];
    if (token == GL_POLYGON_TOKEN) {
      size_t values = size_t(buffer[size_t(i) + 1]) * size_t(perVertex);
      polygons.emplace_back(buffer.begin() + i + 2, buffer.begin() + i + 2 + GLint(values));
      i += 2 + GLint(values);
    } else {
      i += token == GL_PASS_THROUGH_TOKEN ? 2 : token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN ? 1 + 2 * perVertex : 1 + perVertex;
    }
  }
  return polygons;
}

// The polygons one display list draws.
std::vector<std::vector<GLfloat>> feedbackPolygons(int list, GLenum type, int perVertex) {
  return feedbackPolygons([list] { glCallList(GLuint(list)); }, type, perVertex);
}

// The extent in pixels of what was drawn (what differs from the white background) within a part of
// the window: width and height, 0 when nothing was drawn there.
struct Extent {
  int width, height;
};
Extent drawnExtent(const std::vector<unsigned char> &rgb, int x0, int y0, int x1, int y1) {
  int left = x1, right = x0 - 1, bottom = y1, top = y0 - 1;
  for (int y = y0; y < y1; y++)
    for (int x = x0; x < x1; x++) {
      const unsigned char *p = &rgb[3 * (size_t(y) * W + x)];
      if (p[0] == 255 && p[1] == 255 && p[2] == 255) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      bottom = std::min(bottom, y);
      top = std::max(top, y);
    }
  return right < left ? Extent{0, 0} : Extent{right - left + 1, top - bottom + 1};
}

// Three cylinders seen from above: one turned -90 degrees about z as its Transform's only shape, one
// turned the same way as the second child after a tiny sphere, one not turned. The turned ones lie
// along x, the third along y, in the normal list and in the shadow list alike; a sphere 0.9 m along
// the first Transform's y lies along x from it.
TEST_F(VrmlRendererGui, PrimitivesTurnWithTheirTransformWhereverTheyStand) {
  const char *cylinder = "Shape { appearance Appearance { material Material { diffuseColor 0 0 1 } } "
                         "geometry Cylinder { radius 0.08 height 0.8 } }\n";
  std::string model = std::string("#VRML V2.0 utf8\n") +
                      "Transform { translation -0.5 0.5 0 rotation 0 0 1 -1.5708 children [\n" + cylinder +
                      "Transform { translation 0 0.9 0 children [ Shape { geometry Sphere { radius 0.1 } } ] }\n] }\n" +
                      "Transform { translation -0.5 -0.5 0 rotation 0 0 1 -1.5708 children [\n" +
                      "Shape { geometry Sphere { radius 0.001 } }\n" + cylinder + "] }\n" +
                      "Transform { translation 0.5 -0.4 0 children [\n" + cylinder + "] }\n";
  ASSERT_EQ(loadSnippet(model), VRML_LOADED);
  for (bool shadow : {false, true}) {
    SCOPED_TRACE(shadow ? "shadow list" : "normal list");
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glCallList(GLuint(shadow ? qScene->shadowList : qScene->displayList));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    std::vector<unsigned char> rgb = pixels();
    Extent only = drawnExtent(rgb, 0, H / 2, W / 2, H), second = drawnExtent(rgb, 0, 0, W / 2, H / 2),
           plain = drawnExtent(rgb, W / 2, 0, W, H / 2), sphere = drawnExtent(rgb, W / 2, H / 2, W, H);
    for (const Extent &turned : {only, second}) {
      EXPECT_GE(turned.width, 20);
      EXPECT_LE(turned.height, 7);
    }
    EXPECT_GE(plain.height, 20);
    EXPECT_LE(plain.width, 7);
    EXPECT_GE(sphere.width, 4);
    EXPECT_GE(sphere.height, 4);
  }
}

// The coordinate system and the debug cross draw each axis along its own direction: the shapes of
// x's red reach along x from the origin and stay near the other two axes, and so do y's green and
// z's blue, the arrow heads included (read back in feedback mode, at half size inside the volume).
TEST_F(VrmlRendererGui, GuideModelsDrawTheirAxesAlongXYAndZ) {
  const double colours[3][3] = {{0.9, 0.1, 0.1}, {0.1, 0.8, 0.1}, {0.15, 0.3, 0.95}};
  const struct {
    const char *file;
    double length;
  } models[] = {{"v/basic/KO_System.wrl", 1.0}, {"v/basic/debug/debugCross.wrl", 0.1}};
  for (const auto &model : models) {
    SCOPED_TRACE(model.file);
    resetVRMLScene();
    ASSERT_EQ(loadVRMLFile(model.file, 0, 0, 0, 0, 0, VRML_SCENE_OBJECT), VRML_LOADED);
    glPushMatrix();
    glScaled(0.5, 0.5, 0.5);
    std::vector<std::vector<GLfloat>> polygons = feedbackPolygons(qScene->displayList, GL_3D_COLOR, 7);
    glPopMatrix();
    ASSERT_FALSE(polygons.empty());
    double low[3][3], high[3][3];  // per colour, the extent along x, y and z (m)
    for (int c = 0; c < 3; c++)
      for (int a = 0; a < 3; a++) low[c][a] = 1e9, high[c][a] = -1e9;
    for (const std::vector<GLfloat> &polygon : polygons)
      for (size_t v = 0; v + 7 <= polygon.size(); v += 7) {
        const GLfloat *f = &polygon[v];
        double at[3] = {(f[0] / (W / 2.0) - 1) * 2, (f[1] / (H / 2.0) - 1) * 2, (1 - 2 * f[2]) * 2};
        for (int c = 0; c < 3; c++) {
          if (std::fabs(f[3] - colours[c][0]) > 0.01 || std::fabs(f[4] - colours[c][1]) > 0.01) continue;
          for (int a = 0; a < 3; a++) {
            low[c][a] = std::min(low[c][a], at[a]);
            high[c][a] = std::max(high[c][a], at[a]);
          }
        }
      }
    for (int c = 0; c < 3; c++)
      for (int a = 0; a < 3; a++) {
        SCOPED_TRACE(testing::Message() << "colour " << c << " axis " << a);
        if (a == c) {
          EXPECT_NEAR(high[c][a], model.length, 0.02 * model.length);
        } else {
          EXPECT_LT(high[c][a], 0.05);
          EXPECT_GT(low[c][a], -0.05);
        }
      }
  }
}

// The world points of the polygons that the object tree draws (scaled into the window's volume)
// with only this node's list.
const double R = 2.5;  // metres to the window's edge
std::vector<std::vector<double>> drawnWith(ObjectNode *shown, int list) {
  std::vector<std::pair<ObjectNode *, int>> kept;
  for (ObjectNode *n = qScene; n; n = n->next) {
    kept.push_back({n, n->displayList});
    n->displayList = n == shown ? list : 0;
  }
  glPushMatrix();
  glScaled(1 / R, 1 / R, 1 / R);
  std::vector<std::vector<GLfloat>> polygons = feedbackPolygons([] { qParseObjectTree(DRAW_OBJECTS, 0); }, GL_3D, 3);
  glPopMatrix();
  for (auto &k : kept) k.first->displayList = k.second;
  std::vector<std::vector<double>> points;
  for (const std::vector<GLfloat> &polygon : polygons)
    for (size_t v = 0; v + 3 <= polygon.size(); v += 3)
      points.push_back({(polygon[v] / (W / 2.0) - 1) * R, (polygon[v + 1] / (H / 2.0) - 1) * R, (1 - 2 * polygon[v + 2]) * R});
  return points;
}

// Where the renderer draws the point x along the x axis of a node's own frame: a tiny triangle
// around it, drawn alone.
std::vector<double> drawnPoint(const double *joint, double x) {
  GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  glBegin(GL_TRIANGLES);
  glVertex3d(x - 0.001, -0.001, 0);
  glVertex3d(x + 0.001, -0.001, 0);
  glVertex3d(x, 0.002, 0);
  glEnd();
  glEndList();
  std::vector<std::vector<double>> points = drawnWith(const_cast<ObjectNode *>(jointNode(joint)), int(list));
  glDeleteLists(list, 1);
  std::vector<double> mean(3, 0.0);
  EXPECT_EQ(points.size(), 3u);
  for (const std::vector<double> &p : points)
    for (int i = 0; i < 3; i++) mean[size_t(i)] += p[size_t(i)] / double(points.size());
  return mean;
}

// Poses the scene at t, coming once from a third of a cycle before and once from a third after: an
// arm whose hand is out of its reach keeps the pose it had, so the two differ.
bool armKeepsItsPose(int hand, double t) {
  const InvKinRecord &k = invKinTable[0];
  const int joints[3] = {hand ? 10 : 4, hand ? 8 : 2, hand ? 9 : 3};
  double pose[2][3];
  for (int way = 0; way < 2; way++) {
    EXPECT_EQ(buildScene(qScene, 0, std::fmod(t + (way ? 1 : 2) * t_zyklus / 3, t_zyklus), nullptr, -1), 0);
    EXPECT_EQ(buildScene(qScene, 0, t, nullptr, -1), 0);
    for (int j = 0; j < 3; j++) pose[way][j] = *k.joint[joints[j]];
  }
  for (int j = 0; j < 3; j++)
    if (std::fabs(pose[0][j] - pose[1][j]) > 1e-9) return true;
  return false;
}

// Distance along juggler 0's facing direction from its position.
double ahead(const std::vector<double> &p) {
  double a = quoitPos[0].ZWinkel;
  return std::cos(a) * (p[0] - quoitPos[0].position[0]) + std::sin(a) * (p[1] - quoitPos[0].position[1]);
}

// The horizontal parts of b - a and d - c multiplied.
double horizontalDot(const std::vector<double> &a, const std::vector<double> &b, const std::vector<double> &c,
                     const std::vector<double> &d) {
  return (b[0] - a[0]) * (d[0] - c[0]) + (b[1] - a[1]) * (d[1] - c[1]);
}

// The figures' arms as drawn, read back in feedback mode at 24 frames over a cycle of each
// one-juggler sample: both hands are drawn at their hand paths, each elbow stands in the vertical
// plane through its shoulder and hand with the forearm running on towards the hand, and the hands
// juggle in front of the chest. A hand whose wrist blends towards an object it throws or catches
// lies off its path by design, and so does one beyond the arm's reach (under the leg), which keeps
// its last pose: those frames are left out, and at least half are measured.
TEST_F(VrmlRendererGui, BothArmsReachTheirHandsInFrontOfTheChest) {
  const int frames = 24;
  for (const char *name : {"3ball_cascade", "3ball_underleg", "5ball_cascade"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(loadVrmlSample(name), 0);
    ASSERT_EQ(jugglers, 1);
    const InvKinRecord &k = invKinTable[0];
    ObjectNode *figure = qScene->next;
    ASSERT_TRUE(figure && (figure->flags & NODE_JUGGLER));
    double chest = -1e9;  // the front of the shirt: the body's foremost point above the legs
    for (const std::vector<double> &p : drawnWith(figure, figure->displayList))
      if (p[2] > 0.875) chest = std::max(chest, ahead(p));
    ASSERT_GT(chest, -1.0);
    for (int hand = 0; hand < 2; hand++) {
      SCOPED_TRACE(hand ? "right arm" : "left arm");
      const double *shoulderJoint = k.joint[hand ? 7 : 1], *elbowJoint = k.joint[hand ? 9 : 3], *turnJoint = k.joint[hand ? 11 : 5];
      int measured = 0;
      for (int f = 0; f < frames; f++) {
        double t = t_zyklus * (f + 0.5) / frames;
        SCOPED_TRACE(testing::Message() << "t " << t);
        if (armKeepsItsPose(hand, t) || wristsBetweenObjectAndArm(t)[size_t(hand)]) continue;
        measured++;
        double target[3];
        handTarget(hand, t, target);
        std::vector<double> shoulder = drawnPoint(shoulderJoint, 0), elbow = drawnPoint(elbowJoint, 0);
        std::vector<double> drawn = drawnPoint(turnJoint, 0.1);  // the hand point, 0.1 m past the wrist
        double miss = 0;
        for (int i = 0; i < 3; i++) miss += (drawn[size_t(i)] - target[i]) * (drawn[size_t(i)] - target[i]);
        EXPECT_LT(std::sqrt(miss), 0.02) << "drawn at " << drawn[0] << " " << drawn[1] << " " << drawn[2];
        // the elbow's distance from the vertical plane through shoulder and hand
        double across = (drawn[0] - shoulder[0]) * (elbow[1] - shoulder[1]) - (drawn[1] - shoulder[1]) * (elbow[0] - shoulder[0]);
        EXPECT_LT(std::fabs(across) / std::sqrt(horizontalDot(shoulder, drawn, shoulder, drawn)), 0.005);
        EXPECT_GT(horizontalDot(elbow, drawn, shoulder, drawn), 0) << "the forearm runs back from the hand";
        EXPECT_GT(ahead(drawn), chest) << "the hand is behind the shirt";
      }
      EXPECT_GE(2 * measured, frames) << measured;
    }
    freePatternData();
  }
  resetVRMLScene();
}

// A polygon tree with 32 brothers pending at once draws whole, whatever GL's matrix stack holds; one
// with more reports and draws what fits. Every shape stands where its nodes' translations put it.
TEST_F(VrmlRendererGui, DeepPolygonTreesDrawWhatTheStackHolds) {
  double triangle[3][3] = {{-0.01, -0.01, 0}, {0.01, -0.01, 0}, {0, 0.01, 0}};
  int32_t face[] = {0, 1, 2, -1};
  struct Case {
    int depth, faces;
    bool full;
  } cases[] = {{32, 2 * 32, false}, {40, 40 + 32, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.depth);
    std::vector<PolyNode> chain(size_t(c.depth)), brothers(size_t(c.depth));
    for (int i = 0; i < c.depth; i++) {
      for (PolyNode *p : {&chain[size_t(i)], &brothers[size_t(i)]}) {
        p->flags = POLY_FACE_SET | POLY_NO_TEXTURE | POLY_DIFFUSE;
        p->coords = triangle;
        p->coordCount = 3;
        p->coordIndex = face;
        p->coordIndexCount = 4;
        p->solid = 2;
      }
      // every chain node moves on by 2 cm along x; its brother stays where its parent put it, 2 cm up
      chain[size_t(i)].flags |= POLY_TRANSLATION;
      chain[size_t(i)].translation[0] = 0.02;
      brothers[size_t(i)].flags |= POLY_TRANSLATION;
      brothers[size_t(i)].translation[1] = 0.02;
      chain[size_t(i)].brother = &brothers[size_t(i)];
      if (i + 1 < c.depth) chain[size_t(i)].child = &chain[size_t(i) + 1];
    }
    ObjectNode node{};
    node.poly = &chain[0];
    testing::internal::CaptureStdout();
    int list = qGlDefineGLVRMLObject(&node, 0x1000);
    std::string out = testing::internal::GetCapturedStdout();
    ASSERT_GT(list, 0);
    EXPECT_EQ(node.faceTotal, c.faces);
    // A full stack is reported once, however many brothers it leaves out.
    size_t reports = 0;
    for (size_t at = out.find("Node stack full (Poly)"); at != std::string::npos; at = out.find("Node stack full (Poly)", at + 1))
      reports++;
    EXPECT_EQ(reports, c.full ? 1u : 0u) << out;
    // The list's triangles in feedback mode: their centres lie where the translations put them.
    glPushMatrix();
    glLoadIdentity();
    glTranslated(-0.9, 0, 0);
    std::vector<std::vector<GLfloat>> polygons = feedbackPolygons(list, GL_2D, 2);
    glPopMatrix();
    std::multiset<std::pair<int, int>> found, expected;
    for (const std::vector<GLfloat> &polygon : polygons) {
      double x = 0, y = 0, vertices = double(polygon.size() / 2);
      for (size_t v = 0; v + 2 <= polygon.size(); v += 2) {
        x += polygon[v] / vertices;
        y += polygon[v + 1] / vertices;
      }
      // in units of 2 cm from the origin's pixel: 32 pixels a metre
      found.insert({int(std::lround((x - (0.1 * W / 2)) / (0.02 * W / 2))), int(std::lround((y - H / 2.0) / (0.02 * H / 2)))});
    }
    for (int i = 0; i < c.depth; i++) {
      expected.insert({i + 1, 0});
      if (i < 32) expected.insert({i, 1});
    }
    EXPECT_EQ(found, expected);
    glDeleteLists(GLuint(list), 1);
  }
}


// A large sphere and a high detail preference get no more than 64 stacks of 128 slices; a
// detail below zero still gives a sphere.
TEST_F(VrmlRendererGui, SphereDetailIsClamped) {
  glScaled(0.15, 0.15, 0.15);
  for (int detail : {200, 0, -50}) {
    SCOPED_TRACE(detail);
    qPrefs.detail = detail;
    ASSERT_EQ(loadSnippet("#VRML V2.0 utf8\nShape { appearance Appearance { material Material { diffuseColor 1 0 0 } } "
                          "geometry Sphere { radius 5 } }\n"),
              VRML_LOADED);
    int polygons = int(feedbackPolygons(qScene->displayList, GL_3D, 3).size());
    EXPECT_GT(polygons, 8);
    EXPECT_LE(polygons, 2 * 128 * 64);
    resetVRMLScene();
  }
  qPrefs.detail = 0;
}

TEST(VrmlWalkingPaths, ColoursLieInTheUnitRange) {
  const double first[7][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 1}, {1, 0, 1}, {1, 1, 0}, {1, 1, 1}};
  for (unsigned j = 0; j < 7; j++)
    for (int i = 0; i < 3; i++) EXPECT_EQ(qWalkingPathColor(j)[i], first[j][i]) << j;
  qSeedRandom(5);
  bool varied = false;
  for (unsigned j = 7; j < 200; j++) {
    const double *c = qWalkingPathColor(j);
    for (int i = 0; i < 3; i++) {
      EXPECT_GE(c[i], 0.0);
      EXPECT_LE(c[i], 1.0);
      varied = varied || (c[i] > 0.01 && c[i] < 0.99);
    }
  }
  EXPECT_TRUE(varied);
}

}  // namespace
