// GUI test helpers for the real program: window images read from PNG files, window geometry and
// the pop-up menus, and a quoit running on the private display, driven with xdotool.
#pragma once
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/quoit_test_support.h"
#include "tests/ui/glut_xvfb.h"

namespace running_quoit {

namespace fs = std::filesystem;

struct Image {
  unsigned width = 0, height = 0;
  std::vector<uint8_t> rgb;
  bool operator==(const Image &other) const {
    return width == other.width && height == other.height && rgb == other.rgb;
  }
};

// An RGB image read from a PNG file; empty when the file is not a whole PNG (yet).
inline Image readPng(const std::string &path) {
  Image result;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return result;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
    png_image_free(&image);
    return result;
  }
  result.width = image.width;
  result.height = image.height;
  result.rgb = std::move(rgb);
  return result;
}

struct Geometry {
  int x = 0, y = 0, width = 0, height = 0;
};

// Position and size of a window on the screen, from xdotool.
inline Geometry windowGeometry(const std::string &id) {
  Geometry g;
  std::string text = commandOutput("xdotool getwindowgeometry " + id + " 2>/dev/null");
  size_t at = text.find("Position: "), size = text.find("Geometry: ");
  if (at != std::string::npos) sscanf(text.c_str() + at, "Position: %d,%d", &g.x, &g.y);
  if (size != std::string::npos) sscanf(text.c_str() + size, "Geometry: %dx%d", &g.width, &g.height);
  return g;
}

