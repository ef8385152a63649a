// The expression evaluator: scanning, number literals, operators, assignment chains and
// nesting limits, in both dialects.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "fault.h"
#include "fixture.h"
#include "session.h"

using quor::tdialect;
using events = std::vector<std::string>;

namespace {

const tdialect bothdialects[] = {tdialect::editor, tdialect::plotter};
const char* nameof(tdialect d) { return d == tdialect::editor ? "editor" : "plotter"; }

const std::string divbox =
    "box: Error on DEVIDE BY ZERO,this step will return to 1E300,the final result maybe incorrect";
const std::string mismatch = "box: Date and operator not suitable";
const std::string faultbox = "box: Error on operating";

std::string repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

void expectvalue(double actual, double expected, const std::string& what)
{
    if (expected == 0 || std::fabs(expected) == 1E300) EXPECT_EQ(actual, expected) << what;
    else EXPECT_NEAR(actual, expected, 1e-12 * std::fabs(expected)) << what;
}

}  // namespace

TEST(Evaluate, ExpressionTexts)
{
    const std::string notfound = "memo: Can not find this self-defition function :fthe final result maybe incorrected";
    const struct {
        const char* text;
        double value;
        events editor;
        events plotter;
    } cases[] = {
        {"", -1, {mismatch}, {}},          {"   ", -1, {mismatch}, {}},
        {"1+2*3", 7, {}, {}},              {"-x", -3, {}, {}},
        {"2*-x", -6, {}, {}},              {"5-x", 2, {}, {}},
        {"2^-1", 0.5, {}, {}},             {"2^-x", 1.5, {}, {}},        // read as 2^(-1)*x
        {"-5^2", 25, {}, {}},              {"2--3", 5, {}, {}},           // -5 is one literal
        {"-(2+3)", -5, {}, {}},            {"3 -5", -1, {mismatch}, {}},  // two operands: 3 and -5
        {"3 - 5", -2, {}, {}},             {"3-5", -2, {}, {}},
        {"2x", -1, {mismatch}, {}},        {"f (x)", -1, {mismatch}, {}}, // no implied product
        {"X+1", -1, {mismatch}, {}},       {"Qx+1", 4, {}, {}},           // capitals outside names are skipped
        {"x1+a_b+aB", 7, {}, {}},          {"a=b+1", 2, {}, {}},
        {"3>2=1", 1, {}, {}},              {"1<2+3", 4, {}, {}},
        {"1<>2", 1, {}, {}},               {"2<=1", 0, {}, {}},
        {"2>=2", 1, {}, {}},               {"1e3", 1000, {}, {}},
        {"1.5e-3", 0.0015, {}, {}},        {"2e+3", 33, {}, {}},          // 2 stays pending: e + 23
        {"2e", 10, {}, {}},                {"1e-", -1, {mismatch}, {}},   // a pending literal is dropped
        {"2e-x", 0.6, {}, {}},             {"1E3", -1, {mismatch}, {}},   // 2e-1*x; a capital E ends a literal
        {"1.2.3+1", 2, {}, {}},            {".5+5.", 5.5, {}, {}},
        {"-.5", -0.5, {}, {}},             {".", 1, {}, {}},
        {"2*(3+4", 14, {}, {}},            {"2+3)", 5, {}, {}},
        {"abs(-3", 3, {}, {}},             {"((((1))))", 1, {}, {}},
        {"(x)*(x)", 9, {}, {}},            {"2\xa3+3;", 5, {}, {}},
        {"7/0", 1E300, {divbox}, {divbox}}, {"7/0*0", 0, {divbox}, {divbox}},
        {"1e308*10", 0, {faultbox}, {}},   {"1e308*10+5", 5, {faultbox}, {}},
        {"0^-1", 0, {faultbox}, {}},       {"(-8)^(1/3)", 2, {}, {}},
        {"zz+1", 0, {"box: The variable: zzis not in.the final result maybe incorrected"}, {}},
        {"f(x)", -1, {notfound}, {notfound}},
    };
    for (tdialect d : bothdialects) {
        for (const auto& c : cases) {
            quortest::context ctx(d);
            for (const auto& [n, v] : {std::pair{"x", 3.0}, {"e", 10.0}, {"f", 2.0}, {"a", 2.0}, {"b", 2.0},
                                       {"x1", 1.0}, {"a_b", 2.0}, {"aB", 4.0}})
                ctx.vars.setscalar(n, v);
            const std::string what = std::string(nameof(d)) + " [" + c.text + "]";
            expectvalue(ctx.eval(c.text), c.value, what);
            EXPECT_EQ(ctx.host.take(), d == tdialect::editor ? c.editor : c.plotter) << what;
        }
    }
}

