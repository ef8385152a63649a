// The plotter's settings as read from vivevazed.ini: the integer reading rules at their
// edges, and what each odd value of a setting reads as.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profile.h"
#include "settings.h"
#include "tempdir.h"
#include "units.h"

namespace {

TEST(PaintSettings, IntegerReading)
{
    const struct { const char* text; bool ok; long long v; } rows[] = {
        {"0", true, 0}, {"1", true, 1}, {"+1", true, 1}, {"-1", true, -1}, {"-0", true, 0},
        {" \t12 \t", true, 12}, {"007", true, 7},
        {"", false, 0}, {"  ", false, 0}, {"+", false, 0}, {"-", false, 0}, {"1x", false, 0},
        {"x1", false, 0}, {"1 2", false, 0}, {"--1", false, 0}, {"1.0", false, 0}, {"0x10", false, 0},
        // Up to 14 digits; past 10^13 the digits stop counting.
        {"10000000000009", true, 10000000000009LL}, {"-10000000000000", true, -10000000000000LL},
        {"10000000000010", false, 0}, {"100000000000000", false, 0},
    };
    for (const auto& r : rows) {
        long long v = -99;
        EXPECT_EQ(quor::readinteger(r.text, v), r.ok) << '"' << r.text << '"';
        EXPECT_EQ(v, r.ok ? r.v : -99) << '"' << r.text << '"';
    }
}

TEST(PaintSettings, OddValuesReadAsTheirDefaults)
{
    const struct { const char* ini; bool ontop, showresult; std::vector<std::string> units; } rows[] = {
        {"[state]\nisontop=1\nshowresult=+1\n", true, true, {}},
        {"[state]\nisontop= 1 \nshowresult=01\n", true, true, {}},
        {"[state]\nisontop=1x\nshowresult=2\n", false, false, {}},
        {"[state]\nisontop=\nshowresult=-1\n", false, false, {}},
        {"[units]\ncount=2\nunit0=a.txt\nunit1=b.txt\nunit2=c.txt\n", false, false, {"a.txt", "b.txt"}},
        {"[units]\ncount=-1\nunit0=a.txt\n", false, false, {}},
        {"[units]\ncount=two\nunit0=a.txt\n", false, false, {}},
        // A count beyond the file's lines is cut to them; missing entries read empty.
        {"[units]\ncount=9\nunit1=b.txt\n", false, false, {"", "b.txt", ""}},
    };
    for (const auto& r : rows) {
        quortest::tempdir dir;
        dir.write("vivevazed.ini", r.ini);
        const quor::tpaintsettings s = quor::readpaintsettings(quor::tprofile(dir.str() + "/vivevazed.ini"));
        EXPECT_EQ(s.ontop, r.ontop) << r.ini;
        EXPECT_EQ(s.showresult, r.showresult) << r.ini;
        EXPECT_EQ(s.units, r.units) << r.ini;
        EXPECT_EQ(s.varname, "x") << r.ini;
        EXPECT_EQ(s.backimage, "face.bmp") << r.ini;
    }
}

TEST(PaintSettings, WrittenInTheClosingStepsOrder)
{
    quortest::tempdir dir;
    const std::string path = dir.str() + "/vivevazed.ini";
    quor::tprofile p(path);
    quor::tpaintsettings s;
    s.ontop = true;
    s.varname = "t";
    s.backimage = "sky.bmp";
    s.units = {"u.txt", "v.txt"};
    quor::writepaintsettings(p, s);
    ASSERT_TRUE(p.save());
    std::string text;
    ASSERT_TRUE(quor::readtextfile(path, text));
    std::erase(text, '\r');
    // backimage joins its section's other keys, after the [vari] section was begun.
    EXPECT_EQ(text, "[state]\nisontop=1\nshowresult=0\nbackimage=sky.bmp\n[vari]\nvari=t\n"
                    "[units]\ncount=2\nunit0=u.txt\nunit1=v.txt\n");
    const quor::tpaintsettings back = quor::readpaintsettings(quor::tprofile(path));
    EXPECT_TRUE(back.ontop);
    EXPECT_FALSE(back.showresult);
    EXPECT_EQ(back.varname, "t");
    EXPECT_EQ(back.backimage, "sky.bmp");
    EXPECT_EQ(back.units, s.units);
}

}  // namespace
