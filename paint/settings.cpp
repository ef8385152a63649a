#include "settings.h"

#include <algorithm>

#include "profile.h"

namespace quor {

bool readinteger(const std::string& text, long long& v)
{
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos) return false;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
    const std::size_t start = i;
    long long n = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (n > 1000000000000LL) return false;
        n = n * 10 + (text[i] - '0');
    }
    if (i == start || text.find_first_not_of(" \t", i) != std::string::npos) return false;
    v = negative ? -n : n;
    return true;
}

namespace {

bool isone(const std::string& text)
{
    long long v = 0;
    return readinteger(text, v) && v == 1;
}

}  // namespace

tpaintsettings readpaintsettings(const tprofile& p)
{
    tpaintsettings s;
    s.varname = p.read("vari", "vari", "x");
    s.ontop = isone(p.read("state", "isontop", "0"));
    s.showresult = isone(p.read("state", "showresult", "0"));
    long long count = 0;
    if (!readinteger(p.read("units", "count", "0"), count) || count < 0) count = 0;
    count = std::min<long long>(count, p.linecount());
    s.backimage = p.read("state", "backimage", "face.bmp");
    for (long long i = 0; i < count; ++i) s.units.push_back(p.read("units", "unit" + std::to_string(i), ""));
    return s;
}

void writepaintsettings(tprofile& p, const tpaintsettings& s)
{
    p.write("state", "isontop", s.ontop ? "1" : "0");
    p.write("state", "showresult", s.showresult ? "1" : "0");
    p.write("vari", "vari", s.varname);
    p.write("state", "backimage", s.backimage);
    p.write("units", "count", std::to_string(s.units.size()));
    for (std::size_t i = 0; i < s.units.size(); ++i) p.write("units", "unit" + std::to_string(i), s.units[i]);
}

}  // namespace quor
