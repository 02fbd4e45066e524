// Fixture of the path display tests: the temporary directory in the test's scratch directory, the
// local texts, the normal speed, no object request and no picked model; patterns and paths freed after.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/localtext.h"
#include "core/prefs.h"
#include "core/uistate.h"
#include "pattern/store.h"
#include "scene/pathdisplay.h"
#include "scene/vrml/modeltree.h"
#include "tests/support/loadpattern.h"
#include "tests/support/picture_fixture.h"

// Over Base (the scene or the VRML fixture, or a picture fixture over one of them).
template <class Base>
class PathTest : public Base {
 public:
  std::string temp;
  int speed = 0;

  void SetUp() override {
    Base::SetUp();
    if (this->HasFatalFailure()) return;
    if (!localTextTables[qPrefs.language]) {
      ASSERT_EQ(readLocalTexts(), 0);
    }
    temp = qPrefs.temp;
    speed = qMode.speed;
    qPrefs.temp = std::filesystem::path(this->writeFile("tmp/keep", "")).parent_path().string() + "/";
    qMode.speed = 100;
    qMode.flags = 0;
    qMode.main = 0;
    nextObjectRequest = 0;
    chosenModel = -1;
  }
  void TearDown() override {
    freePatternData();
    resetPathDisplay();
    qPrefs.temp = temp;
    qMode.speed = speed;
    qMode.main = 0;
    chosenModel = -1;
    Base::TearDown();
  }
  // The juggled objects' nodes of the VRML scene.
  static std::vector<ObjectNode *> juggled() {
    std::vector<ObjectNode *> nodes;
    for (ObjectNode *n = qScene; n; n = n->next)
      if (n->flags & NODE_TAKES_CHOOSER_MODEL) nodes.push_back(n);
    return nodes;
  }
  // The sample pattern data/m/<name> in VRML mode, no path shown yet.
  void loadVrml(const char *name) {
    resetPathDisplay();
    ASSERT_EQ(loadVrmlSample(name), 0) << name;
  }
};
