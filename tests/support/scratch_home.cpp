#include "tests/support/scratch_home.h"

#include "core/localtext.h"
#include "core/prefs.h"
#include "tests/support/quoit_test_support.h"

void ScratchHomeTest::SetUp() {
  enterScratchHome(home, previous);
  qPrefs.homeDirectory = home;
  qPrefs.language = ENGLISH;
  ASSERT_EQ(readLocalTexts(), 0);
}

void ScratchHomeTest::TearDown() {
  freeLocalTexts();
  leaveScratchHome(previous);
}
