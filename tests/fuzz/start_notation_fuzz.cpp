// libFuzzer target: the first line is a start-notation dialog answer, the rest a start-notation
// collection; the answer is parsed and its link and table are inserted into the collection.
#include <cstdint>
#include <string>

#include "pattern/siteswaps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::string input(reinterpret_cast<const char *>(data), size);
  size_t lineEnd = input.find('\n');
  std::string answer = input.substr(0, lineEnd == std::string::npos ? input.size() : lineEnd);
  std::string collection = lineEnd == std::string::npos ? std::string() : input.substr(lineEnd + 1);
  StartNotation notation{};
  if (parseStartNotationAnswer(answer.c_str(), notation) != 0) return 0;
  int objects = int(answer.size() % 20);
  std::string section = "<a name=\"" + std::to_string(objects) + "\"";
  std::string next = "<a name=\"" + std::to_string(objects + 1) + "\"";
  // Twice: the second time both are there already.
  for (int pass = 0; pass < 2; pass++) {
    insertedStartNotation(collection, section.c_str(), "<a href", startNotationLink(notation), next.c_str());
    insertedStartNotation(collection, section.c_str(), "<a name", startNotationBlock(notation, objects, answer, ""),
                          "<h2>");
  }
  return 0;
}
