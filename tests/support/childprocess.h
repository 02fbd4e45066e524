// Test helpers that run the built programs as child processes (fork and exec with an argument
// vector, never a shell) and handle the scratch directories and files they work in.
#pragma once

#include <string>
#include <vector>

namespace childprocess {

struct Result {
  int exitCode;        // the child's exit status, or -1 when it did not exit normally
  std::string output;  // what it wrote to standard output and standard error
};

// Path of a program built next to the tests (QUOIT_BINARY_DIR is defined for test programs).
#ifdef QUOIT_BINARY_DIR
inline std::string builtProgram(const char *name) { return std::string(QUOIT_BINARY_DIR) + "/" + name; }
#endif

// Runs argv[0] with the arguments argv in the directory workDir and waits for it.
Result run(const std::vector<std::string> &argv, const std::string &workDir);

// A new empty directory under the system's temporary directory.
std::string makeScratchDirectory();
void removeScratchDirectory(const std::string &path);

std::string readFile(const std::string &path);
void writeFile(const std::string &path, const std::string &text);
bool fileExists(const std::string &path);

// Names of the entries of a directory, sorted.
std::vector<std::string> listDirectory(const std::string &path);

}  // namespace childprocess
