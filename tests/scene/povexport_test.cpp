// POV-Ray export: the short names and frame names, golden scene, INI and parameter files of a
// small pattern, the numbering of repeated exports, the film length and frame size, a declared
// hand for every time, the hands of every juggler and the VRML-mode copy made relative, the light
// and camera of the window, numbers in any locale, failures while creating and writing the files,
// file names that cannot reach the INI file as options, the include files, and a real render.
#include <gtest/gtest.h>
#include <GL/freeglut.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

#include <clocale>
#include <csignal>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/localtext.h"
#include "core/prefs.h"
#include "core/utils.h"
#include "core/viewrecords.h"
#include "pattern/handpaths.h"
#include "pattern/objectpaths.h"
#include "pattern/store.h"
#include "scene/classic_renderer.h"
#include "scene/placements.h"
#include "scene/povexport.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/childprocess.h"
#include "tests/support/glut_test_window.h"
#include "tests/support/loadpattern.h"
#include "tests/support/quoit_test_support.h"

namespace fs = std::filesystem;

static std::string fixture(const std::string &name) { return sourcePath("tests/scene/fixtures/pov/" + name); }

static std::string textOf(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

static int countOf(const std::string &text, const std::string &line) {
  int n = 0;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) n += l == line;
  return n;
}

// Whether the text has a number with a decimal comma, as "%f" writes it in such a locale.
static bool hasDecimalComma(const std::string &text) {
  for (size_t i = 1; i + 6 < text.size(); i++) {
    if (text[i] != ',' || !isdigit(uint8_t(text[i - 1]))) continue;
    size_t digits = 0;
    while (digits < 6 && isdigit(uint8_t(text[i + 1 + digits]))) digits++;
    if (digits == 6) return true;
  }
  return false;
}

TEST(PovNames, ShortNamesHaveAtMostFiveCharacters) {
  struct Case {
    const char *name;
    int counter;
    const char *expected;
  } cases[] = {
      {"3ball", 0, "3all0"},           {"3ball_cascade", 0, "3all0"}, {"3ball_cascade", 12, "3al12"},
      {"123456789", 7, "12347"},       {"club_ring", 3, "lub_3"},     {"", 4, "4"},
      {"5", 99999, "99999"},           {"42x", 1, "421"},
  };
  for (const Case &c : cases) EXPECT_EQ(qPovShortName(c.name, c.counter), c.expected) << c.name << " " << c.counter;
}

// POV-Ray 3.7 with Cyclic_Animation renders frames 0 to Final_Frame and pads their numbers to the
// digits of Final_Frame + 1 (Final_Frame 9 gives name_00 .. name_09).
TEST(PovNames, FrameNumbersPadToTheFrameCount) {
  struct Case {
    int finalFrame;
    const char *digits;
  } cases[] = {{1, "%d"},       {8, "%d"},       {9, "%02d"},     {98, "%02d"},     {99, "%03d"},
               {998, "%03d"},   {999, "%04d"},   {9998, "%04d"},  {9999, "%05d"},   {99999, "%06d"}};
  for (const Case &c : cases) EXPECT_STREQ(povFrameDigits(c.finalFrame), c.digits) << c.finalFrame;
}

TEST(PovData, IncludeFilesDeclareEveryModelAndTheFigure) {
  std::ifstream list(sourcePath("data/list_of_objects"));
  std::string objects = textOf(sourcePath("data/pov/QuoitObj.inc"));
  int numbers = 0;
  for (std::string line; std::getline(list, line);) {
    int n;
    if (sscanf(line.c_str(), "%d:", &n) != 1) continue;
    numbers++;
    std::string name = "#declare QU_" + std::to_string(n) + " ";
    size_t at = objects.find(name);
    ASSERT_NE(at, std::string::npos) << n;
    at = objects.find_first_not_of(' ', at + name.size());
    EXPECT_EQ(objects[at], '=') << n;
  }
  EXPECT_GT(numbers, 20);
  std::string figure = textOf(sourcePath("data/pov/" POV_FIGURE_INCLUDE));
  EXPECT_NE(figure.find("#declare " POV_FIGURE_OBJECT " ="), std::string::npos);
  for (const char *name : {"lefthandx", "lefthandy", "lefthandz", "righthandx", "righthandy", "righthandz",
                           "JugglerHeadAngle"})
    EXPECT_NE(figure.find(name), std::string::npos) << name;
}

