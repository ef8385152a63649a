// The settings file's numbers and flags, read whole or not at all.
#include <gtest/gtest.h>

#include "profile.h"
#include "settings.h"
#include "tempdir.h"

TEST(PaintSettings, IntegersAreReadWholeOrNotAtAll)
{
    const struct { const char* text; bool ok; long long value; } cases[] = {
        {"1", true, 1},       {"01", true, 1},      {" \t7 ", true, 7},   {"+2", true, 2},
        {"-3", true, -3},     {"0", true, 0},       {"1x", false, 0},     {"x1", false, 0},
        {"1 2", false, 0},    {"", false, 0},       {" ", false, 0},      {"-", false, 0},
        {"+-1", false, 0},    {"1.0", false, 0},
        {"10000000000000", true, 10000000000000LL},   // the largest that fits the guard
        {"9999999999999", true, 9999999999999LL},
        {"99999999999999", false, 0},   {"100000000000000", false, 0},
    };
    for (const auto& c : cases) {
        long long v = -99;
        EXPECT_EQ(quor::readinteger(c.text, v), c.ok) << c.text;
        EXPECT_EQ(v, c.ok ? c.value : -99) << c.text;
    }
}

TEST(PaintSettings, FlagsAreOnOnlyForTheNumberOne)
{
    const struct { const char* value; bool on; } cases[] = {
        {"1", true}, {"01", true}, {" 1", true}, {"+1", true}, {"1x", false}, {"11", false},
        {"0", false}, {"-1", false}, {"", false}, {"yes", false},
    };
    quortest::tempdir dir;
    for (const auto& c : cases) {
        const std::string path =
            dir.write("v.ini", std::string("[state]\nisontop=") + c.value + "\nshowresult=" + c.value + "\n");
        const quor::tpaintsettings s = quor::readpaintsettings(quor::tprofile(path));
        EXPECT_EQ(s.ontop, c.on) << c.value;
        EXPECT_EQ(s.showresult, c.on) << c.value;
    }
}

TEST(PaintSettings, UnitCountIsCutToTheFileLines)
{
    // A count past the file's lines reads no more entries than it has lines: a huge count
    // must not make as many empty entries.
    const struct { const char* count; std::vector<std::string> units; } cases[] = {
        {"10", {"a", "", "", ""}}, {"4", {"a", "", "", ""}}, {"3", {"a", "", ""}}, {"1", {"a"}}, {"0", {}},
    };
    quortest::tempdir dir;
    for (const auto& c : cases) {
        const std::string path = dir.write("v.ini", std::string("[units]\ncount=") + c.count + "\nunit0=a\n\n");
        EXPECT_EQ(quor::readpaintsettings(quor::tprofile(path)).units, c.units) << c.count;
    }
}
