// The expression evaluator: scanning, number literals, operators and assignment chains.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "fixture.h"

using events = std::vector<std::string>;

TEST(Evaluate, ExpressionTexts)
{
    // The plotter's silent boxes are checked where they arise (operand reduction, variable reads);
    // f is a variable as well as a call name.
    const std::string mismatch = "box: Date and operator not suitable";
    const struct { const char* text; double value; events reported; } cases[] = {
        {"", -1, {mismatch}},       {"   ", -1, {mismatch}},   {"5-x", 2, {}},
        {"-5^2", 25, {}},           {"2--3", 5, {}},           // -5 is one literal
        {"-(2+3)", -5, {}},         {"f (x)", -1, {mismatch}},  // no implied product
        {"Qx+1", 4, {}},            {"x1+a_b+aB", 7, {}},      {"a=b+1", 2, {}},
        {"1<>2", 1, {}},            {"2<=1", 0, {}},           {"2>=2", 1, {}},
        {"1e-", -1, {mismatch}},    {"2e-x", 0.6, {}},         // a pending literal is dropped; 2e-1*x
        {"1E3", -1, {mismatch}},    {"1.2.3+1", 2, {}},        // a capital E ends a literal
        {".5+5.", 5.5, {}},         {"2+3)", 5, {}},           {"abs(-3", 3, {}},
        {"(x)*(x)", 9, {}},         {"2\xa3+3;", 5, {}},
        {"f(x)", -1, {"memo: Can not find this self-defition function :fthe final result maybe incorrected"}},
    };
    for (const auto& c : cases) {
        quortest::context ctx;
        for (const auto& [n, v] : {std::pair{"x", 3.0}, {"e", 10.0}, {"f", 2.0}, {"a", 2.0}, {"b", 2.0},
                                   {"x1", 1.0}, {"a_b", 2.0}, {"aB", 4.0}})
            ctx.vars.setscalar(n, v);
        EXPECT_NEAR(ctx.eval(c.text), c.value, 1e-12 * std::fabs(c.value)) << c.text;
        EXPECT_EQ(ctx.host.take(), c.reported) << c.text;
    }
}

TEST(EvalAssign, ChainsAssignRightToLeft)
{
    const struct { const char* text; double value; std::vector<std::string> listing; } cases[] = {
        // The listing is the variable list afterwards, in creation order.
        {"a:=b:=2+1", 3, {"b=3", "a=3"}},    {"p:=q:=r:=4", 4, {"r=4", "q=4", "p=4"}},
        {"a := 1", 1, {"a =1"}},             // the target keeps its blank
        {"c:=c+1", 0, {"c=0"}},              // the undefined c reads -1
        {"1+1", 2, {}},                      {"a=1", 0, {}},   // a comparison: no target
    };
    for (const auto& c : cases) {
        quortest::context ctx;
        EXPECT_EQ(ctx.assign(c.text), c.value) << c.text;
        std::vector<std::string> listing;
        ctx.vars.listvars(listing);
        EXPECT_EQ(listing, c.listing) << c.text;
    }
}