// The menus shown now, waiting up to a second for the count.
inline std::vector<Geometry> shownMenus(size_t count) {
  std::vector<Geometry> menus;
  for (int i = 0; i < 20; i++) {
    menus.clear();
    std::string ids = commandOutput("xdotool search --onlyvisible --name 'freeglut menu' 2>/dev/null");
    for (size_t start = 0, end; (end = ids.find('\n', start)) != std::string::npos; start = end + 1)
      menus.push_back(windowGeometry(ids.substr(start, end - start)));
    if (menus.size() >= count) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return menus;
}

inline void pointerTo(int x, int y) {
  commandOutput("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " 2>/dev/null");
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
}

// The screen height of entry i of a menu of n entries, all of one height.
inline int entryY(const Geometry &menu, int i, int n) { return menu.y + menu.height * (2 * i + 1) / (2 * n); }

// Opens the menu with a right click in the window, walks along entry `top` of the top menu of
// `topCount` entries into its submenu and clicks entry `sub` of its `subCount` entries there; with
// a sub of -1 clicks the top entry itself.
inline void chooseFromMenu(const std::string &window, int top, int topCount, int sub, int subCount) {
  commandOutput("xdotool mousemove --window " + window + " 60 60 click 3 2>/dev/null");
  std::vector<Geometry> menus = shownMenus(1);
  ASSERT_EQ(menus.size(), 1u) << "no menu opened";
  const Geometry menu = menus[0];
  int y = entryY(menu, top, topCount);
  for (int x = menu.x + 10; x < menu.x + menu.width / 2; x += 20) pointerTo(x, y);
  if (sub >= 0) {
    menus = shownMenus(2);
    ASSERT_EQ(menus.size(), 2u) << "no submenu opened";
    const Geometry submenu = menus[0].x == menu.x ? menus[1] : menus[0];
    for (int x = menu.x + menu.width / 2; x < submenu.x + 20; x += 20) pointerTo(x, y);
    int target = entryY(submenu, sub, subCount);
    for (int step = 1; step <= 5; step++) pointerTo(submenu.x + 20, y + (target - y) * step / 5);
  }
  commandOutput("xdotool click 1 2>/dev/null");
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

// The visible window of that title once it is (or is no longer) there, waiting up to two seconds.
inline std::string findVisible(const std::string &titleRegex, bool wanted) {
  std::string id;
  for (int i = 0; i < 40; i++) {
    id = commandOutput("xdotool search --onlyvisible --name '" + titleRegex + "' 2>/dev/null | head -1");
    id = id.substr(0, id.find('\n'));
    if (id.empty() != wanted) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return id;
}

// "quoit 531" (or other words) in a scratch home on the private display, found by its window title; Esc ends it.
// Its dialogs answer by themselves unless told otherwise.
class RunningQuoit {
 public:
  explicit RunningQuoit(std::vector<std::string> words = {"531"}, const std::string &homeName = "",
                        bool unattendedDialogs = true)
      : home_(makeScratchHome(homeName.empty() ? currentTestName() : homeName)) {
    options_.display = PrivateXvfb::display();
    options_.unattendedDialogs = unattendedDialogs;
    options_.timeLimitSeconds = 120;
    program_ = std::thread([this, words] { run_ = runProgram(programPath("quoit"), words, home_, options_); });
    window_ = findWindow("^Quoit: ", 30);
    if (!window_.empty()) commandOutput("xdotool mousemove --window " + window_ + " 20 20 2>/dev/null");
  }
  ~RunningQuoit() {
    if (program_.joinable()) finish();
  }
  const std::string &window() const { return window_; }
  const std::string &home() const { return home_; }

  std::string title() const {
    std::string name = commandOutput("xdotool getwindowname " + window_ + " 2>/dev/null");
    return name.substr(0, name.find('\n'));
  }
  // Waits up to the time for a title that contains the text; the last title seen.
  std::string waitForTitle(const std::string &text, double seconds) const {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    std::string seen = title();
    while (seen.find(text) == std::string::npos && std::chrono::steady_clock::now() < end) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      seen = title();
    }
    return seen;
  }
  // Waits up to the time for the program to take its window away by itself; true when it did.
  bool waitForWindowGone(double seconds) const {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!title().empty()) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
  }
  // One key press and release, sent to the window; a pause lets a frame take it before the next.
  void key(const std::string &name) const {
    commandOutput("xdotool key --window " + window_ + " " + name + " 2>/dev/null");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  }
  // Gives the window the keyboard focus and waits until the server has given it.
  void focus() const {
    commandOutput("xdotool windowfocus " + window_ + " 2>/dev/null");
    for (int i = 0; i < 40; i++) {
      std::string focused = commandOutput("xdotool getwindowfocus 2>/dev/null");
      if (focused.substr(0, focused.find('\n')) == window_) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  // The key held down for the time through the keyboard itself, so the server repeats it; the
  // window takes the focus first, since the keyboard's keys go to the focused window.
  void holdKey(const std::string &name, double seconds) const {
    focus();
    commandOutput("xdotool keydown " + name + " 2>/dev/null");
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    commandOutput("xdotool keyup " + name + " 2>/dev/null");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  }
  // The meters off and the animation stopped, so nothing but the keys changes the window.
  void stillPicture() const {
    key("t");
    key("e");
    waitForTitle("[0%]", 5);
  }
  std::vector<std::string> savedImages() const {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto &entry : fs::directory_iterator(home_ + "/hardcopy", error))
      if (entry.path().extension() == ".png") files.push_back(entry.path().string());
    return files;
  }
  // Saves the window image with 'h' and reads the new file; an empty image when none came.
  Image saveImage(std::string *path = nullptr) const {
    std::vector<std::string> before = savedImages();
    key("h");
    for (int i = 0; i < 100; i++) {
      for (const std::string &file : savedImages()) {
        if (std::find(before.begin(), before.end(), file) != before.end()) continue;
        Image image = readPng(file);
        if (image.width == 0) break;
        if (path) *path = file;
        return image;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return Image();
  }
  RunResult finish() {
    if (!window_.empty()) commandOutput("xdotool key --window " + window_ + " Escape 2>/dev/null");
    program_.join();
    return run_;
  }

 private:
  std::string home_;
  RunOptions options_;
  RunResult run_;
  std::thread program_;
  std::string window_;
};

}  // namespace running_quoit

using running_quoit::Geometry;
using running_quoit::Image;
using running_quoit::RunningQuoit;
using running_quoit::chooseFromMenu;
using running_quoit::findVisible;
using running_quoit::readPng;
using running_quoit::shownMenus;
using running_quoit::windowGeometry;
