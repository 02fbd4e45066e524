// Every model in the data directory loads in VRML mode; the figures of the juggler lists have the
// joints and arm lengths the arm solver needs, placed where the figure stands.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <vector>

#include "tests/scene/vrml_fixture.h"

namespace {

std::vector<std::string> modelFiles() {
  std::vector<std::string> files;
  for (const char *top : {"v", "pano"})
    for (const auto &entry : std::filesystem::recursive_directory_iterator(std::string(QUOIT_SOURCE_DIR "/data/") + top))
      if (entry.path().extension() == ".wrl")
        files.push_back(std::filesystem::relative(entry.path(), QUOIT_SOURCE_DIR "/data").string());
  return files;
}

int faceCount(const ObjectNode *node) {
  int faces = 0;
  for (; node; node = node->next)
    for (const PolyNode *p = node->ownedPolys; p; p = p->next) {
      for (int i = 0; i < p->coordIndexCount; i++) faces += p->coordIndex[i] == -1;
      if (p->flags & (POLY_SPHERE | POLY_QUADRIC)) faces += 24;
    }
  return faces;
}

TEST_F(VrmlTest, EveryAuthoredModelLoadsAndStaysSmall) {
  std::vector<std::string> files = modelFiles();
  ASSERT_GT(files.size(), 30u);
  for (const std::string &file : files) {
    SCOPED_TRACE(file);
    resetVRMLScene();
    resetObjectTable();
    ASSERT_EQ(loadVRMLFile(file.c_str(), 0, 0, 0, 0, 0, VRML_SCENE_OBJECT), VRML_LOADED);
    ASSERT_NE(qScene, nullptr);
    EXPECT_STREQ(qScene->name, file.c_str());
    EXPECT_LT(faceCount(qScene), 800);
  }
}

// A face set without normals is lit by whatever normal was drawn before it: every face set of the
// authored models gives a normal per vertex, for every vertex, on the side its face is wound towards.
TEST_F(VrmlTest, EveryAuthoredFaceSetHasItsNormals) {
  for (const std::string &file : modelFiles()) {
    SCOPED_TRACE(file);
    resetVRMLScene();
    resetObjectTable();
    ASSERT_EQ(loadVRMLFile(file.c_str(), 0, 0, 0, 0, 0, VRML_SCENE_OBJECT), VRML_LOADED);
    for (const ObjectNode *node = qScene; node; node = node->next)
      for (const PolyNode *p = node->ownedPolys; p; p = p->next) {
        if (!(p->flags & POLY_FACE_SET)) continue;
        ASSERT_EQ(p->normalPerVertex, 1);
        ASSERT_EQ(p->normalIndexCount, p->coordIndexCount);
        double newell[3] = {0, 0, 0}, normal[3] = {0, 0, 0};
        for (int k = 0, first = 0; k < p->coordIndexCount; k++) {
          int c = p->coordIndex[k], n = p->normalIndex[k];
          ASSERT_EQ(c == -1, n == -1) << k;
          if (c != -1) {
            ASSERT_TRUE(c >= 0 && c < p->coordCount && n >= 0 && n < p->normalCount) << k;
            int next = k + 1 < p->coordIndexCount && p->coordIndex[k + 1] != -1 ? p->coordIndex[k + 1] : p->coordIndex[first];
            const double *a = p->coords[c], *b = p->coords[next];
            newell[0] += (a[1] - b[1]) * (a[2] + b[2]);
            newell[1] += (a[2] - b[2]) * (a[0] + b[0]);
            newell[2] += (a[0] - b[0]) * (a[1] + b[1]);
            for (int i = 0; i < 3; i++) normal[i] += p->normals[n][i];
            continue;
          }
          EXPECT_GT(newell[0] * normal[0] + newell[1] * normal[1] + newell[2] * normal[2], 0) << "the face ending at " << k;
          newell[0] = newell[1] = newell[2] = normal[0] = normal[1] = normal[2] = 0;
          first = k + 1;
        }
      }
  }
}

TEST_F(VrmlTest, ListedFiguresHaveTheArmJointsWhereTheyStand) {
  std::set<std::string> figures = listedFigures();
  figures.insert("v/basic/invisibleJuggler.wrl");
  ASSERT_GE(figures.size(), 5u);
  const int arm[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  for (const std::string &file : figures) {
    SCOPED_TRACE(file);
    resetVRMLScene();
    resetObjectTable();
    resetFigureState();
    firstObjectInstance = 4;
    ASSERT_EQ(loadVRMLFile(file.c_str(), 4, 1.0, 2.0, 0.0, 90.0, VRML_FIGURE), VRML_LOADED);
    ASSERT_EQ(figuresLoaded, 1);
    const InvKinRecord &k = invKinTable[0];
    EXPECT_NE(k.joint[INVKIN_HEAD_UP], nullptr);
    for (int j : arm) EXPECT_NE(k.joint[j], nullptr) << invKinJointNames[j];
    EXPECT_NEAR(k.upperArm, 0.29, 1e-9);
    EXPECT_NEAR(k.lowerArm, 0.26, 1e-9);
    // turned by 90 degrees about z and moved to (1, 2): the left shoulder (+y) lies at -x, and the
    // shoulders, 0.25 m behind the plane the hands juggle in, at -y
    EXPECT_NEAR(k.leftShoulder[0], 0.8, 1e-9);
    EXPECT_NEAR(k.leftShoulder[1], 1.75, 1e-9);
    EXPECT_NEAR(k.rightShoulder[0], 1.2, 1e-9);
    EXPECT_NEAR(k.rightShoulder[1], 1.75, 1e-9);
    EXPECT_NEAR(k.head[2], 1.47, 1e-9);
    EXPECT_EQ(qScene->objectIndex, 4);
    EXPECT_TRUE(qScene->flags & NODE_JUGGLER);
    EXPECT_DOUBLE_EQ(qScene->angles[2], 90.0);
    EXPECT_NEAR(quoitPos[0].reference[1], 2.0 - 0.4, 1e-9);
  }
}

}  // namespace
