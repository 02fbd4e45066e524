// The VRML reader: the tree each node type builds (golden dumps), which texts it accepts and refuses,
// the QUOITDATA options and colour rules, joints, limits, and loads that fail without a trace.
#include <cerrno>
#include <cmath>
#include <string>
#include <vector>

#include "core/userfiles.h"
#include "pattern/throws.h"
#include "scene/textures.h"
#include "tests/scene/vrml_fixture.h"

namespace {

const std::string H = "#VRML V2.0 utf8\n";

// ---- golden tree dumps ---------------------------------------------------------------------------

struct Golden {
  const char *name;
  std::string text;
  const char *dump;
};

const Golden goldens[] = {
    {"sphere at the top level fills the file's first node", H + "Shape { geometry Sphere { radius 0.04 } }\n",
     "object v/snippet.wrl #0 i0 f8 handle=-0.04\n"
     "  poly 1000c010 r=0.04 top=0 h=0\n"},
    {"cone, cylinder and material", H +
         "Shape {\n"
         "  appearance Appearance { material Material { diffuseColor 1 0 0 emissiveColor .1 .2 .3\n"
         "    specularColor 1 1 1 shininess 0.5 transparency 0.25 ambientIntensity 0.2 } }\n"
         "  geometry Cone { height 2 bottomRadius 1 bottom FALSE }\n"
         "}\n"
         "Shape { geometry Cylinder { radius 0.5 height 1 top FALSE side TRUE } }\n",
     "object v/snippet.wrl #0 i0 f0\n"
     "  poly 1000e520 diffuse(1 0 0) r=1 top=0 h=2\n"
     "    poly 1000c420 r=0.5 top=0.5 h=1\n"},
    {"a group's shapes and a nested transform are its children", H +
         "Group { children [\n"
         "  Shape { geometry Sphere { radius 1 } }\n"
         "  Transform { translation 1 2 3 rotation 0 0 1 1.5 scale 2 2 2 children [\n"
         "    Shape { geometry Sphere { radius 2 } }\n"
         "    Shape { geometry Sphere { radius 3 } }\n"
         "  ] }\n"
         "  Shape { geometry Sphere { radius 4 } }\n"
         "] }\n"
         "Shape { geometry Sphere { radius 5 } }\n",
     "object v/snippet.wrl #0 i0 f8 handle=-1\n"
     "  poly 0\n"
     "    poly 1000c010 r=1 top=0 h=0\n"
     "      poly 1000d010 T(1 2 3) R(0 0 1)1.5 r=2 top=0 h=0\n"
     "        poly 1000c010 r=3 top=0 h=0\n"
     "      poly 1000c010 r=4 top=0 h=0\n"
     "    poly 1000c010 r=5 top=0 h=0\n"},
    {"indexed face set with every list", H +
         "Shape { geometry IndexedFaceSet {\n"
         "  coord DEF C Coordinate { point [ 0 0 0, 1 0 0, 1 1 0, 0 1 0 ] }\n"
         "  coordIndex [ 0 1 2 -1 0 2 3 -1 ]\n"
         "  normal Normal { vector [ 0 0 1 ] } normalIndex [ 0 0 0 -1 0 0 0 -1 ] normalPerVertex TRUE\n"
         "  color Color { color [ 1 0 0, 0 1 0 ] } colorPerVertex FALSE\n"
         "  texCoord TextureCoordinate { point [ 0 0 1 0 1 1 0 1 ] } texCoordIndex [ 0 1 2 -1 0 2 3 -1 ]\n"
         "  solid FALSE ccw TRUE convex TRUE creaseAngle 0.5\n"
         "} }\n",
     "object v/snippet.wrl #0 i0 f0\n"
     "  poly 10000040 coords=4 coordIndex=8 normals=1 normalIndex=8 colors=2 texCoords=4 texCoordIndex=8 cpv=2 npv=1 "
     "solid=2\n"},
    {"per-vertex colours and normals without index lists take the coordinate indices", H +
         "Shape { geometry IndexedFaceSet {\n"
         "  coord Coordinate { point [ 0 0 0, 1 0 0, 1 1 0 ] } coordIndex [ 0 1 2 -1 ]\n"
         "  color Color { color [ 1 0 0, 0 1 0, 0 0 1 ] }\n"
         "  normal Normal { vector [ 0 0 1, 0 0 1, 0 0 1 ] }\n"
         "} }\n",
     "object v/snippet.wrl #0 i0 f0\n"
     "  poly 10008040 coords=3 coordIndex=4 normals=3 normalIndex=4 colors=3 colorIndex=4 cpv=1\n"},
    {"appearance names, texture transform and a texture while textures are off", H +
         "Shape {\n"
         "  geometry DEF G Sphere { radius 1 }\n"
         "  appearance DEF A Appearance {\n"
         "    material DEF M Material { diffuseColor 0 0 1 }\n"
         "    texture ImageTexture { url \"file://tex/no_texture.png\" repeatS TRUE repeatT FALSE }\n"
         "    textureTransform TextureTransform { scale 2 0 translation 0.5 0.5 }\n"
         "  }\n"
         "}\n",
     "object v/snippet.wrl #0 i0 f8 handle=-1\n"
     "  poly 1000e010 diffuse(0 0 1) r=1 top=0 h=0\n"},
    {"viewpoint, world info and a named node add no nodes", H +
         "Viewpoint { position 0 0 10 description \"front\" }\n"
         "WorldInfo { title \"t\" info [ \"a\" \"b\" ] }\n"
         "DEF N Group { children [ Shape { geometry Sphere { radius 1 } } ] }\n",
     "object v/snippet.wrl #0 i0 f8 handle=-1\n"
     "  poly 0\n"
     "    poly 1000c010 r=1 top=0 h=0\n"},
    {"an Inline file's nodes go under the Inline's node", H +
         "Transform { translation 1 0 0 children [\n"
         "  Inline { url \"parts/part.wrl\" }\n"
         "  Shape { geometry Sphere { radius 2 } }\n"
         "] }\n",
     "object v/snippet.wrl #0 i0 f8 handle=-2\n"
     "  poly 0\n"
     "    poly 1000 T(1 0 0)\n"
     "      poly 0\n"
     "        poly 1000c010 r=3 top=0 h=0\n"
     "      poly 1000c010 r=2 top=0 h=0\n"},
    {"joints of a PROTO become object nodes, children of the joint they sit in", H +
         "PROTO Figure [\n"
         "  field SFRotation LeftShoulderOut 1 0 0 0\n"
         "  field SFRotation LeftElbow 0 0 1 0.5\n"
         "  field SFVec3f UpperArmLength 0 0 -0.3\n"
         "] {\n"
         "  Group { children [\n"
         "    Transform { translation 0 0.2 1.4 rotation IS LeftShoulderOut children [\n"
         "      Shape { geometry Sphere { radius 1 } }\n"
         "      Transform { translation IS UpperArmLength rotation IS LeftElbow children [\n"
         "        Shape { geometry Sphere { radius 2 } }\n"
         "      ] }\n"
         "    ] }\n"
         "    Transform { rotation IS HeadUp children [ Shape { geometry Sphere { radius 3 } } ] }\n"
         "  ] }\n"
         "}\n",
     "object v/snippet.wrl #0 i0 f0\n"
     "  poly 0\n"
     "    poly 0\n"
     "      poly 0\n"
     "      poly 0\n"
     "  object LeftShoulderOut #1 i-1 f8 handle=-1 @(0 0.2 1.4)\n"
     "    poly 1000c010 r=1 top=0 h=0\n"
     "      poly 0\n"
     "    object UpperArmLength #2 i-1 f8 handle=-2 @(0 0 -0.3) A(0 0 28.6479)\n"
     "      poly 1000c010 r=2 top=0 h=0\n"
     "  object HeadUp #3 i-1 f8 handle=-3\n"
     "    poly 1000c010 r=3 top=0 h=0\n"},
};

class VrmlGolden : public VrmlTest, public ::testing::WithParamInterface<Golden> {};

TEST_P(VrmlGolden, BuildsTheTree) {
  const Golden &g = GetParam();
  writeFile("parts/part.wrl", H + "Shape { geometry Sphere { radius 3 } }\n");
  ASSERT_EQ(loadSnippet(g.text), VRML_LOADED);
  EXPECT_EQ(dumpScene(), g.dump);
}

INSTANTIATE_TEST_SUITE_P(NodeTypes, VrmlGolden, ::testing::ValuesIn(goldens));

// ---- accepted and refused texts ------------------------------------------------------------------

struct Case {
  const char *name;
  std::string text;
  bool accepted;
  int polyNodes;  // polygon nodes of the scene when accepted, -1 not checked
};

const std::string ball = "Shape { geometry Sphere { radius 1 } }\n";

const Case cases[] = {
    {"header after blanks on its line", "   \t#VRML V2.0 utf8\n" + ball, true, 1},
    {"text before the header is skipped", "junk line\nmore # junk\n#VRML V2.0 utf8 more\n" + ball, true, 1},
    {"no header: an empty model", "Shape { geometry Sphere { radius 1 } }\n", true, 1},
    {"empty body", H, true, 1},
    {"header at the end without a line end", "#VRML V2.0 utf8", true, 1},
    {"numbers with signs, points, exponents and commas",
     H + "Transform { translation +3, -.5, 1.5E+3 rotation 1. 0 0 -1.5e-3 children [" + ball + "] }\n", true, 2},
    {"group without children", H + "Group { }\n", false, -1},
    {"transform with an empty children list", H + "Transform { children [ ] }\n", false, -1},
    {"transform fields after children", H + "Transform { children [" + ball + "] translation 0 0 0 }\n", false, -1},
    {"sphere with one radius", H + ball, true, 1},
    {"empty sphere", H + "Shape { geometry Sphere { } }\n", false, -1},
    {"sphere with two radii", H + "Shape { geometry Sphere { radius 1 radius 2 } }\n", false, -1},
    {"USE is not supported", H + "Group { children [ USE thing ] }\n", false, -1},
    {"a keyword of no rule", H + "Shape { exposedField geometry Sphere { radius 1 } }\n", false, -1},
    {"Box is not supported", H + "Shape { geometry Box { size 1 1 1 } }\n", false, -1},
    {"shape without geometry", H + "Shape { }\n", false, -1},
    {"two appearances", H + "Shape { appearance Appearance { } geometry Sphere { radius 1 } }\n", false, -1},
    {"a point list of four numbers",
     H + "Shape { geometry IndexedFaceSet { coord Coordinate { point [ 1 2 3 4 ] } } }\n", false, -1},
    {"a texture point list of three numbers",
     H + "Shape { geometry IndexedFaceSet { texCoord TextureCoordinate { point [ 1 2 3 ] } } }\n", false, -1},
    {"an index past the coordinates",
     H + "Shape { geometry IndexedFaceSet { coord Coordinate { point [ 0 0 0 1 0 0 1 1 0 ] } coordIndex [ 0 1 3 -1 ] } }\n",
     false, -1},
    {"a huge index", H + "Shape { geometry IndexedFaceSet { coordIndex [ 1e300 ] } }\n", false, -1},
    {"an index below -1", H + "Shape { geometry IndexedFaceSet { coordIndex [ -2 ] } }\n", false, -1},
    {"a normal index past the normals",
     H + "Shape { geometry IndexedFaceSet { coord Coordinate { point [ 0 0 0 ] } coordIndex [ 0 -1 ]\n"
         "normal Normal { vector [ 0 0 1 ] } normalIndex [ 1 ] } }\n",
     false, -1},
    {"per-face colours fewer than the faces",
     H + "Shape { geometry IndexedFaceSet { coord Coordinate { point [ 0 0 0 ] } coordIndex [ 0 -1 0 -1 ]\n"
         "color Color { color [ 1 0 0 ] } colorPerVertex FALSE } }\n",
     false, -1},
    {"a string that does not close on its line", H + "Inline { url \"parts/\npart.wrl\" }\n", false, -1},
    {"info strings over a line end", H + "WorldInfo { info [ \"one\ntwo\" ] }\n", true, 1},
    {"an absolute Inline path", H + "Inline { url \"/etc/passwd\" }\n", false, -1},
    {"an Inline path above the home", H + "Inline { url \"v/../../x.wrl\" }\n", false, -1},
    {"a missing Inline file", H + "Inline { url \"parts/none.wrl\" }\n", false, -1},
    {"an Inline file with a syntax error", H + "Inline { url \"parts/broken.wrl\" }\n", false, -1},
    {"an Inline file that includes itself", H + "Inline { url \"parts/self.wrl\" }\n", false, -1},
    {"a PROTO name of 200 characters", H + "PROTO " + std::string(200, 'P') + " [ ] { " + ball + " }\n", false, -1},
    {"a PROTO field name of 199 characters",
     H + "PROTO P [ field SFVec3f " + std::string(199, 'f') + " 0 0 0 ] { " + ball + " }\n", true, 1},
    {"an ID of 100000 characters", H + "PROTO " + std::string(100000, 'P') + " [ ] { " + ball + " }\n", false, -1},
};

class VrmlCases : public VrmlTest, public ::testing::WithParamInterface<Case> {};

int polyNodeCount() {
  int n = 0;
  for (const ObjectNode *o = qScene; o; o = o->next)
    for (const PolyNode *p = o->ownedPolys; p; p = p->next) n++;
  return n;
}

TEST_P(VrmlCases, AcceptsOrRefuses) {
  const Case &c = GetParam();
  writeFile("parts/part.wrl", H + ball);
  writeFile("parts/broken.wrl", H + "Shape {\n");
  writeFile("parts/self.wrl", H + "Inline { url \"parts/self.wrl\" }\n");
  int result = loadSnippet(c.text);
  EXPECT_EQ(result, c.accepted ? VRML_LOADED : VRML_FAILED);
  if (!c.accepted) {
    EXPECT_EQ(qScene, nullptr);
    EXPECT_EQ(loadedObjectCount, 0);
    EXPECT_EQ(inlineCount, 0);
  } else if (c.polyNodes >= 0) {
    EXPECT_EQ(polyNodeCount(), c.polyNodes);
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, VrmlCases, ::testing::ValuesIn(cases));

TEST_F(VrmlTest, LineNumbersOfErrorsCountEveryLine) {
  testing::internal::CaptureStdout();
  loadSnippet("\n" + H + "Group {\n children [\n Shape { }\n ] }\n");
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Error in 'v/snippet.wrl' line 5: parse error"), std::string::npos) << out;
}

// ---- QUOITDATA options ---------------------------------------------------------------------------

struct OptionCase {
  const char *comment;
  uint32_t flags;
  int type;
  double handle;
};

TEST_F(VrmlTest, OptionsSetTheObjectNode) {
  const OptionCase options[] = {
      {"\n# QUOITDATA r=1 t=R\n", NODE_TURN_ALL, OBJECT_TYPE_RING, 0},
      {"# QUOITDATA r=1 t=R\n", 0, 0, 0},  // on the header's next line: part of the header
      {"\n# quoitdata r=1 t=R\n", 0, 0, 0},
      {"\n# QUOITDATA t=Ball\n", NODE_SPHERICAL, OBJECT_TYPE_BALL, 0},
      {"\n# QUOITDATA t=X r=0x10\n", 0, 0, 0},
      {"\n# QUOITDATA r=-3 t=c g=-0.1\n", NODE_TURN_ALL, OBJECT_TYPE_CLUB, -0.1},
      {"\n# some words QUOITDATA b=juggler background\n", NODE_JUGGLER | NODE_BACKGROUND, 0, 0},
      {"\r\n# QUOITDATA r=1 t=r\r\n", NODE_TURN_ALL, OBJECT_TYPE_RING, 0},
  };
  for (const OptionCase &o : options) {
    SCOPED_TRACE(o.comment);
    resetVRMLScene();
    resetObjectTable();
    ASSERT_EQ(loadSnippet(H + o.comment + "Shape { geometry Cone { height 1 } }\n"), VRML_LOADED);
    EXPECT_EQ(qScene->flags, o.flags);
    EXPECT_EQ(qScene->type, o.type);
    EXPECT_DOUBLE_EQ(qScene->handle, o.handle);
  }
}

TEST_F(VrmlTest, AHeaderWithoutACurrentNodeStartsAList) {
  currentObjectNode = nullptr;
  ObjectNode *list = nullptr;
  ASSERT_EQ(beginVRMLObject(&list), 0);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(currentObjectNode, list);
  EXPECT_EQ(currentPolyNode, list->poly);
  EXPECT_EQ(qScene, nullptr);
  freeObjectList(&list);
  EXPECT_EQ(list, nullptr);
}

TEST_F(VrmlTest, BackgroundSphereIsMarked) {
  ASSERT_EQ(loadSnippet(H + "\n# QUOITDATA background\n" + ball), VRML_LOADED);
  EXPECT_TRUE(qScene->poly->flags & POLY_BACKGROUND_SPHERE);
}

// ---- colour rules --------------------------------------------------------------------------------

std::string colouredShape(const char *options) {
  return std::string("# QUOITDATA ") + options +
         "\nShape { appearance Appearance { material Material { diffuseColor 0.5 0.5 0.5 } } geometry Sphere { radius 1 } }\n";
}

std::vector<std::vector<double>> diffuseColours() {
  std::vector<std::vector<double>> colours;
  for (const PolyNode *p = qScene->ownedPolys; p; p = p->next)
    if (p->flags & POLY_DIFFUSE) colours.push_back({p->diffuseColor[0], p->diffuseColor[1], p->diffuseColor[2]});
  return colours;
}

TEST_F(VrmlTest, ShirtSkinAndHairColours) {
  currentShirt = 3;
  qTShirt[3].red = 255;
  qTShirt[3].green = 51;
  qTShirt[3].blue = 0;
  ASSERT_EQ(loadSnippet(H + "\n" + colouredShape("tex=color") + colouredShape("skin") + colouredShape("skin") +
                        colouredShape("skin hair") + colouredShape("hair")),
            VRML_LOADED);
  auto c = diffuseColours();
  ASSERT_EQ(c.size(), 5u);
  EXPECT_EQ(c[0], (std::vector<double>{1.0, 0.2, 0.0}));
  EXPECT_EQ(c[1], c[2]);  // one skin per model file
  EXPECT_EQ(c[3], c[4]);  // hair wins over skin
  EXPECT_NE(c[1], c[3]);
  for (const auto &colour : c)
    for (double v : colour) EXPECT_TRUE(v >= 0 && v <= 1);
  qTShirt[3] = TShirt{};
  currentShirt = 0;
}

TEST_F(VrmlTest, RandomColoursFollowThePreference) {
  std::string text = H + "\n" + colouredShape("randomcolor=1") + colouredShape("randomcolor=1") +
                     colouredShape("randomcolor") + colouredShape("randomcolor") + colouredShape("randomcolor=2");
  ASSERT_EQ(loadSnippet(text), VRML_LOADED);
  for (const auto &colour : diffuseColours()) EXPECT_EQ(colour, (std::vector<double>{0.5, 0.5, 0.5}));
  resetVRMLScene();
  resetObjectTable();
  qPrefs.randomcolor = 1;
  ASSERT_EQ(loadSnippet(text), VRML_LOADED);
  auto c = diffuseColours();
  ASSERT_EQ(c.size(), 5u);
  EXPECT_EQ(c[0], c[1]);  // slot 1 is drawn once
  EXPECT_NE(c[2], c[3]);  // plain randomcolor draws every time
  EXPECT_NE(c[4], c[0]);
  testing::internal::CaptureStderr();
  resetVRMLScene();
  resetObjectTable();
  ASSERT_EQ(loadSnippet(H + "\n" + colouredShape("randomcolor=7")), VRML_LOADED);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Illegal option with randomcolor!\n"), std::string::npos);
  EXPECT_EQ(diffuseColours()[0], (std::vector<double>{0.5, 0.5, 0.5}));
}

TEST_F(VrmlTest, RandomColourSlotAppliesToAColourList) {
  qPrefs.randomcolor = 1;
  ASSERT_EQ(loadSnippet(H + "\n# QUOITDATA randomcolor=3\n"
                            "Shape { geometry IndexedFaceSet { coord Coordinate { point [ 0 0 0 ] } coordIndex [ 0 0 0 -1 ]\n"
                            "color Color { color [ 0.5, 0.5, 0.5, 0.5 0.5 0.5 ] } } }\n"),
            VRML_LOADED);
  const PolyNode *p = qScene->poly;
  ASSERT_EQ(p->colorCount, 2);
  for (int i = 0; i < 3; i++) EXPECT_EQ(p->colors[0][i], p->colors[1][i]);
  EXPECT_NE(p->colors[0][0], 0.5);
}

// ---- joints and the kinematics table -------------------------------------------------------------

const std::string elbowFigure = H + "PROTO F [ field SFRotation LeftElbow 0 0 1 0.5 field SFRotation RightElbow -1 0 0 0.25 ] {\n"
                                    "  Group { children [\n"
                                    "    Transform { rotation IS LeftElbow children [" + ball + "] }\n"
                                    "    Transform { rotation IS RightElbow children [" + ball + "] }\n"
                                    "    Transform { rotation IS NoJoint translation 1 0 0 children [" + ball + "] }\n"
                                    "  ] }\n"
                                    "}\n";

TEST_F(VrmlTest, JointPointersOfAFigure) {
  ASSERT_EQ(loadSnippet(elbowFigure, VRML_FIGURE), VRML_LOADED);
  const ObjectNode *left = findSceneNode(-1, 1), *right = findSceneNode(-1, 2);
  ASSERT_NE(left, nullptr);
  ASSERT_NE(right, nullptr);
  EXPECT_STREQ(left->name, "LeftElbow");
  EXPECT_EQ(invKinTable[0].joint[3], &left->angles[2]);
  EXPECT_DOUBLE_EQ(left->angles[2], 0.5 * 57.29577951);
  EXPECT_EQ(invKinTable[0].joint[9], &right->angles[0]);
  EXPECT_TRUE(right->flags & NODE_NEGATIVE_AXIS);
  EXPECT_EQ(findSceneNode(-1, 3), nullptr);  // an IS that names no joint makes no joint node
  resetVRMLScene();
  for (double *joint : invKinTable[0].joint) EXPECT_EQ(joint, nullptr);
}

TEST_F(VrmlTest, OnlyFiguresWriteTheKinematicsTable) {
  invKinTable[0] = InvKinRecord{};
  figuresLoaded = 1;  // a figure stands already
  ASSERT_EQ(loadSnippet(elbowFigure, VRML_SCENE_OBJECT), VRML_LOADED);
  for (double *joint : invKinTable[0].joint) EXPECT_EQ(joint, nullptr);
  EXPECT_NE(findSceneNode(-1, 1), nullptr);
}

// ---- limits --------------------------------------------------------------------------------------

std::string pointList(int n) {
  std::string s = H + "Shape { geometry IndexedFaceSet { coord Coordinate { point [";
  for (int i = 0; i < n; i++) s += " 0 0 0";
  return s + " ] } } }\n";
}

TEST_F(VrmlTest, TheCoordinateBufferHolds4999) {
  ASSERT_EQ(loadSnippet(pointList(4999)), VRML_LOADED);
  EXPECT_EQ(qScene->poly->coordCount, 4999);
  resetVRMLScene();
  resetObjectTable();
  testing::internal::CaptureStdout();
  EXPECT_EQ(loadSnippet(pointList(5000)), VRML_FAILED);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("VRML_MAX_COORDS exceeded! Too many coords."), std::string::npos);
  EXPECT_EQ(qScene, nullptr);
  // the next model loads as if nothing had happened
  EXPECT_EQ(loadSnippet(H + ball), VRML_LOADED);
}

TEST_F(VrmlTest, ListLimits) {
  std::string fields = H + "PROTO P [";
  for (int i = 0; i < 101; i++) fields += " field SFVec3f f" + std::to_string(i) + " 0 0 0";
  EXPECT_EQ(loadSnippet(fields + " ] { " + ball + " }\n"), VRML_FAILED);

  std::string inlines = H + "Group { children [";
  for (int i = 0; i < 31; i++) inlines += " Inline { url \"parts/part.wrl\" }";
  writeFile("parts/part.wrl", H + ball);
  EXPECT_EQ(loadSnippet(inlines + " ] }\n"), VRML_FAILED);
  EXPECT_EQ(inlineCount, 0);
  EXPECT_EQ(loadSnippet(inlines.substr(0, inlines.rfind(" Inline")) + " ] }\n"), VRML_LOADED);

  auto nested = [](int depth) {
    std::string s = H;
    for (int i = 0; i < depth; i++) s += "Group { children [ ";
    s += ball;
    for (int i = 0; i < depth; i++) s += "] } ";
    return s;
  };
  resetVRMLScene();
  EXPECT_EQ(loadSnippet(nested(99)), VRML_LOADED);
  EXPECT_EQ(loadSnippet(nested(100)), VRML_FAILED);

  std::string keywords = H + "PROTO P [ ] { Transform {";
  for (int i = 0; i < 101; i++) keywords += " rotation IS HeadUp";
  EXPECT_EQ(loadSnippet(keywords + " children [" + ball + "] } }\n"), VRML_LOADED);
}

// ---- loading, undo, lookups ----------------------------------------------------------------------

TEST_F(VrmlTest, AFailedLoadLeavesTheSceneAsItWas) {
  ASSERT_EQ(loadSnippet(H + ball), VRML_LOADED);
  ASSERT_EQ(loadSnippet(elbowFigure, VRML_FIGURE), VRML_LOADED);
  std::string before = dumpScene();
  int figures = figuresLoaded, loaded = loadedObjectCount;
  const std::string broken = elbowFigure.substr(0, elbowFigure.size() - 3) + "\n";
  EXPECT_EQ(loadSnippet(broken, VRML_FIGURE, "v/broken.wrl"), VRML_FAILED);
  EXPECT_EQ(dumpScene(), before);
  EXPECT_EQ(figuresLoaded, figures);
  EXPECT_EQ(loadedObjectCount, loaded);
  EXPECT_EQ(invKinTable[figures].joint[3], nullptr);
  EXPECT_EQ(loadSnippet(H + ball), VRML_LOADED);
  EXPECT_EQ(qScene->next->next->next->next->number, 4);
}

TEST_F(VrmlTest, MissingModelsFallBackOnlyForProps) {
  writeFile("v/dunno.wrl", H + ball);
  std::filesystem::current_path(scratch);
  EXPECT_EQ(loadVRMLFile("v/none.wrl", 0, 0, 0, 0, 0, VRML_JUGGLED), VRML_LOADED);
  EXPECT_STREQ(qScene->name, "v/dunno.wrl");
  EXPECT_TRUE(qScene->flags & NODE_TAKES_CHOOSER_MODEL);
  EXPECT_EQ(loadVRMLFile("v/none.wrl", 0, 0, 0, 0, 0, VRML_FIGURE), VRML_FAILED);
  std::filesystem::remove(scratch / "v/dunno.wrl");
  EXPECT_EQ(loadVRMLFile("v/none.wrl", 0, 0, 0, 0, 0, VRML_JUGGLED), VRML_FAILED);
  std::filesystem::create_directory(scratch / "v/dir.wrl");
  EXPECT_EQ(loadVRMLFile("v/dir.wrl", 0, 0, 0, 0, 0, VRML_FIGURE), VRML_FAILED);
}

// A model is read up to its size bound; a larger one is said and the unknown model stands in.
TEST_F(VrmlTest, AModelAboveItsSizeBoundIsRefused) {
  writeFile("v/dunno.wrl", H + ball);
  std::filesystem::current_path(scratch);
  const struct {
    const char *name;
    size_t size;
    const char *shown;
  } cases[] = {{"v/full.wrl", MAX_MODEL_FILE_SIZE, "v/full.wrl"}, {"v/over.wrl", MAX_MODEL_FILE_SIZE + 1, "v/dunno.wrl"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    std::string model = H + ball;
    writeFile(c.name, model + std::string(c.size - model.size(), ' '));
    testing::internal::CaptureStderr();
    int loaded = loadVRMLFile(c.name, loadedObjectCount, 0, 0, 0, 0, VRML_JUGGLED);
    std::string said = testing::internal::GetCapturedStderr();
    ASSERT_EQ(loaded, VRML_LOADED);
    EXPECT_STREQ(currentObjectNode->name, c.shown);
    bool refused = std::string(c.shown) == "v/dunno.wrl";
    EXPECT_EQ(said.find(localMessage(33, c.name, fileErrorReason(EFBIG))) != std::string::npos, refused) << said;
  }
}

TEST_F(VrmlTest, InlineNamesWithoutADirectoryAreInV) {
  writeFile("v/bare.wrl", H + ball);
  writeFile("v/models/parts/near.wrl", H + ball);
  ASSERT_EQ(loadSnippet(H + "Group { children [ Inline { url \"bare.wrl\" } Inline { url \"parts\\\\near.wrl\" } ] }\n",
                        VRML_SCENE_OBJECT, "v/models/m.wrl"),
            VRML_LOADED);
  EXPECT_EQ(polyNodeCount(), 6);
}

TEST_F(VrmlTest, FindHideAndLoadByName) {
  writeFile("v/prop.wrl", H + ball);
  std::filesystem::current_path(scratch);
  const double at[3] = {1, 2, 3};
  ASSERT_EQ(loadObjectByName("v/prop.wrl", at, 0, 0, M_PI, 0x200), 0);
  ObjectNode *first = qScene;
  EXPECT_EQ(first->flags & 0x200, 0x200u);
  EXPECT_NEAR(first->angles[2], 180.0, 1e-6);
  EXPECT_EQ(findSceneNode(0, -17), first);
  EXPECT_EQ(findSceneNode(7, 0), first);
  ASSERT_EQ(loadObjectByName("v/prop.wrl", at, 0, 0, 0, 0), 0);  // a second instance
  ASSERT_NE(first->next, nullptr);
  EXPECT_EQ(first->next->objectIndex, 0);
  EXPECT_EQ(findSceneNode(9, 1), first->next);
  EXPECT_EQ(loadedObjectCount, 1);
  hideSceneNodes("v/prop.wrl");
  EXPECT_TRUE(first->flags & NODE_HIDDEN);
  EXPECT_TRUE(first->next->flags & NODE_HIDDEN);
  ASSERT_EQ(loadObjectByName("v/prop.wrl", at, 0, 0, 0, 0), 0);  // the hidden one comes back
  EXPECT_FALSE(first->flags & NODE_HIDDEN);
  EXPECT_EQ(first->next->next, nullptr);
  resetVRMLScene();  // the table still names the model, the scene has no node of it: load anew
  ASSERT_EQ(loadObjectByName("v/prop.wrl", at, 0, 0, 0, 0), 0);
  ASSERT_NE(qScene, nullptr);
  EXPECT_EQ(qScene->number, 0);
  EXPECT_EQ(loadObjectByName("v/missing.wrl", at, 0, 0, 0, 0), 260);
}

TEST_F(VrmlTest, ObjectPropertiesComeFromTheModelsNode) {
  writeFile("v/ball.wrl", H + "\n# QUOITDATA r=1 t=B\nShape { geometry Sphere { radius 0.035 } }\n");
  writeFile("v/club.wrl", H + "\n# QUOITDATA g=-0.1 t=C\nShape { geometry Cylinder { radius 0.02 height 0.5 } }\n");
  std::filesystem::current_path(scratch);
  ASSERT_EQ(loadVRMLFile("v/ball.wrl", 0, 0, 0, 0, 0, VRML_JUGGLED), VRML_LOADED);
  ASSERT_EQ(loadVRMLFile("v/club.wrl", 1, 0, 0, 0, 0, VRML_JUGGLED), VRML_LOADED);
  const int ballProperties[] = {1, 1, 4, -35, 1}, clubProperties[] = {1, 0, 0, -100, 2};
  for (int p = 1; p <= 5; p++) {
    EXPECT_EQ(ObjektEigenschaft(0, -17, p), ballProperties[p - 1]) << p;
    EXPECT_EQ(ObjektEigenschaft(1, -17, p), clubProperties[p - 1]) << p;
    EXPECT_EQ(ObjektEigenschaft(2, -17, p), 0) << p;
  }
}

TEST_F(VrmlTest, PropsTakeTheirPlaceAndTheFloorIsNodeZero) {
  ASSERT_EQ(loadSnippet(H + ball), VRML_LOADED);
  ASSERT_EQ(loadSnippet(H + ball), VRML_LOADED);
  const double position[3] = {1, 2, 0}, angles[3] = {0, 0, 90};
  placeLastObjectNode(5, position, angles);
  EXPECT_EQ(qScene->next->objectIndex, 5);
  EXPECT_DOUBLE_EQ(qScene->next->position[1], 2);
  EXPECT_DOUBLE_EQ(qScene->next->angles[2], 90);
  EXPECT_EQ(qScene->number, 0);
  EXPECT_EQ(qScene->next->number, 1);
}

}  // namespace
