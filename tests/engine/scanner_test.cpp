// Text scanners shared by the interpreter: bracket partners, quoted literals, argument
// splitting, unary minus marking and name scanning. Positions are 1-based.
#include <gtest/gtest.h>

#include <string>

#include "scanner.h"

using quor::tdialect;

namespace {
constexpr tdialect ed = tdialect::editor;
constexpr tdialect pl = tdialect::plotter;
}  // namespace

TEST(MatchParen, PartnerOrPastTheEnd)
{
    // The editor skips quoted literals; the plotter counts every bracket.
    const struct { const char* text; long start, editor, plotter; } cases[] = {
        {"(a)", 1, 3, 3},        {"((a)b)", 1, 6, 6},      {"((a)b)", 2, 4, 4}, {"x(a(b)c)d", 2, 8, 8},
        {"(a", 1, 3, 3},         {"(((", 2, 4, 4},         {"('(')", 1, 5, 6},  {"(')')", 1, 5, 3},
        {"('a'')b')", 1, 9, 6},  {"(''')')", 1, 7, 5},     {"('')", 1, 4, 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(quor::matchparen(c.text, c.start, ed), c.editor) << c.text << " @" << c.start;
        EXPECT_EQ(quor::matchparen(c.text, c.start, pl), c.plotter) << c.text << " @" << c.start;
    }
}

TEST(MatchBracket, PartnerOrPastTheEnd)
{
    const struct { const char* text; long start, result; } cases[] = {
        {"[1]", 1, 3}, {"[a[1],2]", 1, 8}, {"[a[1],2]", 3, 5}, {"[1", 1, 3},
        {"['[']", 1, 6},   // literals are not skipped
        {"[(])", 1, 3},    // round brackets do not count
    };
    for (const auto& c : cases) EXPECT_EQ(quor::matchbracket(c.text, c.start), c.result) << c.text;
}

TEST(FindQuote, RangesAndModes)
{
    const struct { const char* text; long from, to; int mode; long result; } cases[] = {
        // Bad ranges.
        {"'a'", 0, 3, 1, -1}, {"'a'", 1, 4, 1, -1}, {"'a'", 3, 3, 1, -1}, {"'a'", 3, 2, 0, -1},
        // Mode 0: the first quote outside bracket groups.
        {"ab'c", 1, 4, 0, 3}, {"abc", 1, 3, 0, 0}, {"(')')'", 1, 6, 0, 6}, {"x'y'", 3, 4, 0, 4}, {"(a)'", 1, 4, 0, 4},
        // Mode 1: the end of a literal opened before `from`; doubled quotes stay inside.
        {"'ab'cd", 2, 6, 1, 4}, {"'a''b'x", 2, 7, 1, 6}, {"'abc", 2, 4, 1, 0},
        {"'a'''", 2, 5, 1, 5},  {"'a''", 2, 4, 1, 0},    {"x'a'y'", 3, 6, 1, 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(quor::findquote(c.text, c.from, c.to, c.mode, ed), c.result)
            << c.text << ' ' << c.from << ".." << c.to << " mode " << c.mode;
    }
    // The plotter's bracket groups do not skip literals.
    EXPECT_EQ(quor::findquote("(')')'", 1, 6, 0, pl), 4);
}

TEST(LiteralEnd, ClosingQuoteMayBeTheLastCharacter)
{
    const struct { const char* text; long quote, end; } cases[] = {
        {"''", 1, 2},     // an empty literal filling the text
        {"a''", 2, 3},    // an empty literal at the end
        {"'''", 1, 0},    // a doubled quote at the end does not close it
        {"x'", 2, 0},     // a lone quote at the end opens a literal
    };
    for (const auto& c : cases) EXPECT_EQ(quor::literalend(c.text, c.quote, ed), c.end) << c.text;
}

TEST(SplitArg, FirstTopLevelItem)
{
    const struct { const char *text, *first, *rest; } cases[] = {
        {"f(1,2),'a,b',3", "f(1,2)", "'a,b',3"}, {"a", "a", ""},           {"", "", ""},
        {" a , b", " a ", " b"},                 {",a", "", "a"},          {"a,,b", "a", ",b"},
        {"x,", "x", ""},                         {"m[1,2],c", "m[1,2]", "c"}, {"[a,(b],c", "[a,(b]", "c"},
        {"a)b,c", "a)b", "c"},                   {"(a,b", "(a,b", ""},     {"'a,b',c", "'a,b'", "c"},
        {"'it''s,x',y", "'it''s,x'", "y"},       {"f(')',1),2", "f(')',1)", "2"},
        {"x,''", "x", "''"},                     {"'',y", "''", "y"},
        // An unclosed literal takes the rest of the text.
        {"'a,b", "'a,b", ""},                    {"'a'',b", "'a'',b", ""}, {"x,'y", "x", "'y"},
    };
    for (const auto& c : cases) {
        std::string a = c.text;
        EXPECT_EQ(quor::splitarg(a, ed), c.first) << c.text;
        EXPECT_EQ(a, c.rest) << c.text;
    }
    // The plotter gives quotes no meaning of their own: a comma inside a literal separates.
    const struct { const char *text, *first, *rest; } plotter[] = {
        {"'a,b',c", "'a", "b',c"}, {"'it''s,x',y", "'it''s", "x',y"}, {"f(')',1),2", "f(')'", "1),2"},
        {"'a'',b", "'a''", "b"},
    };
    for (const auto& c : plotter) {
        std::string a = c.text;
        EXPECT_EQ(quor::splitarg(a, pl), c.first) << c.text;
        EXPECT_EQ(a, c.rest) << c.text;
    }
}

TEST(Scanners, UnclosedLiteralsStopAtTheEnd)
{
    // Where an unclosed literal leaves the scan is open; it must end inside the text + 1
    // and splitting must not lose or invent characters.
    for (const char* t : {"(')", "('a", "(a'b)c", "f(',a),b", "('x)'')"}) {
        const std::string text = t;
        const long len = static_cast<long>(text.size());
        const long open = static_cast<long>(text.find('(')) + 1;
        const long p = quor::matchparen(text, open, ed);
        EXPECT_TRUE(p > open && p <= len + 1) << t << " -> " << p;
        const long q = quor::findquote(text, 1, len, 0, ed);
        EXPECT_TRUE(q >= 0 && q <= len) << t << " -> " << q;
        std::string rest = text;
        const std::string first = quor::splitarg(rest, ed);
        EXPECT_EQ(first.size() == text.size() ? first : first + "," + rest, text) << t;
    }
}

TEST(MarkUnary, InsertsFactorAfterCertainMinusSigns)
{
    const struct { const char *text, *result; } cases[] = {
        {"-x", "-1*x"},     {"-(a+b)", "-1*(a+b)"}, {"--5", "-1*-5"}, {"---x", "-1*-1*-1*x"}, {"-5", "-5"},
        {"-.5", "-.5"},     {"-X", "-X"},           {"a-b", "a-1*b"}, {"2^-x", "2^-1*x"},      {"x-", "x-"},
        {"- x", "- x"},     {"-e", "-1*e"},         {"-_a", "-_a"},   {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(quor::markunary(c.text), c.result) << c.text;
}

TEST(ScanName, LengthAndLastPosition)
{
    const struct { const char* text; long start, length, editorlast, plotterlast; } cases[] = {
        {" abc+1 ", 2, 3, 4, 4},          {" f(x)*2 ", 2, 1, 5, 5},   {" a[1,2]+1 ", 2, 1, 7, 7},
        {" aB_1.x,'q ", 2, 9, 10, 10},   // capitals, digits, "_", ".", "," and quotes belong to it
        {"ab", 1, 2, 2, 2},               {" a (x)", 2, 1, 2, 2},     // a blank ends the name: no call
        {" f(a", 2, 1, 5, 5},             // unmatched: past the end
        {" f(')')", 2, 1, 7, 5},          {" sum(a)[1]", 2, 3, 7, 7},
    };
    for (const auto& c : cases) {
        const quor::tnamescan e = quor::scanname(c.text, c.start, ed);
        const quor::tnamescan p = quor::scanname(c.text, c.start, pl);
        EXPECT_EQ(e.length, c.length) << c.text;
        EXPECT_EQ(e.last, c.editorlast) << c.text;
        EXPECT_EQ(p.length, c.length) << c.text;
        EXPECT_EQ(p.last, c.plotterlast) << c.text;
    }
    for (char t : std::string(" ()*+-/<=>[]^"))
        EXPECT_EQ(quor::scanname(std::string("ab") + t + "z", 1, ed).length, 2) << '"' << t << '"';
    for (char t : std::string(",'_.:;!Z9\"&"))
        EXPECT_EQ(quor::scanname(std::string("ab") + t + "z", 1, ed).length, 4) << '"' << t << '"';
}
