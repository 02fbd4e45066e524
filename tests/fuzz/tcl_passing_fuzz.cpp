// libFuzzer target: any bytes as the exchange file "tmp/tcl_passing" a dialog leaves, read back
// as its answer into a buffer of exactly the answer's size: one line ended inside the buffer and,
// when it was read, the start of the file. Then taken as the callers take it: a number, a file
// whose directory is remembered, a name without trailing blanks.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/Tcl.h"
#include "core/utils.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const bool inScratch = chdir(fuzzScratch().c_str()) == 0 && (mkdir("tmp", 0700) == 0 || errno == EEXIST);
  if (!inScratch) return 0;
  fuzzFile("tmp/tcl_passing", data, size);
  // Empty, as the callers pass it; the rest is filled so that a missing end is seen. The callers
  // take the buffer whatever the reader returns.
  char *answer = new char[TCL_ANSWER_SIZE];
  memset(answer, 'x', TCL_ANSWER_SIZE);
  answer[0] = '\0';
  int code = readTclPassing(answer);
  size_t length = strnlen(answer, TCL_ANSWER_SIZE);
  if (length == TCL_ANSWER_SIZE || strchr(answer, '\n')) abort();
  if (code == 0 && (length > size || memcmp(answer, data, length) != 0)) abort();
  (void)strtol(answer, nullptr, 10);
  (void)directoryOfPath(answer);
  stripTrailingSpace(answer);
  delete[] answer;
  return 0;
}
