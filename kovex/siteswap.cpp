// siteswap: reads siteswap notation into the throws of one cycle and checks them.
#include "siteswap.h"

#include <cctype>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <numeric>

std::string format(const char *fmt, ...) {
  char buffer[200];
  va_list args;
  va_start(args, fmt);
  vsnprintf(buffer, sizeof buffer, fmt, args);
  va_end(args);
  return buffer;
}

namespace {

const int DEFAULT_TARGET = -2;  // 'p' without a juggler number: the next juggler
const int MAX_PASSING_JUGGLERS = 9;  // pass targets are one digit

struct Throw {
  int value;
  bool cross;
  bool pass;
  int target;  // juggler index of a pass, DEFAULT_TARGET, or -1
  size_t passPos;  // position of the 'p' in the text
};

// One step of a juggler's sequence: an asynchronous throw (hands[0]) or a synchronous pair
// (hands[0] right, hands[1] left), which takes two beats.
struct Element {
  bool sync;
  std::vector<Throw> hands[2];
};

std::string countWord(int n) {
  static const char *const words[] = {"no", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine", "ten"};
  return n >= 0 && n <= 10 ? words[n] : std::to_string(n);
}

}  // namespace

int siteswapThrowValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z' && c != 'p' && c != 'x') return c - 'a' + 10;
  return -1;
}

namespace {

class Parser {
 public:
  Parser(const std::string &text, std::string *error) : s(text), error(error) {}

  // Reads the juggler sequence s[begin, end) into elements.
  bool sequence(size_t begin, size_t end, bool passing, std::vector<Element> *elements) {
    pos = begin;
    limit = end;
    allowPass = passing;
    while (skipBlanks()) {
      char c = s[pos];
      if (c == '*') return star(elements);
      Element e{};
      if (c == '(') {
        e.sync = true;
        pos++;
        if (!throwSet(&e.hands[1]) || !expect(',') || !throwSet(&e.hands[0]) || !expect(')')) return false;
      } else if (!throwSet(&e.hands[0])) {
        return false;
      }
      if (!elements->empty() && elements->back().sync != e.sync)
        return fail(format("position %d: synchronous and asynchronous throws are mixed", (int)pos + 1));
      elements->push_back(e);
    }
    if (elements->empty()) return fail("a juggler has no throws");
    return true;
  }

  std::vector<std::pair<size_t, int>> defaultPasses;  // (text position, thrower), filled by the caller

 private:
  bool fail(const std::string &message) {
    *error = message;
    return false;
  }

  bool skipBlanks() {
    while (pos < limit && s[pos] == ' ') pos++;
    return pos < limit;
  }

  bool unexpected() {
    if (pos >= limit) return fail(format("the siteswap ends too early after position %d", (int)pos));
    std::string m = "'";
    m += s[pos];
    return fail(m + format("' at position %d is not a throw", (int)pos + 1));
  }

  bool expect(char c) {
    skipBlanks();
    if (pos < limit && s[pos] == c) {
      pos++;
      return true;
    }
    if (pos >= limit) return fail(std::string("'") + c + format("' is missing at position %d", (int)pos + 1));
    return fail(std::string("'") + s[pos] + format("' at position %d: '", (int)pos + 1) + c + "' expected");
  }

  bool throwSet(std::vector<Throw> *throws) {
    skipBlanks();
    if (pos < limit && s[pos] == '[') {
      size_t open = pos++;
      while (pos < limit && s[pos] != ']') {
        if (s[pos] == ' ') {
          pos++;
          continue;
        }
        if (!oneThrow(throws)) return false;
      }
      if (pos >= limit) return fail(format("the '[' at position %d is not closed", (int)open + 1));
      pos++;
      if (throws->empty()) return fail(format("the multiplex at position %d is empty", (int)open + 1));
      return true;
    }
    return oneThrow(throws);
  }

  bool oneThrow(std::vector<Throw> *throws) {
    if (pos >= limit || siteswapThrowValue(s[pos]) < 0) return unexpected();
    Throw t{siteswapThrowValue(s[pos]), false, false, -1, 0};
    size_t at = pos++;
    while (pos < limit && (s[pos] == 'x' || s[pos] == 'p')) {
      if (s[pos] == 'x') {
        if (t.cross) return fail(format("position %d: a second 'x'", (int)pos + 1));
        t.cross = true;
        pos++;
        continue;
      }
      if (!allowPass)
        return fail(format("'p' at position %d: passes belong in a passing pattern <...|...>", (int)pos + 1));
      if (t.pass) return fail(format("position %d: a second 'p'", (int)pos + 1));
      t.pass = true;
      t.passPos = pos++;
      t.target = DEFAULT_TARGET;
      if (pos < limit && s[pos] >= '1' && s[pos] <= '9') t.target = s[pos++] - '1';
    }
    if (t.value == 0 && (t.cross || t.pass))
      return fail(format("position %d: a 0 throw can neither cross nor be passed", (int)at + 1));
    throws->push_back(t);
    return true;
  }

