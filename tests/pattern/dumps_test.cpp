// The store dumps: the grid, the flag letters, and flights told from holds by their kind.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/loadpattern.h"
#include "pattern/dumps.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"

namespace {

TEST(StoreDumps, OneTaktRowHasNoHeader) {
  ASSERT_EQ(loadText("j 0  0 0 0  c c\n*\na -\n- b\nc -\n- a\nb -\n- c\n"), 0);
  EXPECT_EQ(outputMusterText(3, 3), "-  a  \n*\nno wrap\n");
  std::string all = outputMusterText(0, 5);
  EXPECT_EQ(all.rfind("t_zyklus= 1.50 s\n\nTakt  0: a  -  \n", 0), 0u);
  EXPECT_EQ(outputFlugbahnenText(0, -1, -1), "");
  EXPECT_EQ(outputHandbahnenText(2), "");
  EXPECT_NE(outputFangwurfText().find("fangwurf[ 1]: fang= 0.00/-0.40/ 1.20"), std::string::npos);
}

TEST(StoreDumps, FlagLettersHighBitFirst) {
  EXPECT_EQ(flagLetters(0x200 | 0x20), "--F---P-----");
  EXPECT_EQ(flagLetters(0xfff), "oLFdfbPzg2hp");
  EXPECT_EQ(flagLetters(0), "------------");
}

TEST(StoreDumps, HoldsAndFlightsAreToldApartByTheirKind) {
  Flugbahn hold = {};
  hold.haltehand = 1;
  hold.handvon = hold.handbis = 1;
  hold.t_from = 0.5;
  hold.t_to = 1.0;
  hold.B0[0] = 0;  // a hold may start at x = 0
  hold.flag = 0x12;
  Flugbahn flight = hold;
  flight.haltehand = -1;
  flight.handvon = 0;
  flight.B0[0] = 0.3;
  flight.flag = 0x1;
  std::string h = flugbahnLine(hold, 2, 3), f = flugbahnLine(flight, 3, 3);
  EXPECT_EQ(h.rfind("P 2 H  1 ", 0), 0u);
  EXPECT_NE(h.find("B0("), std::string::npos);
  EXPECT_EQ(f.rfind("P 3 H0>1 ", 0), 0u);
  EXPECT_NE(f.find("X0("), std::string::npos);
  EXPECT_NE(f.find(" flag=-----------p\n"), std::string::npos);
  EXPECT_EQ(flugbahnLine(hold, 2, 2).find("B0("), std::string::npos);
}

}  // namespace