// Exports of patterns loaded as the pattern loop loads them, into a scratch directory.
class PovExport : public SceneTest {
 public:
  QuoitPrefs savedPrefs = qPrefs;
  std::string out;

  void SetUp() override {
    SceneTest::SetUp();
    if (!localTextTables[qPrefs.language]) {
      ASSERT_EQ(readLocalTexts(), 0);
    }
    out = childprocess::makeScratchDirectory();
    qPrefs.povout = out + "/";
    qPrefs.povShortNames = 0;
    qPrefs.freq = 25;
    qPrefs.width = 320;
    qPrefs.height = 256;
    qPrefs.abitrate = 1152000;
    qPrefs.homeDirectory = sourcePath("data");
  }
  void TearDown() override {
    freePatternData();
    qPrefs = savedPrefs;
    childprocess::removeScratchDirectory(out);
    SceneTest::TearDown();
  }

  PovView view(const std::string &pattern) {
    return PovView{pattern, {0, 0, 1}, {-1, 0, 0}, 8, 300, 600, 1438, 0.2};
  }
  void load(const std::string &pattern) {
    ASSERT_EQ(loadPattern(pattern), 0) << pattern;
    ASSERT_EQ(qPlaceJugglers(), 0);
  }
  // What the user sees of the export: the messages and the status lines.
  std::string exportAndListen(const PovView &v) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    qPovExport(v);
    std::string said = testing::internal::GetCapturedStdout();
    return said + testing::internal::GetCapturedStderr();
  }
  std::string file(const std::string &name) { return textOf(out + "/" + name); }
  // A written file as the golden files hold it: the scratch and home directories and the seed,
  // which change from run to run, replaced by fixed words.
  std::string normalised(const std::string &name) {
    std::string text = file(name);
    for (const auto &[from, to] : {std::pair{out + "/", std::string("@OUT@/")},
                                  std::pair{povIncludeDirectory(), std::string("@INCLUDES@")}}) {
      for (size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, from.size(), to);
    }
    size_t seed = text.find("seed(");
    if (seed != std::string::npos) text.replace(seed + 5, text.find(')', seed) - seed - 5, "@SEED@");
    return text;
  }
};

// The golden files are written anew when QUOIT_UPDATE_GOLDEN is set.
TEST_F(PovExport, GoldenFilesOfAClubAndARing) {
  load(fixture("club_ring"));
  std::string said = exportAndListen(view(fixture("club_ring")));
  for (const char *name : {"club_ring_0.pov", "club_ring_0_.ini", "club_ring.par"}) {
    SCOPED_TRACE(name);
    std::string golden = fixture(std::string("golden_") + name);
    if (getenv("QUOIT_UPDATE_GOLDEN")) std::ofstream(golden, std::ios::binary) << normalised(name);
    EXPECT_EQ(normalised(name), textOf(golden));
  }
  EXPECT_NE(said.find("> povray " + out + "/club_ring_0_.ini -D\n"), std::string::npos) << said;
  EXPECT_NE(said.find("> mpeg2encode " + out + "/club_ring.par " + out + "/club_ring-0.mpg"), std::string::npos);
}