  // '*' repeats a synchronous sequence with the hands swapped.
  bool star(std::vector<Element> *elements) {
    if (elements->empty() || !elements->back().sync)
      return fail(format("'*' at position %d only follows synchronous throws", (int)pos + 1));
    pos++;
    if (skipBlanks()) return fail(format("position %d: nothing may follow the '*'", (int)pos + 1));
    size_t n = elements->size();
    for (size_t i = 0; i < n; i++) {
      Element e = (*elements)[i];
      std::swap(e.hands[0], e.hands[1]);
      elements->push_back(e);
    }
    return true;
  }

  const std::string &s;
  std::string *error;
  size_t pos = 0, limit = 0;
  bool allowPass = false;
};

int beatsOf(const std::vector<Element> &elements) {
  int beats = 0;
  for (const Element &e : elements) beats += e.sync ? 2 : 1;
  return beats;
}

// The bracket-level position of the closing character of a group opened at s[open].
size_t groupEnd(const std::string &s, size_t open, char close) {
  for (size_t i = open + 1; i < s.size(); i++)
    if (s[i] == close) return i;
  return std::string::npos;
}

// Reads "<a|b|...><...>..." into one element sequence per juggler.
bool readPassing(const std::string &s, Parser &parser, std::vector<std::vector<Element>> *jugglers,
                 std::string *error) {
  size_t pos = 0;
  int group = 0;
  while (pos < s.size()) {
    if (s[pos] != '<') {
      *error = std::string("'") + s[pos] + format("' at position %d: '<' expected", (int)pos + 1);
      return false;
    }
    size_t close = groupEnd(s, pos, '>');
    if (close == std::string::npos) {
      *error = format("the '<' at position %d is not closed", (int)pos + 1);
      return false;
    }
    group++;
    std::vector<std::vector<Element>> parts;
    size_t begin = pos + 1;
    for (size_t i = begin; i <= close; i++) {
      if (i < close && s[i] != '|') continue;
      parts.emplace_back();
      if (!parser.sequence(begin, i, true, &parts.back())) return false;
      begin = i + 1;
    }
    if (jugglers->empty()) jugglers->resize(parts.size());
    if (parts.size() != jugglers->size()) {
      *error = format("group %d has %d jugglers, the first group has %d", group, (int)parts.size(),
                      (int)jugglers->size());
      return false;
    }
    for (size_t j = 0; j < parts.size(); j++) {
      if (beatsOf(parts[j]) != beatsOf(parts[0])) {
        *error = format("group %d: juggler %d's throws take %d beats", group, (int)j + 1, beatsOf(parts[j])) +
                 format(", juggler 1's take %d", beatsOf(parts[0]));
        return false;
      }
      (*jugglers)[j].insert((*jugglers)[j].end(), parts[j].begin(), parts[j].end());
    }
    pos = close + 1;
  }
  return true;
}

// Resolves the pass targets of every juggler and notes the 'p's without a number.
bool resolveTargets(std::vector<std::vector<Element>> &jugglers, Parser &parser, std::string *error) {
  int count = (int)jugglers.size();
  for (int j = 0; j < count; j++)
    for (Element &e : jugglers[j])
      for (std::vector<Throw> &hand : e.hands)
        for (Throw &t : hand) {
          if (!t.pass) continue;
          if (t.target == DEFAULT_TARGET) {
            t.target = (j + 1) % count;
            parser.defaultPasses.push_back({t.passPos, t.target});
          }
          if (t.target >= count) {
            *error = format("position %d: there is no juggler %d", (int)t.passPos + 1, t.target + 1);
            return false;
          }
          if (t.target == j) {
            *error = format("position %d: juggler %d passes to itself", (int)t.passPos + 1, j + 1);
            return false;
          }
        }
  return true;
}

std::string canonicalText(const std::string &s, const std::vector<std::pair<size_t, int>> &defaults) {
  std::string out;
  for (size_t i = 0; i < s.size(); i++) {
    if (s[i] == ' ') continue;
    out += s[i];
    for (const auto &d : defaults)
      if (d.first == i) out += (char)('1' + d.second);
  }
  return out;
}

std::string handText(const Siteswap &p, int juggler, int hand) {
  std::string side = hand == 0 ? "right hand" : "left hand";
  if (p.jugglers == 1) return " in the " + side;
  return format(" in juggler %d's ", juggler + 1) + side;
}

// Every hand must catch at each beat exactly as many objects as it throws.
bool checkLandings(const Siteswap &p, bool handIsImplied, std::string *error) {
  int slots = p.cycle * p.jugglers * 2;
  std::vector<int> thrown(slots, 0), landing(slots, 0);
  for (const SiteswapThrow &t : p.throws) {
    thrown[(t.beat * p.jugglers + t.fromJuggler) * 2 + t.fromHand]++;
    int at = (t.beat + t.value) % p.cycle;
    landing[(at * p.jugglers + t.toJuggler) * 2 + t.toHand]++;
  }
  for (int i = 0; i < slots; i++) {
    if (landing[i] <= thrown[i]) continue;
    int beat = i / 2 / p.jugglers;
    std::string m = countWord(landing[i]) + (landing[i] == 1 ? " throw lands" : " throws land");
    m += format(" on beat %d", beat);
    if (!handIsImplied) m += handText(p, i / 2 % p.jugglers, i % 2);
    if (thrown[i] == 0) m += ", where nothing is thrown";
    if (thrown[i] > 1) m += ", where " + countWord(thrown[i]) + " are thrown";
    *error = m;
    return false;
  }
  return true;
}

void addThrow(Siteswap *p, int beat, int fromJ, int fromH, int value, int toJ, int toH) {
  p->throws.push_back({beat, fromJ, fromH, value, toJ, toH});
  if (value > p->maxValue) p->maxValue = value;
}

// A vanilla siteswap thrown by `hands` hands in turn: hand k of the turn is juggler k's right
// hand, hand k + jugglers juggler k's left hand.
void expandVanilla(const std::vector<Element> &seq, int hands, bool mirrored, Siteswap *p) {
  int jugglers = hands / 2;
  auto handOf = [&](int beat, int *juggler) {
    int g = beat % hands;
    *juggler = g % jugglers;
    return (g < jugglers ? 0 : 1) ^ (mirrored ? 1 : 0);
  };
  for (int beat = 0; beat < p->cycle; beat++) {
    int fromJ, toJ;
    int fromH = handOf(beat, &fromJ);
    for (const Throw &t : seq[beat % p->period].hands[0]) {
      if (t.value == 0) continue;
      int toH = handOf(beat + t.value, &toJ);
      addThrow(p, beat, fromJ, fromH, t.value, toJ, toH);
    }
  }
}

// Every juggler throws its own sequence; asynchronous hands alternate starting with the right
// hand, synchronous throws keep their hand unless they cross.
void expandJugglers(const std::vector<std::vector<Element>> &jugglers, bool mirrored, Siteswap *p) {
  int m = mirrored ? 1 : 0;
  for (int rep = 0; rep * p->period < p->cycle; rep++) {
    for (size_t j = 0; j < jugglers.size(); j++) {
      int beat = rep * p->period;
      for (const Element &e : jugglers[j]) {
        for (int h = 0; h < (e.sync ? 2 : 1); h++)
          for (const Throw &t : e.hands[h]) {
            if (t.value == 0) continue;
            int toJ = t.pass ? t.target : (int)j;
            int fromH = e.sync ? h ^ m : (beat % 2) ^ m;
            int toH = e.sync ? fromH ^ (t.cross ? 1 : 0) : ((beat + t.value) % 2) ^ m;
            addThrow(p, beat, (int)j, fromH, t.value, toJ, toH);
          }
        beat += e.sync ? 2 : 1;
      }
    }
  }
}

// All jugglers throw alike; synchronous throws are even, only they cross with 'x'.
bool checkKinds(const std::vector<std::vector<Element>> &jugglers, bool sync, std::string *error) {
  for (const std::vector<Element> &seq : jugglers)
    for (const Element &e : seq) {
      if (e.sync != sync) {
        *error = "synchronous and asynchronous jugglers are mixed";
        return false;
      }
      for (const std::vector<Throw> &hand : e.hands)
        for (const Throw &t : hand) {
          if (sync && t.value % 2 != 0) {
            *error = format("the synchronous throw %d is odd", t.value);
            return false;
          }
          if (!sync && t.cross) {
            *error = "'x' belongs to synchronous throws";
            return false;
          }
        }
    }
  return true;
}

int sumOfThrows(const std::vector<std::vector<Element>> &jugglers) {
  int sum = 0;
  for (const std::vector<Element> &seq : jugglers)
    for (const Element &e : seq)
      for (const std::vector<Throw> &hand : e.hands)
        for (const Throw &t : hand) sum += t.value;
  return sum;
}

// Lower case, tabs as blanks, no blanks at the ends or twice in a row.
std::string normalised(const std::string &typed) {
  std::string text;
  for (char c : typed) {
    char l = c == '\t' ? ' ' : (char)tolower((unsigned char)c);
    if (l == ' ' && (text.empty() || text.back() == ' ')) continue;
    text += l;
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

std::vector<std::string> splitSiteswaps(const std::string &text) {
  std::vector<std::string> words;
  std::string word;
  int depth = 0;
  for (char c : text) {
    if (c == '<' || c == '(' || c == '[') depth++;
    if ((c == '>' || c == ')' || c == ']') && depth > 0) depth--;
    if ((c == ' ' || c == '\t') && depth == 0) {
      if (!word.empty()) words.push_back(word);
      word.clear();
      continue;
    }
    word += c == '\t' ? ' ' : c;
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

bool readSiteswap(const std::string &typed, int hands, bool mirrored, Siteswap *p, std::string *error) {
  *p = Siteswap{};
  p->text = normalised(typed);
  if (p->text.empty()) {
    *error = "the siteswap is empty";
    return false;
  }
  const std::string &s = p->text;
  Parser parser(s, error);
  std::vector<std::vector<Element>> jugglers;
  p->passing = s[0] == '<';
  if (p->passing) {
    if (!readPassing(s, parser, &jugglers, error)) return false;
    if (jugglers.size() > (size_t)MAX_PASSING_JUGGLERS) {
      *error = format("%d jugglers: a passing pattern has at most %d", (int)jugglers.size(), MAX_PASSING_JUGGLERS);
      return false;
    }
    if (!resolveTargets(jugglers, parser, error)) return false;
  } else {
    jugglers.resize(1);
    if (!parser.sequence(0, s.size(), false, &jugglers[0])) return false;
  }
  p->sync = jugglers[0][0].sync;
  if (!checkKinds(jugglers, p->sync, error)) return false;
  p->period = beatsOf(jugglers[0]);
  int sum = sumOfThrows(jugglers);
  if (sum % p->period != 0) {
    *error = format("the average %d/%d is not a whole number", sum, p->period);
    return false;
  }
  p->objects = sum / p->period;
  if (p->objects == 0) {
    *error = "the pattern has no objects";
    return false;
  }
  bool vanilla = !p->passing && !p->sync;
  if (vanilla) {
    if (hands < 2 || hands % 2 != 0 || hands / 2 > SITESWAP_MAX_JUGGLERS) {
      *error = format("%d hands: the hands must be an even number from 2 to %d", hands, 2 * SITESWAP_MAX_JUGGLERS);
      return false;
    }
    p->jugglers = hands / 2;
    p->cycle = std::lcm(p->period, hands);
  } else {
    p->jugglers = (int)jugglers.size();
    p->cycle = p->sync ? p->period : std::lcm(p->period, 2);
  }
  if (p->cycle > SITESWAP_MAX_CYCLE) {
    *error = format("the pattern repeats only after %d beats, more than %d", p->cycle, SITESWAP_MAX_CYCLE);
    return false;
  }
  if (vanilla) expandVanilla(jugglers[0], hands, mirrored, p);
  else expandJugglers(jugglers, mirrored, p);
  p->canonical = canonicalText(s, parser.defaultPasses);
  return checkLandings(*p, vanilla && hands == 2, error);
}

namespace {

// The beats at which the objects in the air before beat 0 land, as bits (bit k: beat k).
bool stateBeforeStart(const Siteswap &p, uint64_t *state) {
  *state = 0;
  std::vector<int> perBeat((size_t)p.cycle, 0);
  for (const SiteswapThrow &t : p.throws) {
    if (++perBeat[(size_t)t.beat] > 1) return false;
    for (int thrown = t.beat - p.cycle; thrown + t.value >= 0; thrown -= p.cycle) *state |= 1ull << (thrown + t.value);
  }
  return true;
}

// The shortest throws from state a to state b: after k throws the objects still in the air from
// a must fit into b, and each object a brings down in between fills one of b's other beats.
bool transition(uint64_t a, uint64_t b, std::string *throws) {
  int k = 0;
  while ((a >> k) & ~b) k++;
  uint64_t free = b & ~(a >> k);
  throws->clear();
  for (int i = 0; i < k; i++) {
    if (!(a >> i & 1)) {
      *throws += '0';
      continue;
    }
    int j = 0;
    while (!(free >> j & 1)) j++;
    free &= ~(1ull << j);
    int value = k + j - i;
    char c = value < 10 ? (char)('0' + value) : (char)('a' + value - 10);
    if (siteswapThrowValue(c) != value) return false;
    *throws += c;
  }
  return true;
}

}  // namespace

bool groundTransitions(const Siteswap &p, std::string *in, std::string *out) {
  uint64_t state;
  if (p.sync || p.passing || p.maxValue > 40 || !stateBeforeStart(p, &state)) return false;
  uint64_t ground = (1ull << p.objects) - 1;
  return transition(ground, state, in) && transition(state, ground, out);
}
