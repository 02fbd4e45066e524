// Tests of the whole program: the layers are wired before the first test, as quoitMain does, and a
// pattern load in a test starts from an empty object table and figure state.
#include <gtest/gtest.h>

#include "app/wiring.h"
#include "scene/figures.h"
#include "scene/objects.h"
#include "tests/support/loadpattern.h"
#include "ui/keyframes.h"

// What cleanUp leaves behind a pattern: no models, no figures, no keyframes.
static void resetScene() {
  resetObjectTable();
  resetFigureState();
  KeyframeList(KEYFRAMES_FREE, nullptr);
}

namespace {
class WiredProgram : public testing::Environment {
  void SetUp() override {
    connectLayers();
    resetSceneForLoad = resetScene;
  }
};
}  // namespace

static testing::Environment *const wiredProgram = testing::AddGlobalTestEnvironment(new WiredProgram);
