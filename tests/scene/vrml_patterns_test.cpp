// The sample patterns load in VRML mode: the floor is node 0, every juggler has a figure with its
// joints, the props stand where the pattern puts them and the juggled objects have their properties.
#include <filesystem>

#include "pattern/reader.h"
#include "pattern/store.h"
#include "pattern/throws.h"
#include "tests/scene/vrml_fixture.h"
#include "tests/support/loadpattern.h"
#include "tests/support/picture_fixture.h"

namespace {

TEST_F(VrmlTest, SamplePatternsLoad) {
  int patterns = 0;
  for (const auto &entry : std::filesystem::directory_iterator(QUOIT_SOURCE_DIR "/data/m")) {
    SCOPED_TRACE(entry.path().string());
    ASSERT_EQ(loadVrmlPattern(entry.path().string()), 0);
    patterns++;
    ASSERT_NE(qScene, nullptr);
    EXPECT_EQ(qScene->number, 0);
    EXPECT_STREQ(qScene->name, "pano/Karoboden.wrl");
    int figures = 0, juggled = 0;
    for (const ObjectNode *n = qScene; n; n = n->next) {
      figures += (n->flags & NODE_JUGGLER) != 0;
      juggled += (n->flags & NODE_TAKES_CHOOSER_MODEL) != 0;
    }
    EXPECT_EQ(figures, jugglers);
    EXPECT_EQ(figuresLoaded, jugglers);
    EXPECT_EQ(juggled, objekte);
    for (int j = 0; j < jugglers; j++) {
      EXPECT_NE(invKinTable[j].joint[3], nullptr);
      EXPECT_NEAR(invKinTable[j].leftShoulder[2], quoitPos[j].position[2] + 1.42, 1e-9);
    }
    for (int o = 0; o < objekte; o++) {
      int type = ObjektEigenschaft(0, o, 5);
      EXPECT_TRUE(type >= 1 && type <= 3) << o;
      if (type == 1) {
        EXPECT_EQ(ObjektEigenschaft(0, o, 3), 4);
      }
    }
  }
  EXPECT_GT(patterns, 5);
  freePatternData();
}

}  // namespace
