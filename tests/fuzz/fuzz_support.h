// Fuzz target support: a private scratch directory per process, removed when the process ends,
// a copy of the home directory in it, and writing an input into it.
#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// The scratch directory's path; kept until the very end of the process for its removal.
inline std::string &fuzzScratchPath() {
  static std::string *path = new std::string;
  return *path;
}

inline void removeFuzzScratch() {
  std::error_code error;
  std::filesystem::remove_all(fuzzScratchPath(), error);
}

// The scratch directory of this process in $TMPDIR (else /tmp), made on first use.
inline const std::string &fuzzScratch() {
  static const bool made = [] {
    const char *temp = getenv("TMPDIR");
    fuzzScratchPath() = std::string(temp && *temp ? temp : "/tmp") + "/quoit_fuzz_" + std::to_string(getpid());
    mkdir(fuzzScratchPath().c_str(), 0700);
    atexit(removeFuzzScratch);
    return true;
  }();
  (void)made;
  return fuzzScratchPath();
}

// Writes the bytes into a file of the scratch directory; its path.
inline std::string fuzzFile(const char *name, const uint8_t *data, size_t size) {
  std::string path = fuzzScratch() + "/" + name;
  FILE *f = fopen(path.c_str(), "wb");
  if (f) {
    fwrite(data, 1, size, f);
    fclose(f);
  }
  return path;
}

// A copy of the program's data directory in the scratch directory becomes the working directory,
// so the readers find the floor, figures and props, and whatever they write stays in the copy.
// Its "tmp" is left out: without it a message opens no dialog. False when it cannot be made.
inline bool enterFuzzHome() {
  static const bool entered = [] {
    namespace fs = std::filesystem;
    std::string home = fuzzScratch() + "/home";
    std::error_code error;
    fs::create_directory(home, error);
    for (const fs::directory_entry &entry : fs::directory_iterator(QUOIT_SOURCE_DIR "/data", error)) {
      if (entry.path().filename() == "tmp") continue;
      fs::copy(entry.path(), home + "/" + entry.path().filename().string(),
               fs::copy_options::recursive | fs::copy_options::copy_symlinks | fs::copy_options::overwrite_existing, error);
      if (error) return false;
    }
    return !error && chdir(home.c_str()) == 0;
  }();
  return entered;
}
