// Sampling: substitution of the variable, the x range and units, the y fit and failures.
#include <gtest/gtest.h>

#include <cmath>

#include "fault.h"
#include "fixture.h"
#include "sampling.h"

using namespace quor;

TEST(EvalAt, SubstitutesWholeWordsOnly)
{
    const struct { const char *expression, *variable, *value, *text; } cases[] = {
        {"x^2", "x", "-2", "-2^2 "},              // inserted as it is, no brackets
        {"sin(x)*x", "x", "3", "sin(3)*3 "},
        {"max(x,2)", "x", "5", "max(x,2) "},      // a comma is no neighbour
        {"f(2,x)", "x", "5", "f(2,x) "},
        {"y:=x*3", "x", "5", "y:=x*3 "},          // nor is "="
        {"y:= x*3", "x", "5", "y:= 5*3 "},
        {"xx+x", "x", "1", "xx+1 "},
        {"X+x", "x", "1", "X+1 "},                // case counts
        {"a[x]-x/x", "x", "0.5", "a[0.5]-0.5/0.5 "},
        {"ab+b", "ab", "2", "2+b  "},             // the padding blanks stay
        {"x", "x", "xx", "xx "},                  // scanning goes on after the inserted text
        {"x+x", "", "1", "x+x"},                  // an empty name matches nothing
    };
    for (const auto& c : cases)
        EXPECT_EQ(substitutevalue(c.expression, c.variable, c.value), c.text) << c.expression;
}

TEST(EvalAt, RunsTheSubstitutedStatementOnceAndFailsWithoutANumber)
{
    quortest::context ctx;
    auto at = [&](const char* e, const char* value) {
        return evalat(e, "x", value, ctx.vars, ctx.funcs, &ctx.host, ctx.session);
    };
    EXPECT_NEAR(at("sin(x)*x", "2"), std::sin(2.0) * 2, 1e-14);   // through 15-digit text
    ctx.unit({"function r=df(a,b)", "r:=a-b", "endfunction"});
    ctx.assign("x:=7");
    EXPECT_DOUBLE_EQ(at("df(x,2)", "5"), 5);    // x next to a comma is the global x
    EXPECT_DOUBLE_EQ(at("df( x ,2)", "5"), 3);
    EXPECT_DOUBLE_EQ(at("y:= x*3", "5"), 15);
    EXPECT_DOUBLE_EQ(ctx.eval("y"), 15);        // assignments included
    ctx.exec("setstr(s,'abc')");
    EXPECT_THROW(at("ln(x)", "0"), std::exception);
    EXPECT_THROW(at("getstr(s)", "1"), tfault);
}

namespace {

// The default window's area: 544 x 375 outside, columns 0..535, rows 0..329.
tviewinfo defaultview(double xmin = 1, double xmax = 20)
{
    tviewinfo v;
    v.right = 535;
    v.bottom = 329;
    v.xmin = xmin;
    v.xmax = xmax;
    v.fixedrange = true;
    return v;
}

cpaintlist sample(quortest::context& ctx, const std::string& e, tviewinfo& v)
{
    return samplecurve(e, "x", v, ctx.vars, ctx.funcs, &ctx.host, ctx.session);
}

}  // namespace

