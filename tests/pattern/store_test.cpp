// The hand table, the n-dimensional arrays, the inline-comment timing and the scene-object list.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/support/loadpattern.h"
#include "pattern/handpaths.h"
#include "pattern/objectpaths.h"
#include "pattern/reader.h"
#include "pattern/store.h"
#include "pattern/testseam.h"

namespace {

const std::string threeJugglers =
    "@M p 0 0 1.5\nj 0  -1 0 0  c c\n  120  1 1 0  c c\n  240  1 -1 0  c c\n*\n"
    "a - b - c -\n- Md - e - f\n";

TEST(HandTable, MacrosFollowTheRealAndVirtualHands) {
  ASSERT_EQ(loadText(threeJugglers), 0);
  EXPECT_EQ(handCount, 6);
  EXPECT_EQ(macroHand(0), 6);
  EXPECT_EQ(Hand(6, 2), HAND_MACRO);
  EXPECT_EQ(Hand(6, 0), 1);
  EXPECT_EQ(Hand(6, 1), 1);
  EXPECT_EQ(Hand(5, 1), 5);
  EXPECT_EQ(Hand(5, 2), HAND_REAL);
  EXPECT_EQ(Hand(7, 0), -1);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 46);
  patternTestSeam.lastPatternMessage = 0;
  EXPECT_EQ(Hand(-1, 0), -1);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 46);
}

TEST(HandTable, OneAmpersandGivesOneVirtualPair) {
  ASSERT_EQ(loadText("j 0  0 0 0  c c\n*\na&b c\n- -\n"), 0);
  EXPECT_EQ(handCount, 4);
  const int column[] = {0, 1, 0, 1}, sub[] = {0, 0, 1, 1}, kind[] = {HAND_REAL, HAND_REAL, HAND_VIRTUAL, HAND_VIRTUAL};
  for (int h = 0; h < 4; h++) {
    EXPECT_EQ(Hand(h, 0), column[h]);
    EXPECT_EQ(Hand(h, 3), sub[h]);
    EXPECT_EQ(Hand(h, 2), kind[h]);
  }
}

// Columns 2j and 2j + 1 are juggler j; a hand macro counts by its column.
TEST(HandTable, SameJugglerByColumns) {
  const int columns[][3] = {{2, 3, 1}, {3, 2, 1}, {3, 4, 0}, {5, 5, 1}, {0, 2, 0}};
  for (const auto &c : columns) EXPECT_EQ(sameJugglerColumns(c[0], c[1]), c[2]) << c[0] << " " << c[1];
  ASSERT_EQ(loadText(threeJugglers), 0);
  const int hands[][3] = {{0, 1, 1}, {1, 2, 0}, {4, 5, 1}, {6, 0, 1}, {6, 2, 0}};
  for (const auto &h : hands) EXPECT_EQ(sameJuggler(h[0], h[1]), h[2]) << h[0] << " " << h[1];
}

TEST(ArrayN, AllocatesZeroFilledRowsAndFreesThemAgain) {
  int ***a = nullptr;
  const int sizes[] = {3, 4, 5};
  EXPECT_EQ(allocArrayN(&a, sizeof(int), 0, sizes), 2);
  ASSERT_EQ(allocArrayN(&a, sizeof(int), 3, sizes), 0);
  int sum = 0;
  for (int i = 0; i < 3; i++)
    for (int j = 0; j < 4; j++)
      for (int k = 0; k < 5; k++) sum += a[i][j][k];
  EXPECT_EQ(sum, 0);
  a[2][3][4] = 7;
  freeArrayN(&a, sizeof(int), 3, sizes);
  EXPECT_EQ(a, nullptr);
  freeArrayN(&a, sizeof(int), 3, sizes);
}

TEST(PatternStore, FreeingTwiceIsSafeAndClearsEveryArray) {
  ASSERT_EQ(loadText("j 0  0 0 0  c c\n*\na -\n- a\n"), 0);
  Musterspeicher_freigeben();
  Musterspeicher_freigeben();
  EXPECT_EQ(fangwurf, nullptr);
  EXPECT_EQ(flugbahn, nullptr);
  EXPECT_EQ(uebergeb, nullptr);
  EXPECT_EQ(qInlineComment, nullptr);
}

