// Textures named in VRML models, with the textures bit on (they are uploaded, so a GL window is open).
#include <GL/glut.h>

#include <filesystem>

#include "scene/textures.h"
#include "tests/scene/vrml_fixture.h"
#include "tests/support/glut_test_window.h"

namespace {

class VrmlTexturesGui : public VrmlTest {
 protected:
  void SetUp() override {
    VrmlTest::SetUp();
    ASSERT_NE(openGlutTestWindow("vrml textures", 64, 64, GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH), 0);
    freeTextureImages();
    qPrefs.displayFlags = 8;
    writeFile("tex/no_texture.png", "");
    std::filesystem::copy_file(QUOIT_SOURCE_DIR "/data/tex/no_texture.png", scratch / "tex/no_texture.png",
                               std::filesystem::copy_options::overwrite_existing);
  }
  void TearDown() override {
    freeTextureImages();
    qPrefs.displayFlags = 0;
    VrmlTest::TearDown();
  }
};

std::string textured(const char *options, const char *url, const char *geometry = "Sphere { radius 1 }") {
  return "#VRML V2.0 utf8\n\n# QUOITDATA " + std::string(options) +
         "\nShape { appearance Appearance { texture ImageTexture { url \"" + url +
         "\" } material Material { diffuseColor 0.5 0.5 0.5 } } geometry " + geometry + " }\n";
}

TEST_F(VrmlTexturesGui, AModelTextureLoadsWithoutItsFilePrefix) {
  ASSERT_EQ(loadSnippet(textured("", "file://tex/no_texture.png")), VRML_LOADED);
  int t = qScene->poly->textureIndex;
  ASSERT_GE(t, 0);
  EXPECT_STREQ(textureTable[t].path, "tex/no_texture.png");
  EXPECT_EQ(textureTable[t].kind, TEXTURE_MODEL);
  EXPECT_FALSE(qScene->poly->flags & POLY_NO_TEXTURE);
}

TEST_F(VrmlTexturesGui, ShirtFrontWithoutAnImageTakesTheShirtColour) {
  noTextureIndex = 7;
  currentShirt = 2;
  qTShirt[2] = TShirt{};
  qTShirt[2].red = 255;
  qTShirt[2].frontTexture = TEXTURE_NONE;
  ASSERT_EQ(loadSnippet(textured("tex=front", "tex/none.png")), VRML_LOADED);
  EXPECT_EQ(qScene->poly->textureIndex, 7);
  EXPECT_DOUBLE_EQ(qScene->poly->diffuseColor[0], 1.0);  // the word became tex=color
  EXPECT_DOUBLE_EQ(qScene->poly->diffuseColor[1], 0.0);
  qTShirt[2] = TShirt{};
  currentShirt = 0;
}

TEST_F(VrmlTexturesGui, AShirtTextureBecomesTheCurrentShirt) {
  int shirts = tshirt_count;
  ASSERT_EQ(loadSnippet(textured("tex=shirt", "tex/no_texture.png")), VRML_LOADED);
  int t = qScene->poly->textureIndex;
  ASSERT_GE(t, 0);
  EXPECT_EQ(textureTable[t].kind, TEXTURE_SHIRT);
  EXPECT_EQ(tshirt_count, shirts + 1);
  EXPECT_STREQ(qTShirt[currentShirt].name, "tex/no_texture.png");
}

TEST_F(VrmlTexturesGui, MissingAndOutsideTexturesFailTheLoad) {
  EXPECT_EQ(loadSnippet(textured("", "tex/missing.png")), VRML_FAILED);
  EXPECT_EQ(loadSnippet(textured("", "/etc/passwd.png")), VRML_FAILED);
  EXPECT_EQ(loadSnippet(textured("", "../no_texture.png")), VRML_FAILED);
  EXPECT_EQ(qScene, nullptr);
}

TEST_F(VrmlTexturesGui, AFaceSetWithoutTextureCoordinatesIsDrawnWithoutTheTexture) {
  ASSERT_EQ(loadSnippet(textured("", "tex/no_texture.png",
                                 "IndexedFaceSet { coord Coordinate { point [ 0 0 0 1 0 0 1 1 0 ] } coordIndex [ 0 1 2 -1 ] }")),
            VRML_LOADED);
  EXPECT_EQ(qScene->poly->textureIndex, TEXTURE_NONE);
  EXPECT_TRUE(qScene->poly->flags & POLY_NO_TEXTURE);
}

}  // namespace
