// The real quoit with a siteswap on its command line, under Xvfb: kovex converts it, the pattern
// reader loads the converted file (the trace's dumps of the loaded store give its objects and
// jugglers), the window shows it and 'h' saves a window image. A siteswap that cannot be juggled
// ends the program with the failed-load code after the converter's message; in Boston-Mess mode
// the program loads patconv's form, in which every object keeps a lateral column of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/quoit_test_support.h"

namespace {

const int WIDTH = 320, HEIGHT = 240;  // the window size the runs ask for

std::string xdotool(const std::string &display, const std::string &arguments) {
  std::string out;
  FILE *p = popen(("DISPLAY=" + display + " xdotool " + arguments + " 2>/dev/null").c_str(), "r");
  if (!p) return out;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, p)) out += buffer;
  pclose(p);
  return out;
}

// Width and height of a complete PNG file (signature, IHDR first, IEND last); false otherwise.
bool pngSize(const std::string &data, int *width, int *height) {
  static const std::string signature = "\x89PNG\r\n\x1a\n";
  if (data.size() < 45 || data.compare(0, 8, signature) != 0 || data.compare(12, 4, "IHDR") != 0) return false;
  if (data.compare(data.size() - 8, 4, "IEND") != 0) return false;
  auto be32 = [&](size_t at) {
    return int((unsigned char)data[at] << 24 | (unsigned char)data[at + 1] << 16 | (unsigned char)data[at + 2] << 8 |
               (unsigned char)data[at + 3]);
  };
  *width = be32(16);
  *height = be32(20);
  return true;
}

struct Shown {
  RunResult run;
  std::string title;  // of the 3D window
  int imageWidth = 0, imageHeight = 0;
  bool imageSaved = false;
};

// Runs quoit with the words (the window size and the store dumps added) until its 3D window is
// up, saves a window image with 'h' and ends the program with Esc.
Shown showAndSaveImage(const std::vector<std::string> &words, const std::string &home, const std::string &image) {
  Shown shown;
  RunOptions options;
  options.display = sharedDisplay();
  options.timeLimitSeconds = 60;  // a loaded machine draws slowly in software
  std::vector<std::string> arguments = {"debug", "+width=" + std::to_string(WIDTH),
                                        "+height=" + std::to_string(HEIGHT)};
  arguments.insert(arguments.end(), words.begin(), words.end());
  std::thread keys([&] {
    std::string id;
    for (int i = 0; i < 450 && id.empty(); i++) {
      id = xdotool(options.display, "search --name '^Quoit: '");
      id = id.substr(0, id.find('\n'));
      if (id.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (id.empty()) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    shown.title = xdotool(options.display, "getwindowname " + id);
    xdotool(options.display, "key --window " + id + " h");
    for (int i = 0; i < 200 && !shown.imageSaved; i++) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      shown.imageSaved = pngSize(readWholeFile(home + "/hardcopy/" + image), &shown.imageWidth, &shown.imageHeight);
    }
    xdotool(options.display, "key --window " + id + " Escape");
  });
  shown.run = runProgram(programPath("quoit"), arguments, home, options);
  keys.join();
  return shown;
}

// What the trace says of the loaded pattern: the file the reader opened, the cells of the grid
// dump and, per object of the flight dump, the lateral coordinate of the start of each flight.
struct Loaded {
  std::string file;
  std::vector<std::vector<std::string>> grid;
  std::vector<std::vector<double>> flightStarts;
};

Loaded loadedFromTrace(const std::string &trace) {
  Loaded loaded;
  std::istringstream lines(trace);
  std::string line;
  bool inGrid = false;
  while (std::getline(lines, line)) {
    if (line.size() > 3 && line[0] == ' ' && line[1] == '\'' && line.find("' ") != std::string::npos)
      loaded.file = line.substr(2, line.find("' ") - 2);
    if (line.rfind("t_zyklus=", 0) == 0) {
      inGrid = true;
      loaded.grid.clear();
      loaded.flightStarts.clear();
    } else if (inGrid && line.rfind("Takt", 0) == 0 && line.find(':') != std::string::npos) {
      std::istringstream cells(line.substr(line.find(':') + 1));
      loaded.grid.emplace_back();
      for (std::string cell; cells >> cell;) loaded.grid.back().push_back(cell);
    } else if (inGrid && line == "*") {
      inGrid = false;
    } else if (line.rfind("Objekt ", 0) == 0) {
      loaded.flightStarts.emplace_back();
    } else if (!loaded.flightStarts.empty() && line.rfind("P", 0) == 0 && line.find('>') != std::string::npos) {
      // "P 0 H1>0 t ... X0(  x  y  z)": a flight; a cleared segment starts at -77.77
      double x = 0, y = 0;
      size_t at = line.find("X0(");
      if (at != std::string::npos && sscanf(line.c_str() + at, "X0(%lf %lf", &x, &y) == 2 && x > -77)
        loaded.flightStarts.back().push_back(y);
    }
  }
  return loaded;
}

int jugglersOf(const Loaded &loaded) { return loaded.grid.empty() ? 0 : int(loaded.grid[0].size() / 2); }

// The current test's name as one directory name.
std::string homeName() {
  std::string name = currentTestName();
  std::replace(name.begin(), name.end(), '/', '_');
  return name;
}

// A local text of the home's English texts, filled with one text.
std::string localTextWith(const std::string &home, int number, const std::string &argument) {
  std::istringstream lines(readWholeFile(home + "/l/english"));
  std::string prefix = std::to_string(number) + " ";
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(prefix, 0) != 0) continue;
    std::string format = line.substr(prefix.size());
    size_t at = format.find("%s");
    return at == std::string::npos ? format : format.replace(at, 2, argument);
  }
  return "(local text " + std::to_string(number) + " missing)";
}