TEST(SampleCurve, DefaultWindowFitsTheVerticalRange)
{
    const struct { const char* expression; double ymin, ymax, firstrow, lastrow; } cases[] = {
        {"x", 1, 20, 329, 0},            // first sample on the bottom row, last on the top row
        {"3", -7, 13, 164.5, 164.5},     // constant: widened by 10 both ways, line in the middle
        {"-x", -20, -1, 0, 329},         // decreasing: the first value is the greatest
        {"x*x", 1, 400, 329, 0},
    };
    for (const auto& c : cases) {
        quortest::context ctx;
        tviewinfo v = defaultview();
        const cpaintlist s = sample(ctx, c.expression, v);
        ASSERT_EQ(s.count(), 536);
        EXPECT_EQ(s[535].x, 535);
        EXPECT_DOUBLE_EQ(v.xunit, 19.0 / 535);
        EXPECT_EQ(v.originx, -28);   // truncate(-1 / (19/535))
        EXPECT_NEAR(v.ymin, c.ymin, 1e-9) << c.expression;
        EXPECT_NEAR(v.ymax, c.ymax, 1e-9) << c.expression;
        EXPECT_DOUBLE_EQ(v.yunit, (v.ymax - v.ymin) / 329);
        EXPECT_EQ(v.originy, int(v.ymax / v.yunit));
        EXPECT_NEAR(s[0].y, c.firstrow, 1e-9) << c.expression;
        EXPECT_NEAR(s[535].y, c.lastrow, 1e-9) << c.expression;
        for (int i = 0; i < s.count(); ++i) EXPECT_TRUE(s[i].y > -1e-9 && s[i].y < 329 + 1e-9) << i;
    }
}

TEST(SampleCurve, RangeFromThePlotVariable)
{
    // stored: the stored range 1..20 is used, and fixed from then on; else the variable's -5..5.
    const struct { std::vector<double> elements; bool exists, fixedbefore, stored; } cases[] = {
        {{5, -5}, true, false, false},   // first two elements, smaller first
        {{-5, 5, 9}, true, false, false},
        {{5, -5}, true, true, true},     // already fixed: the variable is not read
        {{3}, true, false, true},        // one element
        {{4, 4}, true, false, true},     // equal elements
        {{}, true, false, true},         // a plain value
        {{}, false, false, true},        // no such variable
    };
    for (const auto& c : cases) {
        quortest::context ctx;
        if (c.exists) ctx.vars.setscalar("x", 0);
        for (std::size_t i = 0; i < c.elements.size(); ++i) ctx.vars.setelement("x", std::int64_t(i), c.elements[i]);
        tviewinfo v = defaultview();
        v.fixedrange = c.fixedbefore;
        sample(ctx, "x", v);
        EXPECT_NEAR(v.ymin, c.stored ? 1 : -5, 1e-9);
        EXPECT_NEAR(v.ymax, c.stored ? 20 : 5, 1e-9);
        EXPECT_EQ(v.fixedrange, c.stored);
        EXPECT_EQ(std::pair(v.xmin, v.xmax), std::pair(1.0, 20.0));   // the stored range is left as it was
    }
}

TEST(SampleCurve, FailuresKeepTheYFieldsAndAFlatAreaGetsAFixedUnit)
{
    quortest::context ctx;
    tviewinfo v = defaultview(-1, 1);
    v.ymin = 111;
    v.ymax = 222;
    v.yunit = 3;
    v.originy = 44;
    EXPECT_THROW(sample(ctx, "ln(x)", v), std::exception);
    EXPECT_DOUBLE_EQ(v.xunit, 2.0 / 535);   // already updated
    EXPECT_EQ(v.originx, 267);
    EXPECT_EQ((std::vector<double>{v.ymin, v.ymax, v.yunit, double(v.originy)}),
              (std::vector<double>{111, 222, 3, 44}));

    tviewinfo narrow = defaultview(), empty = defaultview(1, 1), huge = defaultview(), flat = defaultview();
    narrow.right = 0;   // one column: no unit
    huge.right = 2000000000;
    flat.bottom = 0;    // no height: no failure
    EXPECT_THROW(sample(ctx, "x", narrow), tfault);
    EXPECT_THROW(sample(ctx, "x", empty), tfault);
    try {
        sample(ctx, "x", huge);
        FAIL();
    } catch (const tfault& f) {
        EXPECT_EQ(f.text(), "Error on out of memory,try to free your memory");
    }
    sample(ctx, "x", flat);
    EXPECT_EQ(flat.yunit, 999999.0);
}
