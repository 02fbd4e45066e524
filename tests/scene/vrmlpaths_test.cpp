// The path aids and the chooser in VRML mode on the sample patterns: the flight and hand path nodes
// with their numbers, names and samples, the walking paths split by juggler, and the chooser's own
// list whose picked model the juggled objects' nodes borrow without owning it.
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/localtext.h"
#include "core/runstate.h"
#include "core/uistate.h"
#include "core/viewrecords.h"
#include "pattern/clock.h"
#include "pattern/objectpaths.h"
#include "pattern/reader.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "scene/pathdisplay.h"
#include "scene/placements.h"
#include "scene/vrmlaids.h"
#include "tests/scene/path_fixture.h"
#include "tests/scene/vrml_fixture.h"
#include "tests/support/loadpattern.h"

namespace {

// A sample pattern loaded in VRML mode, with the temporary directory in the test's scratch directory.
class VrmlPaths : public PathTest<VrmlTest> {
 public:
  static int nodeCount(const ObjectNode *head) {
    int n = 0;
    for (; head; head = head->next) n++;
    return n;
  }
  static std::vector<const PolyNode *> shapes(const ObjectNode *node) {
    std::vector<const PolyNode *> all;
    for (const PolyNode *p = node->poly->child; p; p = p->brother) all.push_back(p);
    return all;
  }
  static std::vector<const PolyNode *> withFlag(const std::vector<const PolyNode *> &all, uint32_t flag) {
    std::vector<const PolyNode *> some;
    for (const PolyNode *p : all)
      if (p->flags & flag) some.push_back(p);
    return some;
  }
  static double distance(const double a[3], const double b[3]) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
  }
};

TEST_F(VrmlPaths, FlightPathNodeShownHiddenAndShownAgain) {
  loadVrml("3ball_cascade");
  qMode.speed = -40;
  trackCurrentObject(nullptr);
  char letter = currentObjectLetter;
  int k = Objekt_Nummer(letter);
  std::vector<int> cursors(objectCursor, objectCursor + objekte);
  int nodes = nodeCount(qScene), models = loadedObjectCount;
  toggleFlightPathDisplay(0);
  std::string name = pathFileName(letter, false);
  ObjectNode *path = findPathNode(name.c_str(), FLIGHT_PATH_NUMBER - k);
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(shownFlightPaths, std::string(1, letter));
  EXPECT_EQ(nodeCount(qScene), nodes + 1);
  EXPECT_EQ(qMode.speed, -40);  // put back after the samples were taken at the normal speed
  EXPECT_EQ(std::vector<int>(objectCursor, objectCursor + objekte), cursors);
  EXPECT_EQ(path->flags & (NODE_HIDDEN | NODE_TAKES_CHOOSER_MODEL), 0u);
  EXPECT_NE(path->flags & NODE_NOT_A_PROP, 0u);
  ASSERT_EQ(loadedObjectCount, models + 1);
  EXPECT_STREQ(objekt_geladen[models].name, name.c_str());
  EXPECT_EQ(objekt_geladen[models].objektnummer, FLIGHT_PATH_NUMBER - k);
  EXPECT_EQ(path->objectIndex, models);

  std::vector<const PolyNode *> lines = shapes(path);
  ASSERT_EQ(lines.size(), 1u);
  const PolyNode *line = lines[0];
  int samples = int(std::trunc(t_zyklus * 20));
  EXPECT_EQ(line->coordCount, samples);
  EXPECT_EQ(line->coordIndexCount, samples);
  EXPECT_NE(line->flags & POLY_LINE_LOOP, 0u);
  EXPECT_EQ(line->diffuseColor[0], 0.4);
  EXPECT_EQ(line->diffuseColor[2], 0.8);
  // One cycle of the object: the loop closes, and it climbs to the apex of the object's highest flight.
  double top = 0, apex = 0;
  for (int i = 0; i < samples; i++) top = std::max(top, line->coords[i][2]);
  for (int i = 0; i <= paraz[k]; i++) {
    const Flugbahn &g = flugbahn[k][i];
    if (g.haltehand < 0 && g.az < 0) apex = std::max(apex, g.X0[2] + g.V[2] * g.V[2] / (-2 * g.az));
  }
  EXPECT_LT(distance(line->coords[0], line->coords[samples - 1]), 0.3);
  EXPECT_GT(apex, 0.5);
  EXPECT_NEAR(top, apex, 0.02);

  toggleFlightPathDisplay(0);
  EXPECT_NE(path->flags & NODE_HIDDEN, 0u);
  EXPECT_EQ(shownFlightPaths, "-");
  toggleFlightPathDisplay(0);
  EXPECT_EQ(path->flags & NODE_HIDDEN, 0u);  // the same node again
  EXPECT_EQ(nodeCount(qScene), nodes + 1);
  EXPECT_EQ(loadedObjectCount, models + 1);
}