TEST(EvalAssign, ChainsAssignRightToLeft)
{
    const struct {
        const char* text;
        double value;
        std::vector<std::string> listing;   // the variable list afterwards, in creation order
    } cases[] = {
        {"a:=b:=2+1", 3, {"b=3", "a=3"}},
        {"p:=q:=r:=4", 4, {"r=4", "q=4", "p=4"}},
        {"a := 1", 1, {"a =1"}},   // the target keeps its blank
        {"m[2]:=5", 5, {"m=5", "m[0]=0", "m[1]=0", "m[2]=5"}},
        {"c:=c+1", 0, {"c=0"}},    // the undefined c reads -1
        {"1+1", 2, {}},
        {"a=1", 0, {}},            // a comparison: no target
    };
    for (tdialect d : bothdialects) {
        for (const auto& c : cases) {
            quortest::context ctx(d);
            EXPECT_EQ(ctx.assign(c.text), c.value) << nameof(d) << ' ' << c.text;
            std::vector<std::string> listing;
            ctx.vars.listvars(listing);
            EXPECT_EQ(listing, c.listing) << nameof(d) << ' ' << c.text;
        }
    }
}

TEST(Nesting, TwoHundredGroupsWork)
{
    for (tdialect d : bothdialects) {
        quortest::context ctx(d);
        EXPECT_EQ(ctx.eval(repeat("(", 200) + "1+1" + repeat(")", 200)), 2) << nameof(d);
        EXPECT_EQ(ctx.eval(repeat("abs(", 200) + "-3" + repeat(")", 200)), 3) << nameof(d);
        EXPECT_EQ(ctx.assign("z:=" + repeat("(", 200) + "4" + repeat(")", 200)), 4) << nameof(d);
        EXPECT_TRUE(ctx.host.take().empty()) << nameof(d);
    }
}

TEST(Nesting, GroupsPastTheLimitFail)
{
    const int n = quor::maxgroupdepth + 1;
    for (tdialect d : bothdialects) {
        quortest::context ctx(d);
        EXPECT_THROW(ctx.eval(repeat("(", n) + "1" + repeat(")", n)), quor::tfault) << nameof(d);
        EXPECT_EQ(ctx.host.take(), events{"memo: " + quor::nestingmessage(quor::maxgroupdepth)}) << nameof(d);

        // Every level is released again: the next evaluations run normally.
        EXPECT_EQ(ctx.session.groupdepth, 0) << nameof(d);
        EXPECT_EQ(ctx.eval("2*3"), 6) << nameof(d);
        EXPECT_EQ(ctx.eval(repeat("(", 200) + "1" + repeat(")", 200)), 1) << nameof(d);
        EXPECT_TRUE(ctx.host.take().empty()) << nameof(d);
    }
}

TEST(Nesting, CallsPastTheGroupLimitReportEveryLevel)
{
    const int n = quor::maxgroupdepth;
    for (tdialect d : bothdialects) {
        quortest::context ctx(d);
        try {
            ctx.eval(repeat("abs(", n) + "1" + repeat(")", n));
            ADD_FAILURE() << nameof(d) << ": no fault";
        } catch (const quor::tfault& f) {
            EXPECT_EQ(f.text(), "Error on function abs inside compiler ") << nameof(d);
        }
        const events got = ctx.host.take();
        ASSERT_GE(got.size(), 2u) << nameof(d);
        EXPECT_EQ(got.front(), "memo: " + quor::nestingmessage(quor::maxgroupdepth)) << nameof(d);
        for (std::size_t i = 1; i < got.size(); ++i)
            ASSERT_EQ(got[i], "memo: Error on function abs inside compiler ") << nameof(d) << ' ' << i;
        EXPECT_EQ(ctx.eval("1+1"), 2) << nameof(d);
    }
}
