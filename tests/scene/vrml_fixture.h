// Fixture of the VRML reader tests: VRML mode with an empty scene, model snippets written into a
// scratch home, a text dump of the model tree that golden strings compare against, and the figures
// the juggler lists name.
#pragma once
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>

#include "scene/kinematics.h"
#include "scene/vrml/modeltree.h"
#include "scene/vrml/reader.h"
#include "tests/scene/scene_fixture.h"

class VrmlTest : public SceneTest {
 public:
  void SetUp() override {
    SceneTest::SetUp();
    qPrefs.vrml = 1;
    qPrefs.randomcolor = 0;
    ASSERT_EQ(allocVRMLBuffers(), 0);
    resetVRMLScene();
  }

  void TearDown() override {
    resetVRMLScene();
    qPrefs.vrml = 0;
    SceneTest::TearDown();
  }

  // Writes the snippet as a model file in the scratch home, makes that the working directory and loads it.
  int loadSnippet(const std::string &text, int how = VRML_SCENE_OBJECT, const std::string &name = "v/snippet.wrl") {
    writeFile(name, text);
    std::filesystem::current_path(scratch);
    return loadVRMLFile(name.c_str(), loadedObjectCount, 0, 0, 0, 0, how);
  }
};

inline std::string dumpNumber(double v) {
  char buffer[32];
  snprintf(buffer, sizeof buffer, "%g", v);
  return buffer;
}

inline std::string dumpVector(const double *v, int n) {
  std::string s = "(";
  for (int i = 0; i < n; i++) s += (i ? " " : "") + dumpNumber(v[i]);
  return s + ")";
}

inline void dumpPoly(const PolyNode *p, int indent, std::string &out) {
  for (; p; p = p->brother) {
    std::string line(size_t(indent) * 2, ' ');
    char flags[16];
    snprintf(flags, sizeof flags, "%x", p->flags & ~0x80000000u);
    line += "poly " + std::string(flags);
    if (p->flags & 0x1000) line += " T" + dumpVector(p->translation, 3);
    if (p->rotationAngle != 0) line += " R" + dumpVector(p->rotationAxis, 3) + dumpNumber(p->rotationAngle);
    if (p->flags & 0x2000) line += " diffuse" + dumpVector(p->diffuseColor, 3);
    if (p->flags & 0x30) line += " r=" + dumpNumber(p->radius) + " top=" + dumpNumber(p->topRadius) + " h=" + dumpNumber(p->height);
    if (p->coordCount) line += " coords=" + std::to_string(p->coordCount);
    if (p->coordIndexCount) line += " coordIndex=" + std::to_string(p->coordIndexCount);
    if (p->normalCount) line += " normals=" + std::to_string(p->normalCount);
    if (p->normalIndexCount) line += " normalIndex=" + std::to_string(p->normalIndexCount);
    if (p->colorCount) line += " colors=" + std::to_string(p->colorCount);
    if (p->colorIndexCount) line += " colorIndex=" + std::to_string(p->colorIndexCount);
    if (p->texCoordCount) line += " texCoords=" + std::to_string(p->texCoordCount);
    if (p->texCoordIndexCount) line += " texCoordIndex=" + std::to_string(p->texCoordIndexCount);
    if (p->colorPerVertex) line += " cpv=" + std::to_string(p->colorPerVertex);
    if (p->normalPerVertex) line += " npv=" + std::to_string(p->normalPerVertex);
    if (p->solid) line += " solid=" + std::to_string(p->solid);
    out += line + "\n";
    dumpPoly(p->child, indent + 1, out);
  }
}

// Object nodes with their polygon trees, children indented under their parents.
inline void dumpObject(const ObjectNode *n, int indent, std::string &out) {
  for (; n; n = n->brother) {
    char flags[16];
    snprintf(flags, sizeof flags, "%x", n->flags);
    out += std::string(size_t(indent) * 2, ' ') + "object " + n->name + " #" + std::to_string(n->number) + " i" +
           std::to_string(n->objectIndex) + " f" + flags;
    if (n->type) out += " type" + std::to_string(n->type);
    if (n->handle != 0) out += " handle=" + dumpNumber(n->handle);
    const double *p = n->position, *a = n->angles;
    if (p[0] != 0 || p[1] != 0 || p[2] != 0) out += " @" + dumpVector(p, 3);
    if (a[0] != 0 || a[1] != 0 || a[2] != 0) out += " A" + dumpVector(a, 3);
    out += "\n";
    dumpPoly(n->poly, indent + 1, out);
    dumpObject(n->child, indent + 1, out);
  }
}

inline std::string dumpScene() {
  std::string out;
  dumpObject(qScene, 0, out);
  return out;
}

// The figure names of every section of both juggler lists, as model paths.
inline std::set<std::string> listedFigures() {
  std::set<std::string> names;
  for (const char *list : {"list_of_VRMLjugglers.order", "list_of_VRMLjugglers.random"}) {
    std::ifstream in(std::string(QUOIT_SOURCE_DIR "/data/") + list);
    std::string line;
    while (std::getline(in, line)) {
      std::string word = line.substr(0, line.find(' '));
      if (!word.empty() && !isdigit(static_cast<unsigned char>(word[0]))) names.insert("v/basic/" + word + ".wrl");
    }
  }
  return names;
}