TEST_F(VrmlPaths, AllFlightPathsAndTheWrapChainsSamples) {
  loadVrml("3ball_cascade_wrap");
  ASSERT_EQ(WRAP, 1);
  toggleFlightPathDisplay(1);
  ASSERT_EQ(int(shownFlightPaths.size()), objekte);
  for (int o = 0; o < objekte; o++) {
    char letter = Objektbuchstaben[o];
    const ObjectNode *path = findPathNode(pathFileName(letter, false).c_str(), FLIGHT_PATH_NUMBER - o);
    ASSERT_NE(path, nullptr) << letter;
    PathSamples s = flightPathSamples(letter);
    EXPECT_EQ(shapes(path)[0]->coordCount, s.count) << letter;
    EXPECT_EQ(s.count, s.cycles * int(std::trunc(t_zyklus * 20))) << letter;
  }
  toggleFlightPathDisplay(1);
  for (int o = 0; o < objekte; o++)
    EXPECT_NE(findPathNode(pathFileName(Objektbuchstaben[o], false).c_str(), FLIGHT_PATH_NUMBER - o)->flags & NODE_HIDDEN, 0u);
}

// Path nodes are found by number and name: another node that happens to have the number (the
// running numbers of a scene with figures pass 199) is neither shown nor taken for the path.
TEST_F(VrmlPaths, ANodeWithTheSameNumberIsNotThePath) {
  loadVrml("3ball_cascade");
  trackCurrentObject(nullptr);
  int k = Objekt_Nummer(currentObjectLetter);
  ObjectNode *other = qScene->next;
  other->number = FLIGHT_PATH_NUMBER - k;
  other->flags |= NODE_HIDDEN;
  int nodes = nodeCount(qScene);
  toggleFlightPathDisplay(0);
  EXPECT_NE(other->flags & NODE_HIDDEN, 0u);
  EXPECT_EQ(nodeCount(qScene), nodes + 1);
  EXPECT_NE(findPathNode(pathFileName(currentObjectLetter, false).c_str(), FLIGHT_PATH_NUMBER - k), nullptr);
}

TEST_F(VrmlPaths, SampleCountsAreBounded) {
  loadVrml("3ball_cascade");
  trackCurrentObject(nullptr);
  struct {
    const char *name;
    int count;
    double step;
    int made;
  } cases[] = {{"many", 1000000, 0.001, MAX_PATH_SAMPLES}, {"none", 0, 0.05, 1}, {"negative", -5, NAN, 1}};
  for (const auto &c : cases) {
    ASSERT_EQ(qMakeVRMLFlightPath(c.name, c.count, c.step), 0) << c.name;
    const ObjectNode *path = findPathNode(c.name, FLIGHT_PATH_NUMBER - Objekt_Nummer(currentObjectLetter));
    ASSERT_NE(path, nullptr) << c.name;
    const PolyNode *line = shapes(path)[0];
    EXPECT_EQ(line->coordCount, c.made) << c.name;
    for (int i = 0; i < line->coordCount; i++) ASSERT_TRUE(std::isfinite(line->coords[i][2])) << c.name << i;
  }
}

