#pragma once
// The plotter's settings file, vivevazed.ini: what start-up reads and the closing step writes.
#include <string>
#include <vector>

namespace quor {

class tprofile;

struct tpaintsettings {
    std::string varname = "x";          // [vari] vari
    bool ontop = false;                 // [state] isontop = 1
    bool showresult = false;            // [state] showresult = 1
    std::string backimage = "face.bmp"; // [state] backimage
    std::vector<std::string> units;     // [units] unit0 .. unit(count-1), as written
};

// Reads the settings; a count that is no number or negative reads as 0, and one beyond the
// file's lines is cut to them (a key needs a line).
tpaintsettings readpaintsettings(const tprofile& p);

// Writes, in the closing step's order, isontop, showresult, vari, backimage, count and the
// unit entries; older unit keys past the count stay.
void writepaintsettings(tprofile& p, const tpaintsettings& s);

// A decimal integer as the settings read it: optional blanks and sign, digits only.
bool readinteger(const std::string& text, long long& v);

}  // namespace quor
