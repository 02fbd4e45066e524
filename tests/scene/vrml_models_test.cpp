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
    // turned by 90 degrees about z and moved to (1, 2): the left shoulder (+y) lies at -x
    EXPECT_NEAR(k.leftShoulder[0], 0.8, 1e-9);
    EXPECT_NEAR(k.leftShoulder[1], 2.0, 1e-9);
    EXPECT_NEAR(k.rightShoulder[0], 1.2, 1e-9);
    EXPECT_NEAR(k.head[2], 1.47, 1e-9);
    EXPECT_EQ(qScene->objectIndex, 4);
    EXPECT_TRUE(qScene->flags & NODE_JUGGLER);
    EXPECT_DOUBLE_EQ(qScene->angles[2], 90.0);
    EXPECT_NEAR(quoitPos[0].reference[1], 2.0 - 0.4, 1e-9);
  }
}

}  // namespace