TEST_F(PovExport, SecondExportTakesTheNextFreeNumber) {
  load(fixture("club_ring"));
  struct Case {
    int shortNames;
    std::vector<std::string> first, second;
  } cases[] = {
      {0, {"club_ring_0.pov", "club_ring_0_.ini"}, {"club_ring_1.pov", "club_ring_1_.ini"}},
      {1, {"lub_0.pov", "lub_0.ini"}, {"lub_1.pov", "lub_1.ini"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.shortNames);
    for (const auto &name : childprocess::listDirectory(out)) fs::remove(out + "/" + name);
    qPrefs.povShortNames = c.shortNames;
    exportAndListen(view(fixture("club_ring")));
    for (const auto &name : c.first) EXPECT_TRUE(fs::exists(out + "/" + name)) << name;
    exportAndListen(view(fixture("club_ring")));
    for (const auto &name : c.second) EXPECT_TRUE(fs::exists(out + "/" + name)) << name;
    std::string base = c.second[0].substr(0, c.second[0].size() - 4);
    EXPECT_NE(file(c.second[1]).find("Output_File_Name=" + out + "/" + base + "_\n"), std::string::npos);
    EXPECT_NE(file("club_ring.par").find(out + "/" + base + "_%02d\n"), std::string::npos);
  }
  // An INI file of that number left by the user is kept, and the number is passed over.
  for (const auto &name : childprocess::listDirectory(out)) fs::remove(out + "/" + name);
  qPrefs.povShortNames = 0;
  childprocess::writeFile(out + "/club_ring_0_.ini", "mine\n");
  exportAndListen(view(fixture("club_ring")));
  EXPECT_EQ(file("club_ring_0_.ini"), "mine\n");
  EXPECT_FALSE(fs::exists(out + "/club_ring_0.pov"));
  EXPECT_TRUE(fs::exists(out + "/club_ring_1.pov"));
}

TEST_F(PovExport, FilmLengthAndFrameSize) {
  load(fixture("club_ring"));  // four takts of 0.3 s
  struct Case {
    int recordTakts;
    double freq;
    int width, height;
    const char *finalFrame, *finalClock, *size, *frames;
    bool oneCycleMessage;
  } cases[] = {
      {0, 25, 320, 256, "Final_Frame=30\n", "Final_Clock=1.200000\n", "Width=328 ", "_%02d\n-\n", true},
      {8, 25, 320, 256, "Final_Frame=60\n", "Final_Clock=2.400000\n", "Width=328 ", "_%02d\n-\n", false},
      {2, 25, 641, 481, "Final_Frame=15\n", "Final_Clock=0.600000\n", "Width=648 ", "_%02d\n-\n", false},
      {0, 0.5, 320, 256, "Final_Frame=1\n", "Final_Clock=1.200000\n", "Width=328 ", "_%d\n-\n", true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.finalFrame);
    for (const auto &name : childprocess::listDirectory(out)) fs::remove(out + "/" + name);
    qInternal[QINTERNAL_RECORD_TAKTS] = c.recordTakts;
    qPrefs.freq = c.freq;
    qPrefs.width = c.width;
    qPrefs.height = c.height;
    std::string said = exportAndListen(view(fixture("club_ring")));
    std::string ini = file("club_ring_0_.ini");
    EXPECT_NE(ini.find(c.finalFrame), std::string::npos) << ini;
    EXPECT_NE(ini.find(c.finalClock), std::string::npos) << ini;
    EXPECT_NE(ini.find(c.size), std::string::npos) << ini;
    std::string par = file("club_ring.par");
    EXPECT_NE(par.find(c.frames), std::string::npos) << par;
    EXPECT_NE(par.find(formatText("\n2\n%d\n", povFiles.finalFrame + 1)), std::string::npos) << par;
    EXPECT_EQ(said.find(localMessage(905)) != std::string::npos, c.oneCycleMessage) << said;
  }
  EXPECT_NE(file("club_ring_0_.ini").find("Height=260 "), std::string::npos);
}

// Every #switch ends in an #else, so POV-Ray finds the variables declared at any clock; the
// hands of juggler p are its hands 2p and 2p + 1.
TEST_F(PovExport, EveryTimeDeclaresTheHandsOfEveryJuggler) {
  load(sourcePath("data/m/6club_2count_pass"));
  ASSERT_EQ(jugglers, 2);
  // The right hand of juggler 0 waits all the cycle in one segment.
  handbahn[1][0].t_from = 0;
  handbahn[1][0].t_to = t_zyklus;
  exportAndListen(view(sourcePath("data/m/6club_2count_pass")));
  std::string pov = file("6club_2count_pass_0.pov");
  int switches = countOf(pov, "#switch (maintime)");
  EXPECT_EQ(switches, 2 * jugglers + objekte);
  EXPECT_EQ(countOf(pov, "  #else"), switches);
  size_t person1 = pov.find("/* person no. 1 */");
  ASSERT_NE(person1, std::string::npos);
  char expected[200];
  snprintf(expected, sizeof expected, "  #range ( %f , %f )\n", handbahn[1][0].t_from, handbahn[1][0].t_to);
  size_t right0 = pov.find("#declare righthandx");
  ASSERT_LT(right0, person1);
  EXPECT_NE(pov.rfind(expected, right0), std::string::npos);
  const Handbahn &left1 = handbahn[2][0];
  snprintf(expected, sizeof expected, "  #range ( %f , %f )\n    #declare time=maintime-(%f)\n", left1.t_from,
           left1.t_to, left1.t_from);
  EXPECT_EQ(pov.find(expected, person1), pov.find("#switch (maintime)", person1) + 19);
  snprintf(expected, sizeof expected, "    #declare lefthandx = emt2*(emt*(%f)+tm3*(%f))+t2*(emtm3*(%f)+tv*(%f))\n",
           left1.B0[0], left1.B1[0], left1.B2[0], left1.B3[0]);
  EXPECT_NE(pov.find(expected, person1), std::string::npos);
  EXPECT_EQ(countOf(pov, "#include \"" POV_FIGURE_INCLUDE "\""), 2);
}

// A held ball's centre stands one radius above the hand point, as in the window, whatever its spin.
TEST_F(PovExport, HeldBallSitsOnTheHandPoint) {
  load(sourcePath("data/m/3ball_cascade"));
  exportAndListen(view(sourcePath("data/m/3ball_cascade")));
  std::string pov = file("3ball_cascade_0.pov");
  int holds = 0;
  for (int s = 0; s <= paraz[0]; s++) holds += (flugbahn[0][s].flag & FB_HOLD_Z) != 0;
  ASSERT_GT(holds, 0);
  size_t from = pov.find("/* Object number 0 */"), to = pov.find("/* Object number 1 */");
  std::string object0 = pov.substr(from, to - from);
  // the chain's holds and the #else branch, which repeats the first segment (a hold here)
  EXPECT_EQ(countOf(object0, "    #declare QU_0z = QU_0z + (0.060000)"), holds + 1);
  EXPECT_EQ(object0.find("*sin(radians(QU_0yr))"), std::string::npos);
}

// In VRML mode the hand chains are in world coordinates: the export writes them relative to the
// figure and leaves the chains as they are.
TEST_F(PovExport, VrmlModeWritesTheHandsRelativeToTheFigure) {
  load(fixture("club_ring"));
  quoitPos[0].position[0] = 1;
  quoitPos[0].position[1] = 2;
  quoitPos[0].ZWinkel = M_PI / 2;
  Handbahn before = handbahn[0][0];
  qPrefs.vrml = 1;
  exportAndListen(view(fixture("club_ring")));
  qPrefs.vrml = 0;
  EXPECT_EQ(memcmp(&before, &handbahn[0][0], sizeof before), 0);
  Handbahn relative = before;
  double reference[3] = {1, 2, 0};
  Handbahn_abs2rel(&relative, -M_PI / 2, reference);
  std::string pov = file("club_ring_0.pov");
  char expected[200];
  snprintf(expected, sizeof expected, "    #declare lefthandy = emt2*(emt*(%f)+tm3*(%f))+t2*(emtm3*(%f)+tv*(%f))\n",
           relative.B0[1], relative.B1[1], relative.B2[1], relative.B3[1]);
  EXPECT_NE(pov.find(expected), std::string::npos) << expected;
  EXPECT_NE(pov.find("  rotate degrees(1.570796)*z\n  translate< 1.000000 , 2.000000 , 0.000000 >\n"), std::string::npos);
}

// The eye and the main light stand where the 3D window has them; the light's distance is in
// 1/100 m and it stands 10 m up.
TEST_F(PovExport, CameraAndLightOfTheWindow) {
  load(fixture("club_ring"));
  PovView v{fixture("club_ring"), {0.5, -0.25, 1.2}, {-0.6, 0.8, 0}, 5, 190, 600, 1438, 0.5};
  exportAndListen(v);
  std::string pov = file("club_ring_0.pov");
  EXPECT_NE(pov.find("  location < 3.500000 , -4.250000 , 1.200000 >\n  look_at  < 0.500000 , -0.250000 , 1.200000 >\n"
                     "  angle degrees(2 * atan2( 189.000000 , 190.000000 ))\n"),
            std::string::npos);
  double theta = -(1438 / 2048.0 * 2 * M_PI) - M_PI / 2;
  char expected[200];
  snprintf(expected, sizeof expected, "light_source {< %f , %f , %f > color White}", cos(theta) * 6, sin(theta) * 6, 10.0);
  EXPECT_NE(pov.find(expected), std::string::npos) << expected;
  EXPECT_NE(pov.find("  #declare maintime=0.500000\n"), std::string::npos);
}

// The film sees what the window sees: at two window shapes the camera's horizontal angle, and
// through the frame's shape its vertical one, are those of the 3D window's projection at the
// frame's size.
class PovExportGui : public PovExport {};

TEST_F(PovExportGui, CameraAngleIsTheWindowFrustum) {
  static int window = openGlutTestWindow("quoit POV-Ray camera", 64, 64, GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
  ASSERT_GT(window, 0);
  load(fixture("club_ring"));
  int16_t savedZoom = viewState.zoom;
  struct Case {
    int width, height;
  } cases[] = {{640, 480}, {1280, 480}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.width);
    for (const auto &name : childprocess::listDirectory(out)) fs::remove(out + "/" + name);
    qPrefs.width = c.width;
    qPrefs.height = c.height;
    exportAndListen(view(fixture("club_ring")));  // zoom 300
    std::string pov = file("club_ring_0.pov");
    int w = 0, h = 0;
    double across = 0, along = 0;
    size_t right = pov.find("  right <-"), angle = pov.find("  angle degrees(2 * atan2(");
    ASSERT_NE(right, std::string::npos) << pov;
    ASSERT_NE(angle, std::string::npos) << pov;
    ASSERT_EQ(sscanf(pov.c_str() + right, "  right <-%d/%d", &w, &h), 2);
    ASSERT_EQ(sscanf(pov.c_str() + angle, "  angle degrees(2 * atan2( %lf , %lf ))", &across, &along), 2);
    EXPECT_EQ(w, povFiles.width);
    EXPECT_EQ(h, povFiles.height);
    viewState.zoom = 300;
    qGlSetProjection(w, h);
    GLdouble p[16];
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    double halfAngleTangent = across / along;
    EXPECT_NEAR(halfAngleTangent, 1 / p[0], 1e-6);  // half width / near plane
    // Half height / near plane, up to the window's width truncated to 1/300 of its height.
    EXPECT_NEAR(halfAngleTangent * h / w, 1 / p[5], 2e-3);
  }
  viewState.zoom = savedZoom;
}

// A numeric locale with a decimal comma, made for this test; skipped where the system cannot build one.
TEST_F(PovExport, NumbersHaveAPointInAnyLocale) {
  std::string locales = out + "-locales";
  fs::create_directories(locales);
  load(fixture("club_ring"));  // the pattern reader reads numbers in the C locale
  childprocess::Result built = childprocess::run({"/usr/bin/localedef", "-i", "de_DE", "-f", "UTF-8", locales + "/de_DE.UTF-8"}, out);
  setenv("LOCPATH", locales.c_str(), 1);
  bool comma = setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
  char probe[16];
  snprintf(probe, sizeof probe, "%.1f", 1.5);
  if (!comma || std::string(probe) != "1,5") {
    setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
    fs::remove_all(locales);
    GTEST_SKIP() << "no locale with a decimal comma: " << built.output;
  }
  exportAndListen(view(fixture("club_ring")));
  setlocale(LC_NUMERIC, "C");
  unsetenv("LOCPATH");
  fs::remove_all(locales);
  std::string all = file("club_ring_0.pov") + file("club_ring_0_.ini");
  EXPECT_FALSE(hasDecimalComma(all));
  EXPECT_NE(all.find("Final_Clock=1.200000\n"), std::string::npos);
}

static std::vector<std::string> openDescriptors() {
  std::vector<std::string> fds;
  for (const auto &e : fs::directory_iterator("/proc/self/fd")) fds.push_back(e.path().filename());
  std::sort(fds.begin(), fds.end());
  return fds;
}

// When the INI file cannot be made, the scene file is closed and removed again, and the next
// export starts afresh.
TEST_F(PovExport, FailedIniFileClosesTheSceneFile) {
  load(fixture("club_ring"));
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  int lowest = open("/dev/null", O_RDONLY);
  close(lowest);
  std::vector<std::string> before = openDescriptors();
  rlimit saved;
  getrlimit(RLIMIT_NOFILE, &saved);
  rlimit one = {rlim_t(lowest + 1), saved.rlim_max};  // room for the scene file only
  setrlimit(RLIMIT_NOFILE, &one);
  int result = qPovOpenFiles(view(fixture("club_ring")));
  setrlimit(RLIMIT_NOFILE, &saved);
  std::vector<std::string> after = openDescriptors();
  std::string said = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
  EXPECT_EQ(result, POV_NO_FILE);
  EXPECT_EQ(povFiles.pov, nullptr);
  EXPECT_GE(lowest, 0);
  EXPECT_EQ(after, before);
  EXPECT_NE(said.find(localMessage(901, (out + "/club_ring_0_.ini").c_str())), std::string::npos) << said;
  EXPECT_TRUE(childprocess::listDirectory(out).empty());
  exportAndListen(view(fixture("club_ring")));
  EXPECT_TRUE(fs::exists(out + "/club_ring_0.pov"));
  EXPECT_TRUE(fs::exists(out + "/club_ring_0_.ini"));
}

// A scene that does not fit on the disk is reported, and no commands are offered for it.
TEST_F(PovExport, WriteFailureIsReported) {
  load(fixture("club_ring"));
  void (*previousHandler)(int) = signal(SIGXFSZ, SIG_IGN);
  rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = {4096, saved.rlim_max};  // the header fits, the jugglers do not
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  setrlimit(RLIMIT_FSIZE, &small);
  qPovExport(view(fixture("club_ring")));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::string said = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
  signal(SIGXFSZ, previousHandler);
  EXPECT_NE(said.find(localMessage(41, (out + "/club_ring_0.pov").c_str())), std::string::npos) << said;
  EXPECT_EQ(said.find("> povray"), std::string::npos);
  EXPECT_FALSE(fs::exists(out + "/club_ring.par"));
}

TEST_F(PovExport, MissingDirectoryGivesTheMessageAndNoFiles) {
  load(fixture("club_ring"));
  qPrefs.povout = out + "/missing/";
  std::string said = exportAndListen(view(fixture("club_ring")));
  EXPECT_NE(said.find(localMessage(901, (out + "/missing/club_ring_0.pov").c_str())), std::string::npos) << said;
  EXPECT_TRUE(childprocess::listDirectory(out).empty());
}

// The pattern's file name reaches the INI file, which POV-Ray reads line by line as options.
TEST_F(PovExport, PatternFileNameCannotAddIniOptions) {
  load(fixture("club_ring"));
  exportAndListen(view("/patterns/odd name\nPre_Scene_Command=touch x;.pat"));
  std::string base = "odd_name_Pre_Scene_Command_touch_x_";
  std::string ini = file(base + "_0_.ini");
  EXPECT_NE(ini.find("Input_File_Name=" + out + "/" + base + "_0.pov\n"), std::string::npos) << ini;
  EXPECT_EQ(ini.find("\nPre_Scene_Command"), std::string::npos);
  EXPECT_TRUE(fs::exists(out + "/" + base + ".par"));
}

struct PpmImage {
  int width = 0, height = 0;
  std::string pixels;
};

// A binary PPM as POV-Ray writes it: comment lines may follow the magic word.
static bool readPpm(const std::string &path, PpmImage &image) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maximum = 0;
  if (!(in >> magic) || magic != "P6") return false;
  while (in >> std::ws && in.peek() == '#') in.ignore(1 << 16, '\n');
  if (!(in >> image.width >> image.height >> maximum) || maximum != 255) return false;
  in.get();
  image.pixels.resize(size_t(image.width) * size_t(image.height) * 3);
  return bool(in.read(image.pixels.data(), std::streamsize(image.pixels.size())));
}

