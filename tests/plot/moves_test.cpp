// Hit test, axis label texts, moves and stretches and the displayed expression built from them.
#include <gtest/gtest.h>

#include "drawing.h"
#include "fixture.h"
#include "moves.h"
#include "numtext.h"
#include "sampling.h"

using namespace quor;

TEST(CurveHit, ExactColumnWithinStrictTolerance)
{
    cpaintlist s;
    s.points = {{9, 50}, {10, 100.0}, {10, 95.0}, {11, 100.0}};
    const struct { tpixel p; int sensitivity; std::optional<int> hit; } cases[] = {
        {{10, 91}, 10, 1},            // 9 rows off: accepted
        {{10, 90}, 10, 2},            // 10 rows off the first, 5 off the second
        {{10, 85}, 10, std::nullopt}, // 10 rows off the nearest: rejected
        {{10, 109}, 10, 1},
        {{10, 110}, 10, std::nullopt},
        {{12, 100}, 10, std::nullopt},// only the sample of the exact column counts
        {{10, 105}, 5, std::nullopt}, // 5 rows off with sensitivity 5
    };
    for (const auto& c : cases) EXPECT_EQ(curvehit(c.p, s, c.sensitivity), c.hit) << c.p.x << "," << c.p.y;
    EXPECT_EQ(curvehit({10, 100}, cpaintlist{}, 10), std::nullopt);
}

TEST(Axes, LabelTextsAtTheirColumns)
{
    const int originx = 100;
    const double xunit = 0.01;
    const struct { double value; const char* text; } cases[] = {
        {(0 - originx) * xunit, "-1"},
        {(50 - originx) * xunit, "-0.5"},
        {(150 - originx) * xunit, "0.5"},
        {0.0005, "0"},                // ties go to the even thousandth
        {0.0015, "0.002"},
        {-0.0025, "-0.002"},
        {1e17, "1E17"},
        {1e20, "1E20"},               // beyond the integer range: the value as it is
    };
    for (const auto& c : cases) EXPECT_EQ(axislabel(c.value), c.text) << c.value;
}

// A move takes the displayed curve's point P to Q (a stretch also keeps its fixed point),
// checked on the move record and on the expression text that makemovedexpr builds.
TEST(Moves, DisplayedCurveCarriesPointsWhereTheyWereDragged)
{
    auto f = [](double x) { return x * x + x; };
    const struct { tmoveinfo start; bool stretch; tworld fixed, from; double tox, toy; } cases[] = {
        {{}, false, {}, {1, 0}, 3, 5},
        {{0.5, -1, 2, 3, movenone}, false, {}, {0.25, 0}, -1, 2},
        {{}, true, {0.5, 0}, {2, 0}, 3, 10},
        {{1, 2, 0.5, -1, movenone}, true, {-1, 1}, {2, 0}, 4, -3},
    };
    for (const auto& c : cases) {
        quortest::context ctx;
        tmoveinfo m = c.start;
        auto shown = [&](double x) { return m.yscale * f(m.xscale * x + m.xshift) + m.yshift; };
        const tworld fixed{c.fixed.x, shown(c.fixed.x)}, p{c.from.x, shown(c.from.x)}, q{c.tox, c.toy};
        if (c.stretch) stretchbyvalues(fixed, p, q, m);
        else movebyvalues(p, q, m);
        EXPECT_NEAR(shown(q.x), q.y, 1e-9);
        if (c.stretch) {
            EXPECT_NEAR(shown(fixed.x), fixed.y, 1e-9);
        }
        const std::string e = makemovedexpr("x^2+x", "x", m);
        EXPECT_NEAR(evalat(e, "x", numtotext(q.x), ctx.vars, ctx.funcs, &ctx.host, ctx.session), q.y, 1e-9) << e;
    }
    // Q at F's column and P at F's height: neither axis has a divisor, nothing changes.
    tmoveinfo m{1, 2, 3, 4, movestretch};
    stretchbyvalues({5, 7}, {1, 7}, {5, 9}, m);
    EXPECT_EQ((std::vector<double>{m.xshift, m.yshift, m.xscale, m.yscale}), (std::vector<double>{1, 2, 3, 4}));
}

TEST(Moves, MovedExpressionTexts)
{
    const struct { const char *base, *variable; tmoveinfo m; const char* text; } cases[] = {
        {"sin(x)+x", "x", {0, 0, 2, 1, movenone}, "sin((2*x))+(2*x)"},
        {"x^2", "x", {1.5, -3, 1, 2, movenone}, "2*((x+1.5)^2)-3"},
        {"x^2", "x", {}, "x^2"},                                 // identity: unchanged
        {"x", "x", {-2, 0.5, 1, 1, movenone}, "(x-2)+0.5"},
        {"max(x,2)", "x", {1, 0, 1, 1, movenone}, "max((x+1),2)"}, // here the comma is a boundary
        {"xx+x", "x", {1, 0, 1, 1, movenone}, "xx+(x+1)"},
        {"tt^2", "tt", {1, 0, 1, 1, movenone}, "(tt+1)^2 "},      // one padding blank stays
        {"x", "x", {0, 0, 1, 0.5, movenone}, "0.5*(x)"},
    };
    for (const auto& c : cases) EXPECT_EQ(makemovedexpr(c.base, c.variable, c.m), c.text) << c.text;
}