TEST_F(VrmlPaths, HandPathSpheresAtTheHeldSegmentsControlPoints) {
  loadVrml("3ball_cascade");
  trackCurrentObject(nullptr);
  char letter = currentObjectLetter;
  int k = Objekt_Nummer(letter);
  toggleHandPathDisplay(0);
  EXPECT_EQ(shownHandPaths, std::string(1, letter));
  const ObjectNode *path = findPathNode(pathFileName(letter, true).c_str(), FLIGHT_PATH_NUMBER - k - objekte);
  ASSERT_NE(path, nullptr);
  std::vector<const Flugbahn *> held;
  for (int i = 0; i <= paraz[k]; i++) {
    if (flugbahn[k][i].flag & FB_HOLD_Z) held.push_back(&flugbahn[k][i]);
    if (i == paraz[k] || !(flugbahn[k][i + 1].t_to < t_zyklus)) break;
  }
  ASSERT_FALSE(held.empty());
  std::vector<const PolyNode *> all = shapes(path), spheres = withFlag(all, POLY_SPHERE),
                                lines = withFlag(all, POLY_LINE_STRIP);
  ASSERT_EQ(spheres.size(), 4 * held.size());
  ASSERT_EQ(lines.size(), held.size());
  for (size_t h = 0; h < held.size(); h++) {
    const double *points[4] = {held[h]->B0, held[h]->B1, held[h]->B2, held[h]->B3};
    for (int i = 0; i < 4; i++) {
      EXPECT_EQ(spheres[4 * h + i]->radius, 0.025);
      EXPECT_EQ(distance(spheres[4 * h + i]->translation, points[i]), 0) << h << " " << i;
      EXPECT_EQ(distance(lines[h]->coords[i], points[i]), 0) << h << " " << i;
    }
    EXPECT_EQ(lines[h]->coordIndexCount, 4);
  }
  for (const PolyNode *p : all)  // one random colour for the whole path
    for (int i = 0; i < 3; i++) EXPECT_EQ(p->diffuseColor[i], all[0]->diffuseColor[i]);
  toggleHandPathDisplay(1);
  EXPECT_NE(path->flags & NODE_HIDDEN, 0u);
}

