// Scene geometry: the VRML totals.
#include <gtest/gtest.h>

#include "core/prefs.h"
#include "scene/geometry.h"
#include "scene/pathdisplay.h"
#include "scene/vrml/modeltree.h"

namespace {

TEST(Geometry, VrmlTotalsSkipHiddenNodesAndUseThePickedModel) {
  ObjectNode nodes[3] = {};
  nodes[0].vertexTotal = 10, nodes[0].faceTotal = 5;
  nodes[1].vertexTotal = 100, nodes[1].faceTotal = 50, nodes[1].flags = NODE_HIDDEN;
  nodes[2].vertexTotal = 7, nodes[2].faceTotal = 3, nodes[2].flags = NODE_TAKES_CHOOSER_MODEL;
  nodes[0].next = &nodes[1];
  nodes[1].next = &nodes[2];
  qScene = nodes;
  EXPECT_EQ(vrmlNodeTotals(), nullptr);  // classic mode
  EXPECT_EQ(sceneVertexTotal, 0);
  qPrefs.vrml = 1;
  chosenModel = -1;
  EXPECT_EQ(vrmlNodeTotals(), &nodes[2]);
  EXPECT_EQ(sceneVertexTotal, 17);
  EXPECT_EQ(sceneFaceTotal, 8);
  chosenModel = 4;
  chooserVertexTotal = 1000, chooserFaceTotal = 500;
  vrmlNodeTotals();
  EXPECT_EQ(sceneVertexTotal, 1010);
  EXPECT_EQ(sceneFaceTotal, 505);
  qPrefs.vrml = 0;
  chosenModel = -1;
  qScene = nullptr;
}

}  // namespace
