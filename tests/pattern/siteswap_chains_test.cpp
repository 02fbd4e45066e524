// Siteswaps as kovex converts them: each converted pattern loads, and every chain passes the
// independent checker (closed over the cycle, joined in place, free fall between the hands).
#include <gtest/gtest.h>

#include <string>

#include "chain_checker.h"
#include "pattern/fitting.h"
#include "pattern/store.h"
#include "tests/support/loadpattern.h"

namespace {

struct Siteswap {
  const char *name;
  const char *notation;
  int objects;  // what the notation says: the average throw, summed over hands and jugglers
};

const Siteswap siteswaps[] = {
    {"s3", "3", 3},          {"s441", "441", 3},   {"s51", "51", 3},     {"s423", "423", 3},
    {"s531", "531", 3},      {"s633", "633", 4},   {"s7441", "7441", 4}, {"s552", "552", 4},
    {"sb1", "b1", 6},        {"s42", "42", 3},     {"s315", "315", 3},   {"s5551", "5551", 4},
    {"s71", "71", 4},        {"s9", "9", 9},       {"s6316131", "6316131", 3}, {"s1", "1", 1},
    {"s2", "2", 2},
    {"sync42x", "(4,2x)(2x,4)", 3}, {"sync6x4", "(6x,4)(4,6x)", 5}, {"sync44", "(4,4)", 4},
    {"sync42xMirrored", "(4,2x)*", 3}, {"sync2x2x", "(2x,2x)", 2},
    {"mplex5424", "[54]24", 5}, {"mplex33", "[33]33", 4}, {"mplex4323", "[43]23", 4}, {"mplex22", "[22]", 4},
    {"syncMplex", "([44],[44])", 8},
    {"pass3p3", "<3p|3p><3|3>", 6}, {"pass3p2", "<4p|3><2|3p>", 6}, {"pass3Jugglers", "<3p2|3p3|3p1>", 9},
};

void PrintTo(const Siteswap &s, std::ostream *os) { *os << s.notation; }

class ConvertedSiteswap : public testing::TestWithParam<Siteswap> {};

TEST_P(ConvertedSiteswap, LoadsIntoClosedChains) {
  const Siteswap &s = GetParam();
  std::string why;
  std::string text = convertSiteswap(s.notation, &why);
  ASSERT_NE(text, "") << why;
  ASSERT_EQ(loadText(text), 0) << text;
  EXPECT_EQ(objekte, s.objects) << text;
  std::string faults;
  for (const std::string &f : chaincheck::checkChains()) faults += f + "\n";
  for (const std::string &f : chaincheck::checkBounces(Dotzfaktor)) faults += f + "\n";
  EXPECT_EQ(faults, "") << text << chaincheck::dumpChains();
}

INSTANTIATE_TEST_SUITE_P(Kovex, ConvertedSiteswap, testing::ValuesIn(siteswaps),
                         [](const testing::TestParamInfo<Siteswap> &i) { return std::string(i.param.name); });

}  // namespace
