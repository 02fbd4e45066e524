// Fuzz target support: a private scratch directory per process and writing an input into it.
#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

// The scratch directory of this process, made on first use.
inline const std::string &fuzzScratch() {
  static const std::string directory = [] {
    std::string d = "/tmp/quoit_fuzz_" + std::to_string(getpid());
    mkdir(d.c_str(), 0700);
    return d;
  }();
  return directory;
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
