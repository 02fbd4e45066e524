// The local-text numbers the program uses and the printf conversions their callers pass
// (d int, l long, f double, s text), sorted by number. Texts read from the language files are
// checked against this table, so a data file can never make a caller's format read the wrong type.
#include "core/localtext.h"

const LocalTextUse localTextUses[] = {
    {12, ""},        // no memory for the scene of a pattern
    {14, "s"},       // a converter option word that no longer fits
    {15, "ds"},      // an error code and the function that got it
    {16, "sd"},      // a dialog script and the answer limit
    {31, "s"},       // a node name kind that was read and not kept
    {33, "ss"},      // a file that cannot be read and the reason
    {34, "ss"},      // a file that cannot be written and the reason
    {37, ""},        // the button that adds a start notation again
    {39, "s"},       // a file or pattern that exists already
    {40, "s"},       // a file that cannot be opened for reading
    {41, "s"},       // a file that cannot be written
    {42, "d"},       // the number of a missing local text
    {43, "ds"},      // a number outside its range and the function
    {44, "s"},       // a directory that cannot be created
    {45, "ds"},      // an operation code that is not known and the function
    {46, "ss"},      // an internal error and the function that found it
    {47, "ds"},      // an object or hand and its name: the time lies after its chain
    {48, "ds"},      // an object or hand and its name: the time lies before its chain
    {49, "ss"},      // a function and the limit it reached
    {60, ""},        // the wrap part of the full status screen
    {61, ""},        // no wrap lines
    {70, ""},        // a cancel button
    {90, "s"},       // the buffer that could not be allocated
    {101, ""},       // too many models (joined with 102)
    {102, "d"},      // the model limit
    {104, ""},       // object file: broken header
    {105, ""},       // object file: broken point line
    {106, ""},       // object file: a short point
    {107, ""},       // object file: a broken line entry
    {108, "s"},      // object file with a point index out of range
    {109, ""},       // ... in a line
    {110, ""},       // object file: a broken triangle entry
    {111, ""},       // ... in a triangle
    {112, ""},       // object file: a broken sphere entry
    {113, "d"},      // ... in that sphere
    {114, "s"},      // an object file too large for the buffer
    {115, ""},       // object file: hand and head counts
    {117, "ss"},     // an object file and what is wrong in it
    {118, ""},       // object file: a broken polygon head
    {119, ""},       // object file: a broken polygon list
    {120, "d"},      // ... in that attached polygon
    {121, "d"},      // ... in that polygon
    {122, "s"},      // a panorama gravity that is refused
    {123, "dd"},     // a random colour slot and the slot limit
    {124, "sd"},     // a model name and the name limit
    {202, "f"},      // view direction x
    {203, "f"},      // camera centre x in metres
    {204, "f"},      // camera elevation in degrees
    {205, "f"},      // camera azimuth in degrees
    {206, ""},       // a status or help text
    {209, "d"},      // the current object letter
    {210, "s"},      // a siteswap the converter refused
    {212, ""},       // no memory for the VRML reader
    {213, "d"},      // prop shapes built
    {214, "d"},      // prop facets built
    {215, "d"},      // objects of the pattern
    {216, "d"},      // juggler models
    {217, "d"},      // loaded textures
    {218, ""},       // a status or help text
    {219, ""},       // a status or help text
    {220, ""},       // a status or help text
    {221, ""},       // a status or help text
    {230, "sd"},     // the pattern directory and the name limit
    {231, "sd"},     // a file name of the pattern directory and the name limit
    {232, "s"},      // an empty pattern catalogue
    {233, "dsd"},    // a line of the converter list or the preferences, the file and the limit
    {234, "s"},      // an empty converter list
    {235, "ds"},     // a converter list line past the end of the list
    {236, "sd"},     // a converter and its exit status
    {237, "sd"},     // a siteswap text and its limit
    {238, "sd"},     // a converter stopped after its time limit
    {244, "s"},      // a preferences setting (key=value) holding a line end
    {245, "ss"},     // a dialog script that failed and the first line of its error
    {300, ""},       // loading all models
    {302, "s"},      // the MPEG parameter file that cannot be written
    {303, ""},       // the title of the MPEG parameter file
    {306, "f"},      // frames per second
    {310, ""},       // a status or help text
    {313, ""},       // a status or help text
    {314, ""},       // a status or help text
    {316, ""},       // a status or help text
    {317, ""},       // a status or help text
    {318, ""},       // a status or help text
    {320, ""},       // a status or help text
    {321, ""},       // a status or help text
    {323, ""},       // a status or help text
    {326, ""},       // a status or help text
    {327, ""},       // a status or help text
    {329, ""},       // a status or help text
    {330, ""},       // a status or help text
    {331, ""},       // a status or help text
    {332, ""},       // a status or help text
    {333, ""},       // a status or help text
    {334, ""},       // a status or help text
    {336, ""},       // a status or help text
    {338, ""},       // a status or help text
    {340, ""},       // a status or help text
    {344, ""},       // a status or help text
    {345, ""},       // a status or help text
    {346, ""},       // a status or help text
    {349, ""},       // a status or help text
    {352, ""},       // a status or help text
    {353, ""},       // a status or help text
    {354, ""},       // a status or help text
    {355, ""},       // a status or help text
    {361, "d"},      // a picked model that cannot be taken
    {362, "s"},      // an object to remove that is not loaded
    {363, ""},       // the POV-Ray files are written
    {366, ""},       // the flight path is being computed
    {367, ""},       // no temporary directory for the paths
    {368, ""},       // no model for a random object
    {369, ""},       // a status or help text
    {370, ""},       // a status or help text
    {371, ""},       // a status or help text
    {372, ""},       // a status or help text
    {373, ""},       // a status or help text
    {374, ""},       // a status or help text
    {375, ""},       // a status or help text
    {376, ""},       // a status or help text
    {377, ""},       // a status or help text
    {379, ""},       // a status or help text
    {380, ""},       // a status or help text
    {381, ""},       // a status or help text
    {382, ""},       // a status or help text
    {383, ""},       // a status or help text
    {384, ""},       // a status or help text
    {385, ""},       // a status or help text
    {386, ""},       // a status or help text
    {387, ""},       // a status or help text
    {388, ""},       // a status or help text
    {389, ""},       // a status or help text
    {390, ""},       // a status or help text
    {391, ""},       // a status or help text
    {394, ""},       // a status or help text
    {395, ""},       // a status or help text
    {396, ""},       // a status or help text
    {397, ""},       // a status or help text
    {398, ""},       // a status or help text
    {399, ""},       // a status or help text
    {400, ""},       // a status or help text
    {401, ""},       // a status or help text
    {402, ""},       // a status or help text
    {403, ""},       // a status or help text
    {404, ""},       // a status or help text
    {406, ""},       // a status or help text
    {407, ""},       // a status or help text
    {501, ""},       // a status or help text
    {502, "s"},      // the name a siteswap is saved under
    {503, ""},       // no converted siteswap to save
    {504, ""},       // animated-image recording is not available
    {601, "s"},      // a juggler list whose count line is no number
    {701, "d"},      // which count of a bounce throw's floor contacts is too high
    {702, "dd"},     // the takts of a bounce throw that has no path
    {703, "d"},      // why a bounce throw is turned the other way
    {714, ""},       // too many objects to load
    {715, "d"},      // a model number missing from the list
    {716, "s"},      // a figure model that cannot be loaded
    {717, ""},       // no figure in the juggler list
    {718, "d"},      // an object letter too many
    {720, "d"},      // the hand-macro limit
    {721, "s"},      // a prop model that cannot be loaded
    {723, "d"},      // the comment line of a flight-path file: the object letter
    {725, "d"},      // the size of the hand paths' list of holds
    {726, "d"},      // a takt outside the pattern
    {727, "d"},      // a hand column outside the pattern
    {728, "d"},      // a negative holding hand
    {729, "d"},      // the slot after which a hand chain cannot be closed
    {730, "d"},      // a hand macro used in more than one column
    {731, "s"},      // where the time lies outside an object's chain
    {732, "dd"},     // a hand whose chain does not fit and its slots
    {735, "d"},      // the cell length limit
    {740, "d"},      // a header entry letter with a bad point or value
    {743, "ddsd"},   // takt, object letter, the cut comment and its length
    {744, "s"},      // where the time lies outside a hand's chain
    {745, "s"},      // a VRML field that is dropped
    {747, "d"},      // a takt with too few hand columns
    {749, "d"},      // the object count O= must give
    {751, "d"},      // the figure limit
    {753, "dds"},    // a letter twice in a takt of a file
    {760, "f"},      // dt
    {761, "f"},      // g
    {763, "f"},      // dwell
    {764, "dd"},     // jugglers and their limit
    {765, "dd"},     // hands and their limit
    {766, "d"},      // the object limit
    {770, "d"},      // a takt with an open bracket group
    {771, "d"},      // the prop limit
    {772, "d"},      // the number of failed path checks
    {773, "d"},      // a prop number
    {774, "d"},      // a takt with '&' before its first cell
    {775, "sl"},     // a pattern file and the size limit
    {776, "d"},      // the takt-line limit
    {779, "d"},      // a header entry letter with a bad value
    {780, "ds"},     // a header entry letter the rewriter refuses and the pattern file
    {802, "s"},      // the scene list operation that ran out of memory
    {900, "s"},      // the POV-Ray scene being written
    {901, "s"},      // a POV-Ray file that cannot be created
    {902, ""},       // the title of the POV-Ray INI file
    {903, ""},       // the title of the POV-Ray scene
    {904, ""},       // how to render only the frame on screen
    {905, ""},       // the film covers one cycle
    {1000, ""},      // head angles: only tilt and turn
    {1100, "s"},     // an image file that is not a binary PPM
    {1101, "s"},     // a PPM image whose size is not 64, 128 or 256
    {1104, "s"},     // an image file of an unknown format
    {1105, "s"},     // a texture that cannot be loaded
    {1200, "s"},     // a node stack that is full
    {1201, "s"},     // a node stack that is empty
    {1202, "s"},     // a model file with a face set without normals
    {2413, ""},      // a start notation added to the collection
    {2414, "s"},     // a start-notation answer that is not understood
    {2415, "ss"},    // the collection and the section anchor it lacks
    {2610, ""},      // the scene editor's status title
    {2612, "d"},     // the number of jugglers placed on a circle
    {2620, "d"},     // the kind letter of a juggler's left hand
    {2621, "d"},     // the kind letter of a juggler's right hand
    {2626, ""},      // the title of the editor's prop model requester
    {2628, "d"},     // props of the edited scene
    {2630, ""},      // saving a converted siteswap's scene before leaving
    {2632, ""},      // an editor help line
    {2633, ""},      // an editor help line
    {2634, ""},      // an editor help line
    {2635, ""},      // a walking editor help line
    {2636, ""},      // a status or help text
    {2637, ""},      // a scene editor help line
    {2638, ""},      // a scene editor help line
    {2639, ""},      // a scene editor help line
    {2640, ""},      // a scene editor help line
    {2641, ""},      // a scene editor help line
    {2642, ""},      // a scene editor help line
    {2643, "d"},     // the pattern's jugglers, when none can be added
    {2644, "dd"},    // the jugglers a circle needs and the pattern's
    {2645, "s"},     // a model name with blanks
    {2646, ""},      // leaving an editor with saving
    {2647, ""},      // leaving an editor without saving
    {2648, ""},      // the title of the walking editor's panel
    {2649, ""},      // the beat count on the walking editor's panel
    {2650, ""},      // the beat duration on the walking editor's panel
    {2651, "s"},     // a pattern file whose keyframe section was not read whole
    {2656, ""},      // the scene editor left without its question
};
const int localTextUseCount = int(sizeof localTextUses / sizeof localTextUses[0]);
