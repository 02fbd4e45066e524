// Pattern file reader: the pre-scan, the header and body readers, the tokenizer of body lines and
// cells, and the helpers that look up object letters, cell entries, wrap partners and hand presets.
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

// One token of a body line or a stored cell: a '&', a bounce mark ('/' or '\'), a group from its
// opening bracket to its closing one, a group whose closing bracket is missing, or any other single
// character (letters, macro letters, '-', blanks and the rest are told apart by the caller).
enum { CELL_CHARACTER, CELL_AMPERSAND, CELL_BOUNCE, CELL_GROUP, CELL_UNCLOSED_GROUP };
struct CellToken {
  int kind;
  char c;      // the token's first character
  size_t end;  // index of its last character: a group's closing bracket, else the start
};

// The token that starts at text[pos], pos < size; a group closes only before size.
CellToken cellToken(const char *text, size_t size, size_t pos);

// Results of scanBodyLine besides 0.
enum { BODY_UNCLOSED_GROUP = 1, BODY_AMPERSAND_FIRST = 2 };

int scanBodyLine(const std::string &line, BodyLine &out);
FILE *Muster_oeffnen(const char *fileName);
int ObjekteSuchen(const char *line, int count);
int MusterHeader_einlesen(FILE *stream);
int Muster_einlesen(FILE *stream);
int muster_ausfuellen(int takt, int column, int position, char character);
int Objekt_Nummer(char letter);
// The hand macro a letter names, -1 for none.
int macroIndex(char c);
int Objekt_in_Zelle(char letter, int takt, int hand);

// One object of a stored cell: its hand (by its '&' level, or the macro named before it), and the
// position of the kind group in front of it (-1 for none).
struct CellEntry {
  int object;
  int hand;
  int group;
  int level;
  bool byMacro;
};
// The objects of a stored cell of that column, up to the first character that is no object letter;
// groups in brackets and bounce marks are skipped, so kind letters are never taken for objects.
// Returns the count (at most CELL_SIZE).
int cellEntries(const char *cell, int column, CellEntry out[]);
int Wrap_Partner(char letter, int direction);
// The object across the wrap boundary (direction 1 after it, 2 before it): the object itself
// without wrap lines, for the empty hand and when the letter has no partner.
int wrapPartnerObject(int object, int direction);
char Wurfart_Buchstabe(uint32_t flag);
int SetJugglersPosition(Fangwurf *entry, uint32_t flag);
void G_Vorgabe_setzen();
void Fangwurf_anheben();
