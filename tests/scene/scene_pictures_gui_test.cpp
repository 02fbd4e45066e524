// The sample patterns drawn as the program draws them, in a real GL context on the test program's
// Xvfb: each pattern is loaded and placed, its objects posed at two moments, and the window image
// read back. The props stand where their paths put them (their colours around their projected
// positions), the picture moves, the shadows darken the floor under the props and the mirror floor
// shows the props below the floor line.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "app/framestep.h"
#include "core/localtext.h"
#include "core/prefs.h"
#include "pattern/store.h"
#include "scene/classic_renderer.h"
#include "scene/placements.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/loadpattern.h"
#include "tests/support/picture_fixture.h"
#include "tests/support/quoit_test_support.h"
#include "ui/glut_windows.h"
#include "ui/modes.h"

namespace {

const int W = 320, H = 240;


struct Rgb {
  double r, g, b;
};

double distance(const Rgb &a, const Rgb &b) {
  return std::fmax(std::fabs(a.r - b.r), std::fmax(std::fabs(a.g - b.g), std::fabs(a.b - b.b)));
}

// The colour of a pixel of a picture, 0..1.
Rgb colourAt(const Picture &p, int x, int y) {
  const unsigned char *c = p.pixel(x, y);
  return {c[0] / 255.0, c[1] / 255.0, c[2] / 255.0};
}

Picture drawFrame() { return drawPicture(qGlUpdateDisplay, W, H); }

const Rgb clearColour = {0, 0, 0.1};
const double mirrorAlpha = 160 / 255.0;  // the floor over its mirror image

// A flying object of the posed pattern: its position (m), its model and letter.
struct Prop {
  double p[3];
  int model;
  char letter;
};

std::string where(const Prop &prop, double t, int x, int y) {
  char text[120];
  snprintf(text, sizeof text, "%c at %.2f s, window point (%d, %d)", prop.letter, t, x, y);
  return text;
}

// How many of a pattern's props a check looked at and how many passed it. From five looked at, one
// and a tenth may miss: a prop held in a hand may hide behind the fingers.
struct Tally {
  int looked = 0, passed = 0;
  std::string misses;
  void count(bool pass, const std::string &what) {
    looked++;
    passed += pass;
    if (!pass) misses += what + "\n";
  }
  bool nearlyAll() const { return ::nearlyAll(passed, looked); }
};
std::ostream &operator<<(std::ostream &out, const Tally &t) {
  return out << t.passed << " of " << t.looked << " passed\n" << t.misses;
}

class ScenePicturesGui : public PictureTest<SceneTest, W, H> {
 protected:
  // The pattern loaded and placed as the pattern loop does it, seen with its own camera and the
  // program's first light (straight above the floor's centre).
  void load(const char *name) {
    testing::internal::CaptureStdout();  // the loader's report of the pattern
    int code = loadPattern(sourcePath(std::string("data/m/") + name));
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(code, 0) << name;
    ASSERT_EQ(qPlaceJugglers(), 0) << name;
    packViewState();
    lightState = LightState{0, 0, 0, 0, 1000};
  }

  // The flying list posed at time t.
  static std::vector<Prop> pose(double t) {
    qComputeObjectPositions(flyingPlacements + 1, 0, t, nullptr, -1);
    std::vector<Prop> props;
    for (const Placement *p = flyingPlacements + 1; p->model != PLACEMENT_END_FLYING; p++)
      props.push_back({{p->x * 0.001, p->y * 0.001, p->z * 0.001}, p->model, char(p->letter & 0xff)});
    return props;
  }

  // The frame without the flying objects: the flying list ends after the floor for one drawing.
  static Picture drawWithoutProps() {
    Placement first = flyingPlacements[1];
    flyingPlacements[1].model = PLACEMENT_END_FLYING;
    Picture f = drawFrame();
    flyingPlacements[1] = first;
    return f;
  }

  // The colours a model draws: its display list alone, near the eye, on a ground of a colour no
  // palette entry has, turned three ways. Its list must have been compiled by a frame.
  static std::vector<Rgb> modelColours(int model) {
    std::vector<Rgb> colours;
    const Rgb ground = {1, 0, 1};
    glClearColor(float(ground.r), float(ground.g), float(ground.b), 0);
    qGlSetProjection(W, H);
    for (int turn = 0; turn < 3; turn++) {
      glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
      glLoadIdentity();
      glTranslated(0, 0, -0.8);
      glRotated(-90 + 60 * turn, 1, 0, 0);
      glRotated(70 * turn, 0, 0, 1);
      glCallList(GLuint(objekt_geladen[model].displayList));
      std::vector<unsigned char> rgb = readWindowRgb(W, H);
      for (size_t i = 0; i < rgb.size(); i += 3) {
        Rgb c = {rgb[i] / 255.0, rgb[i + 1] / 255.0, rgb[i + 2] / 255.0};
        bool known = distance(c, ground) < 0.01;
        for (const Rgb &k : colours) known = known || distance(c, k) < 0.01;
        if (!known) colours.push_back(c);
      }
    }
    return colours;
  }

