// The local-text numbers the program uses and the printf conversions their callers pass
// (d int, l long, f double, s text), sorted by number. Texts read from the language files are
// checked against this table, so a data file can never make a caller's format read the wrong type.
#include "core/localtext.h"

const LocalTextUse localTextUses[] = {
    {14, "s"},   // a converter option word that no longer fits
    {15, "ds"},  // an error code and the function that got it
    {16, "sd"},  // a dialog script and the answer limit
    {40, "s"},   // a file that cannot be opened for reading
    {41, "s"},   // a file that cannot be written
    {42, "d"},   // the number of a missing local text
    {43, "ds"},  // a number outside its range and the function
    {44, "s"},   // a directory that cannot be created
    {45, "ds"},  // an operation code that is not known and the function
    {46, "ss"},   // an internal error and the function that found it
    {60, ""},  // the wrap part of the full status screen
    {61, ""},  // no wrap lines
    {90, "s"},   // the buffer that could not be allocated
    {202, "f"},  // view direction x
    {203, "f"},  // camera centre x in metres
    {204, "f"},  // camera elevation in degrees
    {205, "f"},  // camera azimuth in degrees
    {206, ""},  // a status or help text
    {209, "d"},  // the current object letter
    {213, "d"},  // prop shapes built
    {214, "d"},  // prop facets built
    {215, "d"},  // objects of the pattern
    {216, "d"},  // juggler models
    {217, "d"},  // loaded textures
    {218, ""},  // a status or help text
    {219, ""},  // a status or help text
    {220, ""},  // a status or help text
    {221, ""},  // a status or help text
    {306, "f"},  // frames per second
    {310, ""},  // a status or help text
    {313, ""},  // a status or help text
    {314, ""},  // a status or help text
    {316, ""},  // a status or help text
    {317, ""},  // a status or help text
    {318, ""},  // a status or help text
    {320, ""},  // a status or help text
    {321, ""},  // a status or help text
    {323, ""},  // a status or help text
    {326, ""},  // a status or help text
    {327, ""},  // a status or help text
    {329, ""},  // a status or help text
    {330, ""},  // a status or help text
    {331, ""},  // a status or help text
    {332, ""},  // a status or help text
    {333, ""},  // a status or help text
    {334, ""},  // a status or help text
    {336, ""},  // a status or help text
    {338, ""},  // a status or help text
    {340, ""},  // a status or help text
    {344, ""},  // a status or help text
    {345, ""},  // a status or help text
    {346, ""},  // a status or help text
    {349, ""},  // a status or help text
    {352, ""},  // a status or help text
    {353, ""},  // a status or help text
    {354, ""},  // a status or help text
    {355, ""},  // a status or help text
    {369, ""},  // a status or help text
    {370, ""},  // a status or help text
    {371, ""},  // a status or help text
    {372, ""},  // a status or help text
    {373, ""},  // a status or help text
    {374, ""},  // a status or help text
    {375, ""},  // a status or help text
    {376, ""},  // a status or help text
    {377, ""},  // a status or help text
    {379, ""},  // a status or help text
    {380, ""},  // a status or help text
    {381, ""},  // a status or help text
    {382, ""},  // a status or help text
    {383, ""},  // a status or help text
    {384, ""},  // a status or help text
    {385, ""},  // a status or help text
    {386, ""},  // a status or help text
    {387, ""},  // a status or help text
    {388, ""},  // a status or help text
    {389, ""},  // a status or help text
    {390, ""},  // a status or help text
    {391, ""},  // a status or help text
    {394, ""},  // a status or help text
    {395, ""},  // a status or help text
    {396, ""},  // a status or help text
    {397, ""},  // a status or help text
    {398, ""},  // a status or help text
    {399, ""},  // a status or help text
    {400, ""},  // a status or help text
    {401, ""},  // a status or help text
    {402, ""},  // a status or help text
    {403, ""},  // a status or help text
    {404, ""},  // a status or help text
    {406, ""},  // a status or help text
    {501, ""},  // a status or help text
    {718, "d"},   // an object letter too many
    {720, "d"},   // the hand-macro limit
    {721, "s"},   // a prop model that cannot be loaded
    {726, "d"},   // a takt outside the pattern
    {727, "d"},   // a hand column outside the pattern
    {730, "d"},   // a hand macro used in more than one column
    {735, "d"},   // the cell length limit
    {740, "d"},   // a header entry letter with a bad point or value
    {743, "ddsd"},  // takt, object letter, the cut comment and its length
    {747, "d"},   // a takt with too few hand columns
    {749, "d"},   // the object count O= must give
    {753, "dds"}, // a letter twice in a takt of a file
    {760, "f"},   // dt
    {761, "f"},   // g
    {763, "f"},   // dwell
    {764, "dd"},  // jugglers and their limit
    {765, "dd"},  // hands and their limit
    {766, "d"},   // the object limit
    {770, "d"},   // a takt with an open bracket group
    {771, "d"},   // the prop limit
    {772, "d"},   // the number of failed path checks
    {773, "d"},   // a prop number
    {774, "d"},   // a takt with '&' before its first cell
    {775, "sl"},  // a pattern file and the size limit
    {776, "d"},   // the takt-line limit
    {779, "d"},   // a header entry letter with a bad value
    {802, "s"},   // the scene list operation that ran out of memory
    {2636, ""},  // a status or help text
};
const int localTextUseCount = int(sizeof localTextUses / sizeof localTextUses[0]);