// Each keyframe goes into its own juggler's node; keyframes of jugglers that do not exist are left out.
TEST_F(VrmlPaths, WalkingPathsSplitByJuggler) {
  loadVrml("6club_2count_pass");
  ASSERT_EQ(jugglers, 2);
  auto segment = [](int juggler, double x) {
    WalkingSegment s{juggler, {{x, 0, 0.01}, {x + 0.5, 0, 0.01}, {x + 1, 0.5, 0.01}, {x + 1, 1, 0.01}}};
    return s;
  };
  const WalkingSegment segments[] = {segment(0, 0), segment(1, 3), segment(0, 1), segment(7, 9), segment(-1, 9)};
  int nodes = nodeCount(qScene);
  ASSERT_EQ(qMakeVRMLWalkingPaths(31, segments, 5), 0);
  EXPECT_EQ(nodeCount(qScene), nodes + 2);
  const ObjectNode *path[2] = {findPathNode("walking_path_J0", WALKING_PATH_NUMBER),
                               findPathNode("walking_path_J1", WALKING_PATH_NUMBER + 1)};
  ASSERT_NE(path[0], nullptr);
  ASSERT_NE(path[1], nullptr);
  const double colours[2][3] = {{1, 0, 0}, {0, 1, 0}};
  const size_t keyframes[2] = {2, 1};
  for (int j = 0; j < 2; j++) {
    SCOPED_TRACE(j);
    std::vector<const PolyNode *> all = shapes(path[j]), spheres = withFlag(all, POLY_SPHERE),
                                  lines = withFlag(all, POLY_LINE_STRIP);
    EXPECT_EQ(spheres.size(), 4 * keyframes[j]);
    ASSERT_EQ(lines.size(), 2 * keyframes[j]);
    for (const PolyNode *p : spheres) EXPECT_EQ(p->radius, 0.05);
    for (const PolyNode *p : all)
      for (int i = 0; i < 3; i++) EXPECT_EQ(p->diffuseColor[i], colours[j][i]);
    // Per keyframe the control polygon, then the curve from the first control point to the last.
    const WalkingSegment &first = segments[j == 0 ? 0 : 1];
    EXPECT_EQ(spheres[0]->translation[0], first.point[0][0]);
    EXPECT_EQ(lines[0]->coordCount, 4);
    ASSERT_EQ(lines[1]->coordCount, 16);
    EXPECT_NEAR(distance(lines[1]->coords[0], first.point[0]), 0, 1e-12);
    EXPECT_NEAR(distance(lines[1]->coords[15], first.point[3]), 0, 1e-12);
    double middle[3];
    bezierPoint(first.point[0], first.point[1], first.point[2], first.point[3], 7 / 15.0, middle);
    EXPECT_NEAR(distance(lines[1]->coords[7], middle), 0, 1e-12);
  }
  qRemoveWalkingPaths(31);
  EXPECT_NE(path[0]->flags & NODE_HIDDEN, 0u);
  EXPECT_NE(path[1]->flags & NODE_HIDDEN, 0u);
  ASSERT_EQ(qMakeVRMLWalkingPaths(31, segments, 5), 0);  // the editor entered again
  EXPECT_EQ(nodeCount(qScene), nodes + 2);
  EXPECT_EQ(path[0]->flags & NODE_HIDDEN, 0u);
  qRemoveWalkingPaths(2);
  EXPECT_EQ(path[0]->flags & NODE_HIDDEN, 0u);
  EXPECT_NE(path[1]->flags & NODE_HIDDEN, 0u);
}

// The chooser with a cursor that picks when it is told to.
class VrmlChooser : public VrmlPaths {
 public:
  static int pickNow;
  AidCalls saved = aidCalls;
  static int cursor(int *rowOffset, int16_t *, int16_t *) {
    *rowOffset = 0;
    return pickNow;
  }
  static int setMode(uint32_t, uint32_t) {
    qMode.main = qMode.main == MAIN_CHOOSER_PICK ? int64_t(0) : int64_t(MAIN_CHOOSER_PICK);
    return 0;
  }
  void SetUp() override {
    VrmlPaths::SetUp();
    aidCalls = {setMode, cursor};
    pickNow = 0;
    chooserRow = 0;
    chooserColumn = 1;
  }
  void TearDown() override {
    aidCalls = saved;
    chooserState = 0;
    freeObjectList(&qScene_CO);
    VrmlPaths::TearDown();
  }
  void enter() {
    chooserState = 1;
    qMode.main = MAIN_CHOOSER;
    qMode.display = 1;
  }
  // The chooser's first frame, then a frame that picks the model in row 0, column 1.
  void choose() {
    enter();
    selectObjectInBox();
    pickNow = -1;
    testing::internal::CaptureStdout();
    selectObjectInBox();
    output = testing::internal::GetCapturedStdout();
    pickNow = 0;
  }
  std::string output;
};
int VrmlChooser::pickNow;