static bool oneColour(const PpmImage &image) {
  for (size_t i = 3; i < image.pixels.size(); i++)
    if (image.pixels[i] != image.pixels[i % 3]) return false;
  return true;
}

// The exported cycle of two jugglers passing clubs, rendered by POV-Ray as the export tells the user
// to: ten small frames, named
// as the .par file names them, each of several colours and each different from the one before.
TEST_F(PovExport, PovrayRendersTheExportedCycle) {
  ASSERT_TRUE(fs::exists("/usr/bin/povray")) << "povray is missing: scripts/setup installs it";
  load(sourcePath("data/m/6club_2count_pass"));
  qPrefs.width = 72;   // frames of 80 x 60
  qPrefs.height = 56;
  qPrefs.freq = 9.5 / t_zyklus;
  PovView v{sourcePath("data/m/6club_2count_pass"), {0, 0, 1.2}, {-0.8, -0.6, -0.1}, 6, 250, 600, 1438, 0};
  std::string said = exportAndListen(v);
  ASSERT_EQ(povFiles.finalFrame, 9);
  // The command as the export shows it, with two threads.
  size_t shown = said.find("> povray ");
  ASSERT_NE(shown, std::string::npos) << said;
  std::istringstream command(said.substr(shown + 2, said.find('\n', shown) - shown - 2));
  std::vector<std::string> words;
  for (std::string word; command >> word;) words.push_back(word);
  ASSERT_GE(words.size(), 2u);
  words.erase(words.begin());
  words.push_back("+WT2");
  RunOptions options;
  options.timeLimitSeconds = 240;
  RunResult run = runProgram("/usr/bin/povray", words, out, options);
  ASSERT_EQ(run.exitCode, 0) << run.standardError.substr(run.standardError.size() > 3000 ? run.standardError.size() - 3000 : 0);
  std::istringstream par(file("6club_2count_pass.par"));
  std::string title, frames;
  std::getline(par, title);
  std::getline(par, frames);
  PpmImage previous;
  for (int i = 0; i <= povFiles.finalFrame; i++) {
    char name[512];
    snprintf(name, sizeof name, frames.c_str(), i);
    SCOPED_TRACE(name);
    PpmImage image;
    ASSERT_TRUE(readPpm(std::string(name) + ".ppm", image));
    EXPECT_EQ(image.width, 80);
    EXPECT_EQ(image.height, 60);
    EXPECT_FALSE(oneColour(image));
    if (i > 0) {
      EXPECT_NE(image.pixels, previous.pixels);
    }
    previous = image;
  }
}