struct Juggled {
  const char *siteswap;
  int objects, jugglers;
};

void PrintTo(const Juggled &j, std::ostream *os) { *os << j.siteswap; }

class SiteswapProgramGui : public testing::TestWithParam<Juggled> {};

TEST_P(SiteswapProgramGui, PatternIsLoadedAndShown) {
  const Juggled &j = GetParam();
  std::string home = makeScratchHome(homeName());
  Shown shown = showAndSaveImage({j.siteswap}, home, "QuoitSiteSwap-0.png");
  EXPECT_EQ(shown.run.exitCode, 0) << shown.run.standardError << shown.run.trace;
  EXPECT_NE(shown.title.find(j.siteswap), std::string::npos) << shown.title;
  EXPECT_TRUE(shown.imageSaved);
  EXPECT_EQ(shown.imageWidth, WIDTH);
  EXPECT_EQ(shown.imageHeight, HEIGHT);

  Loaded loaded = loadedFromTrace(shown.run.trace);
  EXPECT_EQ(loaded.file, "QuoitSiteSwap") << shown.run.trace;
  EXPECT_EQ(int(loaded.flightStarts.size()), j.objects) << shown.run.trace;
  EXPECT_EQ(jugglersOf(loaded), j.jugglers) << shown.run.trace;
  EXPECT_EQ(shown.run.trace.find("failed with code"), std::string::npos) << shown.run.trace;
}

// Multiplex siteswaps are shown when they can be juggled: "[33]33" and "[54]24" are; "[33]3",
// whose average 9/2 is no whole number of objects, is refused (the failure test below).
INSTANTIATE_TEST_SUITE_P(Siteswaps, SiteswapProgramGui,
                         testing::Values(Juggled{"531", 3, 1}, Juggled{"(4,4)", 4, 1}, Juggled{"[33]33", 4, 1},
                                         Juggled{"[54]24", 5, 1}, Juggled{"<3p|3p><3|3>", 6, 2}),
                         [](const testing::TestParamInfo<Juggled> &info) {
                           std::string name = std::to_string(info.index) + "_";
                           for (const char *c = info.param.siteswap; *c; c++) name += isalnum((unsigned char)*c) ? *c : '_';
                           return name;
                         });

TEST(SiteswapFailureGui, ConverterMessageAndTheFailedLoadCode) {
  struct Case {
    const char *siteswap, *problem;
  } cases[] = {{"543", "543: three throws land on beat 2"}, {"[33]3", "[33]3: the average 9/2 is not a whole number"}};
  for (const Case &c : cases) {
    std::string home = makeScratchHome(currentTestName());
    RunOptions options;
    options.display = sharedDisplay();
    RunResult run = runProgram(programPath("quoit"), {c.siteswap}, home, options);
    EXPECT_EQ(run.exitCode, 18) << c.siteswap << "\n" << run.trace;
    EXPECT_NE(run.standardError.find(c.problem), std::string::npos) << run.standardError;
    std::string message =
        localTextWith(home, 40, "QuoitSiteSwap") + " - " + localTextWith(home, 210, c.siteswap);
    EXPECT_NE(run.trace.find(message), std::string::npos) << message << "\n" << run.trace;
    // The message dialog was handed the text through the exchange file.
    EXPECT_NE(readWholeFile(home + "/tmp/tcl_passing").find(message), std::string::npos);
    EXPECT_FALSE(std::ifstream(home + "/QuoitSiteSwap").good());
  }
}

// Boston-Mess: the loaded file is patconv's, its cells give each object a hand macro per hand,
// and every flight of an object starts in that object's own column. The throws are not scattered
// (scflag), so that the columns are exact.
TEST(SiteswapBostonMessGui, ObjectsKeepTheirColumns) {
  std::string home = makeScratchHome(currentTestName());
  Shown shown = showAndSaveImage({"+ss_opt=3", "+scflag=1", "531"}, home, "QuoitSiteSwap_Patconv-0.png");
  EXPECT_EQ(shown.run.exitCode, 0) << shown.run.trace;
  EXPECT_TRUE(shown.imageSaved);
  Loaded loaded = loadedFromTrace(shown.run.trace);
  EXPECT_EQ(loaded.file, "QuoitSiteSwap_Patconv") << shown.run.trace;
  EXPECT_EQ(jugglersOf(loaded), 1);
  std::set<std::string> thrownCells;
  for (const auto &row : loaded.grid)
    for (const std::string &cell : row)
      if (cell != "-") thrownCells.insert(cell);
  EXPECT_EQ(thrownCells, (std::set<std::string>{"Aa", "Bb", "Cc", "Dc", "Eb", "Fa"}));

  ASSERT_EQ(loaded.flightStarts.size(), 3u) << shown.run.trace;
  std::vector<double> columns;
  for (const std::vector<double> &starts : loaded.flightStarts) {
    ASSERT_FALSE(starts.empty());
    auto [low, high] = std::minmax_element(starts.begin(), starts.end());
    EXPECT_LT(*high - *low, 0.15) << "an object leaves its column";
    columns.push_back((*low + *high) / 2);
  }
  // Phase 0: the objects a, b, c stand in the columns -0.42, 0 and 0.42.
  for (size_t i = 0; i < columns.size(); i++) EXPECT_NEAR(columns[i], -0.42 + 0.42 * double(i), 0.1) << i;
}

}  // namespace
