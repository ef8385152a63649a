// Sampling: substitution of the variable, the x range and units, the y fit and failures.
#include <gtest/gtest.h>

#include <cmath>

#include "fault.h"
#include "fixture.h"
#include "sampling.h"

using namespace quor;

TEST(EvalAt, SubstitutesWholeWordsOnly)
{
    const struct {
        const char* expression;
        const char* variable;
        const char* value;
        const char* text;
    } cases[] = {
        {"x^2", "x", "-2", "-2^2 "},              // inserted as it is, no brackets
        {"sin(x)*x", "x", "3", "sin(3)*3 "},
        {"max(x,2)", "x", "5", "max(x,2) "},      // a comma is no neighbour
        {"f(2,x)", "x", "5", "f(2,x) "},
        {"xx+x", "x", "1", "xx+1 "},
        {"X+x", "x", "1", "X+1 "},                // case counts
        {"a[x]-x/x", "x", "0.5", "a[0.5]-0.5/0.5 "},
        {"t1+t", "t", "7", "t1+7 "},
        {"ab+b", "ab", "2", "2+b  "},             // the padding blanks stay
        {"x", "x", "xx", "xx "},                  // scanning goes on after the inserted text
        {"x+x", "", "1", "x+x"},                  // an empty name matches nothing
    };
    for (const auto& c : cases)
        EXPECT_EQ(substitutevalue(c.expression, c.variable, c.value), c.text) << c.expression;
}