TEST(InlineComments, AFlightPastTheCycleEndIsListedTwice) {
  ASSERT_EQ(loadText("j 0  0 0 0  c c\n*\na -\n- b\nc -\n- a  ! a late\nb - ! b early\n- c\n"), 0);
  ASSERT_EQ(qInlineCommentCount, 2);
  int a = Objekt_Nummer('a'), b = Objekt_Nummer('b');
  Flugbahn &fa = flugbahn[a][0];
  fa.taktvon = 3;
  fa.taktbis = 7;
  fa.t_from = 1.0;
  fa.t_to = t_zyklus + 0.3;
  Flugbahn &fb = flugbahn[b][0];
  fb.taktvon = 4;
  fb.taktbis = 6;
  fb.t_from = 1.1;
  fb.t_to = 1.4;
  paraz[a] = paraz[b] = 0;
  EXPECT_EQ(InlineComments_einordnen(), 3);
  EXPECT_EQ(qInlineComment[0].objekt, a);
  EXPECT_EQ(qInlineComment[0].takt, -17);
  EXPECT_NEAR(qInlineComment[0].t_from, 1.0 - t_zyklus, 1e-12);
  EXPECT_EQ(qInlineComment[1].takt, 3);
  EXPECT_EQ(qInlineComment[2].objekt, b);
  EXPECT_NEAR(qInlineComment[2].t_to, 1.4, 1e-12);
}

Placement place(int model) { return Placement{int16_t(model), 0, 0, 0, 0, 0, 0, 0}; }

TEST(SceneObjectList, AppendRemoveShowAndHide) {
  sceneObjectList(nullptr, 1);
  EXPECT_EQ(sceneObjectCount, 1);
  Placement p3 = place(3), p5 = place(5), p9 = place(9);
  EXPECT_EQ(sceneObjectList(&p3, 2), 0);
  EXPECT_EQ(sceneObjectList(&p5, 2), 0);
  EXPECT_EQ(sceneObjectCount, 3);
  EXPECT_EQ(sceneObjectList(nullptr, 2), 4);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 803);
  EXPECT_EQ(sceneObjectList(&p9, 3), 7);
  EXPECT_EQ(patternTestSeam.lastPatternMessage, 805);
  EXPECT_EQ(sceneObjectCount, 3);
  Placement minus = place(-1);
  EXPECT_EQ(sceneObjectList(&minus, 3), 6);
  EXPECT_EQ(sceneObjectList(&p3, 3), 0);
  EXPECT_EQ(sceneObjects[0].model, 5);
  EXPECT_EQ(sceneObjectList(nullptr, 3), 0);
  // The emptied list keeps its end record and takes new entries.
  EXPECT_EQ(sceneObjectCount, 1);
  EXPECT_EQ(sceneObjectDrawList[0].model, PLACEMENT_END_FIXED);
  EXPECT_EQ(sceneObjectList(&p9, 2), 0);
  EXPECT_EQ(sceneObjectDrawList[0].model, 9);
  EXPECT_EQ(sceneObjectList(nullptr, 6), 0);
  EXPECT_EQ(sceneObjectDrawList[0].model, PLACEMENT_END_FIXED);
  EXPECT_EQ(sceneObjectList(nullptr, 5), 0);
  EXPECT_EQ(sceneObjectDrawList[0].model, 9);
  EXPECT_EQ(sceneObjectList(nullptr, 4), 0);
  EXPECT_EQ(sceneObjectCount, 0);
  EXPECT_EQ(sceneObjectDrawList[0].model, PLACEMENT_END_FIXED);
  EXPECT_EQ(sceneObjectList(&p9, 2), 2);
  EXPECT_EQ(sceneObjectList(nullptr, 9), -1);
}

}  // namespace

namespace {

// The store as allocated, before any pipeline step has filled it.
TEST(PatternStore, NewStoreHasClearedSegmentsAndUnusedHandSlots) {
  std::string path = writeTempPattern("new_store", "j 0  0 0 0  c c\n*\na -\n- b\nc -\n- /a\nb -\n- c\n");
  freshPatternState();
  for (int &e : segmentEstimate) e = 0;
  FILE *stream = Muster_oeffnen(path.c_str());
  remove(path.c_str());
  ASSERT_TRUE(stream);
  ASSERT_EQ(Musterspeicher_anlegen(), 0);
  fclose(stream);
  EXPECT_EQ(segmentEstimate[0], 5);  // two sightings of a, one of them with a bounce
  EXPECT_EQ(segmentRowLength, 8);
  for (int s = 0; s <= 5; s++) {
    EXPECT_EQ(flugbahn[0][s].haltehand, SEGMENT_CLEARED);
    EXPECT_EQ(flugbahn[0][s].t_from, CLEARED_DOUBLE);
  }
  for (int h = 0; h < handCount; h++)
    for (int s = 0; s <= takte; s++) EXPECT_EQ(handbahn[h][s].t_from, 1717.1717);
  EXPECT_EQ(qInlineCommentCapacity, 2 * takte + objekte);
  Musterspeicher_freigeben();
}

}  // namespace
