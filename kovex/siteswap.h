// siteswap: reads siteswap notation (vanilla, synchronous, multiplex, passing) into the throws of
// one cycle and checks that the pattern can be juggled.
#pragma once

#include <string>
#include <vector>

// Hands: 0 is a juggler's right hand, 1 the left one.
struct SiteswapThrow {
  int beat;  // within the cycle
  int fromJuggler, fromHand;
  int value;  // beats until the object is thrown again; 0 throws are not listed
  int toJuggler, toHand;
};

struct Siteswap {
  std::string text;       // as written, blanks reduced, lower case
  std::string canonical;  // one word: explicit pass targets, no blanks
  int jugglers = 1;
  int period = 0;  // beats as written ('*' repeats included)
  int cycle = 0;   // beats after which throws and hands repeat
  int objects = 0;
  int maxValue = 0;
  bool sync = false, passing = false;
  std::vector<SiteswapThrow> throws;  // one cycle, in beat order
};

const int SITESWAP_MAX_JUGGLERS = 20;
const int SITESWAP_MAX_CYCLE = 5000;  // beats

// Reads one siteswap (no blanks outside brackets). hands: hands of a vanilla siteswap, shared by
// hands / 2 jugglers; mirrored: every juggler starts with the left hand. On failure error holds
// a message naming the problem.
bool readSiteswap(const std::string &text, int hands, bool mirrored, Siteswap *out, std::string *error);

// Throws that lead from the ground state of the pattern's objects into the pattern (in) and from
// the pattern back to it (out), as siteswap text; both are empty for a ground-state pattern.
// False for patterns other than vanilla ones without multiplexes, or when a throw of the
// transition cannot be written.
bool groundTransitions(const Siteswap &siteswap, std::string *in, std::string *out);

// Value of a throw character: '0'-'9', then 'a'-'z' from 10 ('p' and 'x' are marks, not values);
// -1 for anything else.
int siteswapThrowValue(char c);

// Splits a text into siteswaps at the blanks outside brackets.
std::vector<std::string> splitSiteswaps(const std::string &text);

// A message text of at most 199 characters.
__attribute__((format(printf, 1, 2))) std::string format(const char *fmt, ...);
