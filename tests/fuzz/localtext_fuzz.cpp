// libFuzzer target: any bytes as a local-text file; then every text the program uses is filled
// with arguments of the kinds its callers pass, as the callers use it: as a printf format.
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/localtext.h"
#include "core/prefs.h"
#include "tests/fuzz/fuzz_support.h"

static void fillText(int n) {
  const char *conversions = localTextConversions(n);
  char out[512];
  const char *format = localText(n);
  long l = 7;
  std::string k = conversions ? conversions : "";
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wformat-nonliteral"
#pragma clang diagnostic ignored "-Wformat-security"
  if (k.empty()) snprintf(out, sizeof out, format);
  else if (k == "d") snprintf(out, sizeof out, format, 3);
  else if (k == "s") snprintf(out, sizeof out, format, "text");
  else if (k == "f") snprintf(out, sizeof out, format, 1.5);
  else if (k == "l") snprintf(out, sizeof out, format, l);
  else if (k == "ds") snprintf(out, sizeof out, format, 3, "text");
  else if (k == "sd") snprintf(out, sizeof out, format, "text", 3);
  else if (k == "ss") snprintf(out, sizeof out, format, "text", "text");
  else if (k == "dd") snprintf(out, sizeof out, format, 3, 4);
  else if (k == "sl") snprintf(out, sizeof out, format, "text", l);
  else if (k == "dsd") snprintf(out, sizeof out, format, 3, "text", 4);
  else if (k == "dds") snprintf(out, sizeof out, format, 3, 4, "text");
  else if (k == "ddsd") snprintf(out, sizeof out, format, 3, 4, "text", 5);
#pragma clang diagnostic pop
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::string path = fuzzFile("english", data, size);
  qPrefs.language = ENGLISH;
  if (readLocalTextFile(ENGLISH, path.c_str()) == 0)
    for (int i = 0; i < localTextUseCount; i++) fillText(localTextUses[i].number);
  freeLocalTexts();
  return 0;
}