TEST(EvalAt, RunsTheSubstitutedStatement)
{
    quortest::context ctx;
    auto at = [&](const char* e, const char* value) {
        return evalat(e, "x", value, ctx.vars, ctx.funcs, &ctx.host, ctx.session);
    };
    EXPECT_NEAR(at("sin(x)*x", "2"), std::sin(2.0) * 2, 1e-14);   // through 15-digit text
    // x next to a comma or "=" is not replaced: the global x is read there.
    ctx.unit({"function r=df(a,b)", "r:=a-b", "endfunction"});
    ctx.assign("x:=7");
    const struct {
        const char* expression;
        double value;
    } cases[] = {{"df(x,2)", 5}, {"df(2,x)", -5}, {"df( x ,2)", 3}, {"df(2, x)", -3}, {"y:=x*3", 21}, {"y:= x*3", 15}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(at(c.expression, "5"), c.value) << c.expression;
    EXPECT_DOUBLE_EQ(ctx.eval("y"), 15);   // a statement runs once per call, assignments included
}

TEST(EvalAt, FailsOnFailureOrNoNumber)
{
    quortest::context ctx;
    ctx.exec("setstr(s,'abc')");
    EXPECT_THROW(evalat("ln(x)", "x", "0", ctx.vars, ctx.funcs, &ctx.host, ctx.session), std::exception);
    EXPECT_THROW(evalat("getstr(s)", "x", "1", ctx.vars, ctx.funcs, &ctx.host, ctx.session), tfault);
}

namespace {

// The default window's area: 544 x 375 outside, columns 0..535, rows 0..329.
tviewinfo defaultview()
{
    tviewinfo v;
    v.right = 535;
    v.bottom = 329;
    v.xmin = 1;
    v.xmax = 20;
    v.xstep = v.ystep = 50;
    v.fixedrange = true;
    return v;
}

cpaintlist sample(quortest::context& ctx, const std::string& e, tviewinfo& v)
{
    return samplecurve(e, "x", v, ctx.vars, ctx.funcs, &ctx.host, ctx.session);
}

}  // namespace

TEST(SampleCurve, DefaultWindowColumnsAndUnits)
{
    quortest::context ctx;
    tviewinfo v = defaultview();
    const cpaintlist s = sample(ctx, "x", v);
    ASSERT_EQ(s.count(), 536);
    EXPECT_DOUBLE_EQ(v.xunit, 19.0 / 535);
    EXPECT_EQ(v.originx, -28);   // truncate(-1 / (19/535))
    EXPECT_EQ(s[0].x, 0);
    EXPECT_EQ(s[535].x, 535);
    // y = x: first sample on the bottom row, last on the top row.
    EXPECT_NEAR(s[0].y, 329, 1e-9);
    EXPECT_NEAR(s[535].y, 0, 1e-9);
    EXPECT_NEAR(v.ymin, 1, 1e-12);
    EXPECT_NEAR(v.ymax, 20, 1e-9);
    EXPECT_DOUBLE_EQ(v.yunit, (v.ymax - v.ymin) / 329);
    EXPECT_EQ(v.originy, int(v.ymax / v.yunit));
}

TEST(SampleCurve, FitsTheVerticalRange)
{
    const struct {
        const char* expression;
        double ymin, ymax;
        double firstrow, lastrow;
    } cases[] = {
        {"3", -7, 13, 164.5, 164.5},     // constant: widened by 10 both ways, line in the middle
        {"-x", -20, -1, 0, 329},         // decreasing: the first value is the greatest
        {"x*x", 1, 400, 329, 0},
    };
    for (const auto& c : cases) {
        quortest::context ctx;
        tviewinfo v = defaultview();
        const cpaintlist s = sample(ctx, c.expression, v);
        EXPECT_NEAR(v.ymin, c.ymin, 1e-9) << c.expression;
        EXPECT_NEAR(v.ymax, c.ymax, 1e-9) << c.expression;
        EXPECT_NEAR(s[0].y, c.firstrow, 1e-9) << c.expression;
        EXPECT_NEAR(s[535].y, c.lastrow, 1e-9) << c.expression;
        for (int i = 0; i < s.count(); ++i) {
            EXPECT_GE(s[i].y, -1e-9);
            EXPECT_LE(s[i].y, 329 + 1e-9);
        }
    }
}

TEST(SampleCurve, RangeFromThePlotVariable)
{
    const struct {
        std::vector<double> elements;
        double lo, hi;
        bool fixedafter;
    } cases[] = {
        {{5, -5}, -5, 5, false},   // first two elements, smaller first
        {{-5, 5, 9}, -5, 5, false},
        {{3}, 1, 20, true},        // one element: the stored range, fixed from now on
        {{4, 4}, 1, 20, true},     // equal elements: likewise
        {{}, 1, 20, true},         // a plain value
    };
    for (const auto& c : cases) {
        quortest::context ctx;
        ctx.vars.setscalar("x", 0);
        for (std::size_t i = 0; i < c.elements.size(); ++i) ctx.vars.setelement("x", std::int64_t(i), c.elements[i]);
        tviewinfo v = defaultview();
        v.fixedrange = false;
        const cpaintlist s = sample(ctx, "x", v);
        EXPECT_NEAR(v.xunit, (c.hi - c.lo) / 535, 1e-15);
        EXPECT_EQ(v.originx, int(-c.lo / v.xunit));
        EXPECT_NEAR(v.ymin, c.lo, 1e-9);
        EXPECT_NEAR(v.ymax, c.hi, 1e-9);
        EXPECT_EQ(v.fixedrange, c.fixedafter);
        EXPECT_EQ(v.xmin, 1);   // the stored range is left as it was
        EXPECT_EQ(v.xmax, 20);
    }
    // A variable that does not exist fixes the range as well.
    quortest::context ctx;
    tviewinfo v = defaultview();
    v.fixedrange = false;
    sample(ctx, "x", v);
    EXPECT_TRUE(v.fixedrange);
}

TEST(SampleCurve, FailuresKeepTheYFields)
{
    quortest::context ctx;
    tviewinfo v = defaultview();
    v.xmin = -1;
    v.xmax = 1;
    v.ymin = 111;
    v.ymax = 222;
    v.yunit = 3;
    v.originy = 44;
    EXPECT_THROW(sample(ctx, "ln(x)", v), std::exception);
    EXPECT_DOUBLE_EQ(v.xunit, 2.0 / 535);   // already updated
    EXPECT_EQ(v.originx, 267);
    EXPECT_EQ(v.ymin, 111);
    EXPECT_EQ(v.ymax, 222);
    EXPECT_EQ(v.yunit, 3);
    EXPECT_EQ(v.originy, 44);

    tviewinfo narrow = defaultview();
    narrow.right = 0;   // one column: no unit
    EXPECT_THROW(sample(ctx, "x", narrow), tfault);
    tviewinfo empty = defaultview();
    empty.xmax = 1;     // empty range
    EXPECT_THROW(sample(ctx, "x", empty), tfault);
    tviewinfo huge = defaultview();
    huge.right = 2000000000;
    try {
        sample(ctx, "x", huge);
        FAIL();
    } catch (const tfault& f) {
        EXPECT_EQ(f.text(), "Error on out of memory,try to free your memory");
    }
}

TEST(SampleCurve, FlatAreaGetsAFixedUnit)
{
    quortest::context ctx;
    tviewinfo flat = defaultview();
    flat.bottom = 0;
    sample(ctx, "x", flat);
    EXPECT_EQ(flat.yunit, 999999.0);
}