  static bool hasColour(const std::vector<Rgb> &colours, const Rgb &c, double tolerance) {
    for (const Rgb &k : colours)
      if (distance(c, k) < tolerance) return true;
    return false;
  }

  // Whether a nearer figure covers the point in a frame without the props: its depth lies in front
  // of the point brought 10 cm towards the eye.
  static bool coveredByFigure(const Picture &bare, const double p[3], int x, int y) {
    double eye[3], q[3], length = 0, qz;
    bare.eye(eye);
    for (int i = 0; i < 3; i++) length += (eye[i] - p[i]) * (eye[i] - p[i]);
    length = sqrt(length);
    for (int i = 0; i < 3; i++) q[i] = p[i] + 0.1 * (eye[i] - p[i]) / length;
    int qx, qy;
    bare.project(q, &qx, &qy, &qz);
    return bare.depthAt(x, y) < qz;
  }

  // Pixels of the square of half-size n around (x, y), inside the window, for which the test holds.
  template <class Test>
  static int countAround(int x, int y, int n, Test test) {
    int count = 0;
    for (int v = y - n; v <= y + n; v++)
      for (int u = x - n; u <= x + n; u++)
        if (u >= 0 && u < W && v >= 0 && v < H) count += test(u, v);
    return count;
  }
};

// Every pattern at both moments: nearly every prop not hidden behind a figure shows its model's
// colours around its projected position, put there by the prop (absent from the frame without
// the flying objects).
TEST_F(ScenePicturesGui, PropsStandWhereTheirPathsSay) {
  int props = 0, inView = 0;
  for (const char *name : samplePatterns) {
    SCOPED_TRACE(name);
    load(name);
    Tally tally;
    for (int k = 0; k < 2; k++) {
      std::vector<Prop> posed = pose(cycleMoment(k));
      Picture scene = drawFrame();
      ASSERT_EQ(scene.output.find("OpenGL Error"), std::string::npos) << scene.output;
      Picture bare = drawWithoutProps();
      props += int(posed.size());
      for (const Prop &prop : posed) {
        std::vector<Rgb> colours = modelColours(prop.model);
        ASSERT_FALSE(colours.empty()) << "model " << prop.model;
        int x, y;
        if (!scene.project(prop.p, &x, &y) || coveredByFigure(bare, prop.p, x, y)) continue;
        int shown = countAround(x, y, 2, [&](int u, int v) {
          Rgb seen = colourAt(scene, u, v);
          return hasColour(colours, seen, 0.02) && distance(seen, colourAt(bare, u, v)) > 0.01;
        });
        tally.count(shown > 0, where(prop, cycleMoment(k), x, y));
      }
    }
    inView += tally.looked;
    EXPECT_TRUE(tally.nearlyAll()) << tally;
  }
  EXPECT_GE(inView * 2, props);  // most props are in view and not behind a figure
}

TEST_F(ScenePicturesGui, PictureChangesBetweenTwoMoments) {
  for (const char *name : samplePatterns) {
    SCOPED_TRACE(name);
    load(name);
    pose(cycleMoment(0));
    Picture early = drawFrame();
    pose(cycleMoment(1));
    Picture late = drawFrame();
    EXPECT_GT(early.differences(late), 20);
    pose(cycleMoment(0));
    EXPECT_EQ(drawFrame().differences(early), 0);  // the same moment, the same picture
  }
}

// With the program's light straight above and with a light out to the side: shadows change the
// picture, and the floor where a prop's shadow falls (its position along the light's ray onto the
// floor) is darkened to 60 % with shadows on.
TEST_F(ScenePicturesGui, ShadowsDarkenTheFloorUnderTheProps) {
  for (const char *name : samplePatterns) {
    SCOPED_TRACE(name);
    load(name);
    Tally tally;
    for (int k = 0; k < 2; k++) {
      if (k) lightState = LightState{400, 300, 0, 0, 1000};
      std::vector<Prop> props = pose(cycleMoment(k));
      Picture plain = drawFrame();
      qMode.flags = FLAG_SHADOWS;
      Picture shaded = drawFrame();
      qMode.flags = 0;
      EXPECT_EQ(shaded.output.find("OpenGL Error"), std::string::npos) << shaded.output;
      EXPECT_GT(plain.differences(shaded), 20);
      for (const Prop &prop : props) {
        double onFloor[3];
        shadowOnFloor(prop.p, onFloor);
        int x, y;
        // Only floor seen open: nothing in front of it and not the empty clear colour.
        if (!plain.project(onFloor, &x, &y) || plain.depthAt(x, y) < 1 ||
            distance(colourAt(plain, x, y), clearColour) < 0.05)
          continue;
        int darker = countAround(x, y, 1, [&](int u, int v) {
          Rgb a = colourAt(plain, u, v), b = colourAt(shaded, u, v);
          return std::fabs(b.r - 0.6 * a.r) < 0.03 && std::fabs(b.g - 0.6 * a.g) < 0.03 &&
                 std::fabs(b.b - 0.6 * a.b) < 0.03 && a.r + a.g + a.b > 0.15;
        });
        tally.count(darker > 0, "shadow of " + where(prop, cycleMoment(k), x, y));
      }
    }
    EXPECT_TRUE(tally.nearlyAll()) << tally;
  }
}

// The real program juggling a sample pattern: two window images saved with 'h' a moment apart
// differ.
TEST_F(ScenePicturesGui, RunningQuoitSavesTwoDifferentMoments) {
  std::string home = makeScratchHome(currentTestName());
  SavedMoments moments = runQuoitSavingTwoMoments({"m/5ball_cascade"}, home);
  const RunResult &run = moments.run;
  ASSERT_TRUE(moments.windowFound) << run.standardOutput << run.standardError;
  std::vector<std::vector<unsigned char>> images;
  for (const std::string &file : moments.images) images.push_back(readPngRgb(file));
  ASSERT_EQ(images.size(), 2u);
  ASSERT_FALSE(images[0].empty());
  EXPECT_EQ(images[0].size(), images[1].size());
  EXPECT_FALSE(images[0] == images[1]) << "the picture did not move";
  EXPECT_EQ(run.exitCode, 0) << run.standardError;
}

// With the mirror floor, the floor where a prop's mirrored position (x, y, -z) falls shows the
// translucent floor over the prop's colour instead of the plain floor.
// Seen from above, as the mirror images lie below the floor line: the samples' own cameras look
// at the juggler from chest height.
TEST_F(ScenePicturesGui, MirrorFloorShowsThePropsBelowTheFloorLine) {
  for (const char *name : samplePatterns) {
    SCOPED_TRACE(name);
    load(name);
    cameraState.azimuth = 0.6;
    cameraState.elevation = 1.2;
    cameraState.distance = 4.5;
    cameraState.zoom = 190;
    packViewState();
    Tally tally;
    for (int k = 0; k < 2; k++) {
      std::vector<Prop> props = pose(cycleMoment(k));
      Picture plain = drawFrame();
      qMode.flags = FLAG_MIRROR;
      Picture mirrored = drawFrame();
      Picture bareMirrored = drawWithoutProps();  // its depths hold the reflected figures
      qMode.flags = 0;
      EXPECT_EQ(mirrored.output.find("OpenGL Error"), std::string::npos) << mirrored.output;
      for (const Prop &prop : props) {
        std::vector<Rgb> colours;
        for (const Rgb &c : modelColours(prop.model))
          if (distance(c, clearColour) > 0.05) colours.push_back(c);
        double below[3] = {prop.p[0], prop.p[1], -prop.p[2]};
        int x, y;
        if (!plain.project(below, &x, &y) || plain.depthAt(x, y) < 1 ||
            distance(colourAt(plain, x, y), clearColour) < 0.05 || coveredByFigure(bareMirrored, below, x, y))
          continue;
        int reflected = countAround(x, y, 2, [&](int u, int v) {
          Rgb floor = colourAt(plain, u, v), seen = colourAt(mirrored, u, v);
          for (const Rgb &c : colours) {
            Rgb over = {mirrorAlpha * floor.r + (1 - mirrorAlpha) * c.r, mirrorAlpha * floor.g + (1 - mirrorAlpha) * c.g,
                        mirrorAlpha * floor.b + (1 - mirrorAlpha) * c.b};
            if (distance(seen, over) < 0.03) return true;
          }
          return false;
        });
        tally.count(reflected > 0, "mirror image of " + where(prop, cycleMoment(k), x, y));
      }
    }
    EXPECT_TRUE(tally.nearlyAll()) << tally;
  }
}

}  // namespace
