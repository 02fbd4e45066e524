// The aids on object nodes made by hand: hiding by name, the current object's node, and the VRML
// chooser's page of models with its cursor frame and pick.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "core/viewrecords.h"
#include "scene/vrml/modeltree.h"
#include "scene/pathdisplay.h"
#include "scene/vrml/modeltree.h"
#include "scene/vrmlaids.h"

namespace {

// A list of n nodes linked by next; node i has objectIndex 100 + i.
struct NodeList {
  std::vector<ObjectNode> nodes;
  explicit NodeList(int n) : nodes(size_t(n)) {
    for (int i = 0; i < n; i++) {
      nodes[size_t(i)] = ObjectNode{};
      nodes[size_t(i)].objectIndex = 100 + i;
      if (i + 1 < n) nodes[size_t(i)].next = &nodes[size_t(i) + 1];
    }
  }
  ObjectNode &operator[](int i) { return nodes[size_t(i)]; }
};

TEST(VrmlAids, HideByExactNameAndFindTheLetter) {
  NodeList list(4);
  snprintf(list[1].name, sizeof list[1].name, "tmp/x.a");
  snprintf(list[2].name, sizeof list[2].name, "tmp/x.a.hpp");
  snprintf(list[3].name, sizeof list[3].name, "tmp/x.a");
  list[2].letter = 'b';
  list[3].letter = 'b';
  list[2].position[0] = 1.5;
  ObjectNode *saved = qScene;
  qScene = &list[0];
  hideSceneNodes("tmp/x.a");
  double at[3] = {0, 0, 0};
  bool found = sceneObjectPosition('b', at);
  bool none = sceneObjectPosition('q', at);
  list[3].next = &list[0];  // a list that runs in a circle still ends
  hideSceneNodes("nothing");
  qScene = saved;
  EXPECT_EQ(list[0].flags & NODE_HIDDEN, 0u);
  EXPECT_NE(list[1].flags & NODE_HIDDEN, 0u);
  EXPECT_EQ(list[2].flags & NODE_HIDDEN, 0u);
  EXPECT_NE(list[3].flags & NODE_HIDDEN, 0u);
  EXPECT_TRUE(found);
  EXPECT_EQ(at[0], 1.5);  // the first node of the letter
  EXPECT_FALSE(none);
}

TEST(VrmlAids, ChooserPageCursorFrameAndPick) {
  NodeList list(28);  // the root, 25 models, the cursor frame, one model after it
  int savedFrame = chooserCursorModel, savedRow = chooserRow, savedColumn = chooserColumn;
  ObjectNode *saved = qScene_CO;
  qScene_CO = &list[0];
  chooserCursorModel = list[26].objectIndex;
  chooserRow = 2;
  chooserColumn = 3;
  int picked = qBuildVRMLObjectChooser(1, -1, 160);
  int notPicked = qBuildVRMLObjectChooser(1, 0, 160);
  qScene_CO = saved;
  chooserCursorModel = savedFrame, chooserRow = savedRow, chooserColumn = savedColumn;

  // Models are list[1..25] and list[27]; page 1 shows models 4..23, which are list[5..24].
  EXPECT_EQ(picked, list[5 + 7].objectIndex);  // grid row 1, column 3
  EXPECT_EQ(notPicked, 0);
  for (int i = 1; i <= 4; i++) EXPECT_NE(list[i].flags & NODE_HIDDEN, 0u) << i;
  for (int i = 5; i <= 24; i++) EXPECT_EQ(list[i].flags & NODE_HIDDEN, 0u) << i;
  EXPECT_NE(list[25].flags & NODE_HIDDEN, 0u);
  EXPECT_NE(list[27].flags & NODE_HIDDEN, 0u);
  EXPECT_EQ(list[0].flags, 0u);  // the root is left alone
  EXPECT_NEAR(list[5].position[0], -1.05, 1e-9);
  EXPECT_NEAR(list[5].position[2], 1.4, 1e-9);
  EXPECT_NEAR(list[24].position[0], 1.05, 1e-9);
  EXPECT_NEAR(list[24].position[2], -1.4, 1e-9);
  EXPECT_NEAR(list[5].angles[2], 10, 1e-9);  // a sixteenth of the turn
  EXPECT_EQ(list[5].angles[1], 0);           // models that turn about one axis only
  EXPECT_NEAR(list[26].position[0], list[12].position[0], 1e-9);
  EXPECT_NEAR(list[26].position[2], list[12].position[2], 1e-9);
}

}  // namespace