TEST_F(VrmlChooser, ModelsGoIntoTheChoosersOwnListAndThePickIsLent) {
  loadVrml("3ball_cascade");
  ObjectNode *tail = currentObjectNode;
  int nodes = nodeCount(qScene);
  enter();
  selectObjectInBox();
  ASSERT_NE(qScene_CO, nullptr);
  EXPECT_NE(qScene_CO->flags & NODE_HIDDEN, 0u);  // the root
  EXPECT_EQ(nodeCount(qScene), nodes);
  EXPECT_GE(nodeCount(qScene_CO), 1 + 1 + 25);  // root, cursor frame, the object list's models
  ASSERT_GT(chooserCursorModel, 0);
  EXPECT_STREQ(objekt_geladen[chooserCursorModel].name, "v/basic/SelectBox.wrl");

  pickNow = -1;
  testing::internal::CaptureStdout();
  selectObjectInBox();
  std::string out = testing::internal::GetCapturedStdout();
  ASSERT_EQ(chosenModel, chooserModels[1]);
  EXPECT_EQ(chooserState, 0);
  EXPECT_EQ(currentObjectNode, tail);  // the scene goes on where it was
  const ObjectNode *model = nullptr;
  for (const ObjectNode *n = qScene_CO; n && !model; n = n->next)
    if (n->objectIndex == chosenModel) model = n;
  ASSERT_NE(model, nullptr);
  EXPECT_NE(out.find("ver=" + std::to_string(model->vertexTotal) + " fac=" + std::to_string(model->faceTotal)),
            std::string::npos)
      << out;
  EXPECT_NE(model->poly->flags & POLY_SHARED, 0u);
  std::vector<ObjectNode *> objects = juggled();
  ASSERT_EQ(int(objects.size()), objekte);
  for (const ObjectNode *n : objects) {
    EXPECT_STREQ(n->name, "Changed");
    EXPECT_EQ(n->poly, model->poly);
    EXPECT_NE(n->ownedPolys, model->poly);  // its own polygon nodes stay its own
    EXPECT_EQ(n->displayList, model->displayList);
    EXPECT_EQ(n->flags & ~uint32_t(NODE_HIDDEN), model->flags | NODE_TAKES_CHOOSER_MODEL);
  }
  EXPECT_EQ(chooserVertexTotal, model->vertexTotal);
  // The scene is freed with the borrowed geometry in it, then the chooser's list: each polygon
  // node once (the sanitizer run catches a second free).
  resetVRMLScene();
  freeObjectList(&qScene_CO);
  EXPECT_EQ(qScene_CO, nullptr);
}

// The next pattern has a new loaded-object table: the chooser's list is made again for it, not
// added to. Nodes that still draw a picked model's geometry take their own back first.
TEST_F(VrmlChooser, TheChooserListIsMadeAgainForANewTable) {
  loadVrml("3ball_cascade");
  choose();
  ASSERT_GE(chosenModel, 0);
  int chooserNodes = nodeCount(qScene_CO);
  std::vector<ObjectNode *> objects = juggled();
  ASSERT_FALSE(objects.empty());
  ASSERT_NE(objects[0]->poly, objects[0]->ownedPolys);
  qMode.main = MAIN_CHOOSER;
  ASSERT_EQ(qVRMLObjectChooser(2), 0);
  for (const ObjectNode *n : objects) EXPECT_EQ(n->poly, n->ownedPolys);
  EXPECT_EQ(nodeCount(qScene_CO), 1);
  qMode.main = 0;

  loadVrml("3ball_cascade");
  choose();
  EXPECT_EQ(nodeCount(qScene_CO), chooserNodes);
  EXPECT_EQ(chosenModel, chooserModels[1]);
  for (const ObjectNode *n : juggled()) EXPECT_STREQ(n->name, "Changed");
}

TEST_F(VrmlChooser, UnknownOperationAndNoModel) {
  loadVrml("3ball_cascade");
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  int unknown = qVRMLObjectChooser(5);
  chosenModel = 12345;
  int none = qVRMLObjectChooser(3);
  testing::internal::GetCapturedStderr();
  testing::internal::GetCapturedStdout();
  EXPECT_NE(unknown, 0);
  EXPECT_NE(none, 0);
  for (const ObjectNode *n : juggled()) EXPECT_STRNE(n->name, "Changed");
}

}  // namespace
