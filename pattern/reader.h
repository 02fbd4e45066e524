// Pattern file reader: the pre-scan, the header and body readers, the body-line tokenizer and the
// helpers that look up object letters, cells, wrap partners and hand presets.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct Fangwurf;

enum {
  MAX_TAKTE = 1000,   // body lines of one pattern
  LOO_MAX_OBJECTS = 250301,
};

// One object letter of a body cell: the letter, its virtual-hand level (number of '&' before it in
// the cell), the hand macro that handles it (-1 none) and its bounce count.
struct BodyEntry {
  char letter;
  int subIndex;
  int macro;
  int bounce;
};

struct BodyCell {
  std::string text;  // the characters stored in the pattern grid
  std::vector<BodyEntry> entries;
  int ampersands;
};

// A body line split into its cells; comment is the index of its '!' or '%' (npos when none).
struct BodyLine {
  std::vector<BodyCell> cells;
  size_t comment;
};

// Results of scanBodyLine besides 0.
enum { BODY_UNCLOSED_GROUP = 1, BODY_AMPERSAND_FIRST = 2 };

int scanBodyLine(const std::string &line, BodyLine &out);
FILE *Muster_oeffnen(const char *fileName);
int ObjekteSuchen(const char *line, int count);
int MusterHeader_einlesen(FILE *stream);
int Muster_einlesen(FILE *stream);
int muster_ausfuellen(int takt, int column, int position, char character);
int Objekt_Nummer(char letter);
// The hand macro a letter names, -1 for none; the bracket that closes a group, 0 for no group.
int macroIndex(char c);
char closingBracket(char c);
int Objekt_in_Zelle(char letter, int takt, int hand);
int Wrap_Partner(char letter, int direction);
// The object across the wrap boundary (direction 1 after it, 2 before it): the object itself
// without wrap lines, for the empty hand and when the letter has no partner.
int wrapPartnerObject(int object, int direction);
char Wurfart_Buchstabe(uint32_t flag);
int SetJugglersPosition(Fangwurf *entry, uint32_t flag);
void G_Vorgabe_setzen();
void Fangwurf_anheben();
