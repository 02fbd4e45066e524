// Layers: a source file includes only its own layer and the layers below it (core < pattern <
// scene < ui < app); the tests of core and of the pattern engine, and their helpers, likewise.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char *const kLayers[] = {"core", "pattern", "scene", "ui", "app"};
const int kLayerCount = 5;

int layerRank(const std::string &name) {
  for (int i = 0; i < kLayerCount; i++)
    if (name == kLayers[i]) return i;
  return -1;
}

// The test helpers a test of a low layer may use: those that link no higher layer.
int supportRank(const std::string &header) {
  if (header == "childprocess.h" || header == "quoit_test_support.h" || header == "scratch_home.h" ||
      header == "xwindows.h")
    return 0;
  if (header == "loadpattern.h") return 1;
  return kLayerCount - 1;
}

// The layer a file is held to: its source folder, or the folder its test mirrors; -1 for files
// outside the layers (the converters, the tests of the upper layers).
int rankOfFile(const fs::path &relative) {
  auto part = relative.begin();
  if (part == relative.end()) return -1;
  std::string first = part->string();
  if (first != "tests") return layerRank(first);
  if (++part == relative.end()) return -1;
  std::string second = part->string();
  if (second == "support") {
    if (++part == relative.end()) return -1;
    return supportRank(fs::path(*part).replace_extension(".h").string());
  }
  int rank = layerRank(second);
  return rank <= 1 ? rank : -1;
}

// Every include of the tree below top that goes up a layer, as "file:line: #include ...".
std::vector<std::string> upwardIncludes(const fs::path &top) {
  static const std::regex include(R"(^\s*#\s*include\s*"([A-Za-z_]+)/(?:([A-Za-z_]+)/)?([^"]+)\")");
  std::vector<std::string> found;
  for (const char *folder : {"core", "pattern", "scene", "ui", "app", "tests"}) {
    if (!fs::is_directory(top / folder)) continue;
    for (const auto &entry : fs::recursive_directory_iterator(top / folder)) {
      std::string extension = entry.path().extension().string();
      if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
      fs::path relative = fs::relative(entry.path(), top);
      int rank = rankOfFile(relative);
      if (rank < 0) continue;
      std::ifstream in(entry.path());
      std::string line;
      for (int number = 1; std::getline(in, line); number++) {
        std::smatch m;
        if (!std::regex_search(line, m, include)) continue;
        int target = layerRank(m[1]);
        if (m[1] == "tests" && m[2] == "support") target = supportRank(m[3]);
        if (m[1] == "tests" && m[2] != "support") target = layerRank(m[2]);
        if (target > rank) found.push_back(relative.string() + ":" + std::to_string(number) + ": " + line);
      }
    }
  }
  return found;
}

void writeFile(const fs::path &path, const std::string &text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
}

}  // namespace

TEST(Layers, EveryIncludeGoesDown) {
  std::vector<std::string> found = upwardIncludes(QUOIT_SOURCE_DIR);
  std::string list;
  for (const std::string &line : found) list += line + "\n";
  EXPECT_TRUE(found.empty()) << "includes that go up a layer:\n" << list;
}

TEST(Layers, UpwardIncludesAreNamedWithFileAndLine) {
  fs::path top = fs::temp_directory_path() / ("quoit_layers_" + std::to_string(getpid()));
  fs::remove_all(top);
  writeFile(top / "core/a.cpp", "#include \"core/b.h\"\n#include <vector>\n");
  writeFile(top / "pattern/reader.cpp", "// reads\n#include \"core/utils.h\"\n  #  include \"scene/figures.h\"\n");
  writeFile(top / "scene/vrml/parse.cpp", "#include \"ui/modes.h\"\n#include \"pattern/store.h\"\n");
  writeFile(top / "ui/keys.cpp", "#include \"app/startup.h\"\n");
  writeFile(top / "app/main.cpp", "#include \"ui/keys.h\"\n");
  writeFile(top / "tests/pattern/x_test.cpp", "#include \"tests/support/loadpattern.h\"\n#include \"ui/camera.h\"\n");
  writeFile(top / "tests/core/y_test.cpp", "#include \"tests/support/loadpattern.h\"\n");
  writeFile(top / "tests/support/loadpattern.cpp", "#include \"scene/objects.h\"\n");
  writeFile(top / "tests/ui/z_test.cpp", "#include \"app/startup.h\"\n");
  std::vector<std::string> found = upwardIncludes(top);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{
                       "pattern/reader.cpp:3:   #  include \"scene/figures.h\"",
                       "scene/vrml/parse.cpp:1: #include \"ui/modes.h\"",
                       "tests/core/y_test.cpp:1: #include \"tests/support/loadpattern.h\"",
                       "tests/pattern/x_test.cpp:2: #include \"ui/camera.h\"",
                       "tests/support/loadpattern.cpp:1: #include \"scene/objects.h\"",
                       "ui/keys.cpp:1: #include \"app/startup.h\"",
                   }));
  fs::remove_all(top);
}
