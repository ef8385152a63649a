// Calls inside expressions: dispatch order, the sixteen built-ins, user functions with
// argument binding, copy-back, recursion and nesting limits.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "calls.h"
#include "fault.h"
#include "fixture.h"
#include "session.h"

using quor::tdialect;
using events = std::vector<std::string>;

namespace {

const tdialect bothdialects[] = {tdialect::editor, tdialect::plotter};
const char* nameof(tdialect d) { return d == tdialect::editor ? "editor" : "plotter"; }

const std::string mismatch = "box: Date and operator not suitable";

std::string notfound(const std::string& name)
{
    return "memo: Can not find this self-defition function :" + name + "the final result maybe incorrected";
}
std::string callfault(const std::string& name) { return "Error on function " + name + " inside compiler "; }

const std::vector<std::string> unitlines = {
    "function r=second(a,b)", "r:=b", "endfunction",
    "function r=first(s)", "r:=s", "endfunction",
    "function r=inc(p)", "p:=p+1", "r:=p", "endfunction",
    "function r=swap(p,q)", "t:=p", "p:=q", "q:=t", "endfunction",
    "function r=fill(v)", "v[2]:=7", "endfunction",
    "function r=put10(q)", "q[1,0]:=4", "endfunction",
    "function r=get12(q)", "r:=q[1,2]", "endfunction",
    "function r=peekflat(z)", "r:=m[5]", "endfunction",
    "function r=peekgrid(z)", "r:=m[1,2]", "endfunction",
    "function r=noresult(x)", "y:=x", "endfunction",
    "function r=setg(x)", "g:=99", "r:=g", "endfunction",
    "function r=Sq(x)", "r:=x*x", "endfunction",
    "function r=cube(x)", "r:=x*x*x", "endfunction",
    "function r=noparams()", "r:=1", "endfunction",
    "function r=bad(x)", "r:=5", "r:=ln(0)", "endfunction",
    "function r=id(x)", "r:=x", "endfunction",
    "function r=fact(n)", "if (n<=1)", "r:=1", "else", "r:=n*fact(n-1)", "end", "endfunction",
    "function r=keep(n)", "k:=n", "if (n>0)", "t:=keep(n-1)", "end", "r:=k", "endfunction",
    "function r=down(n)", "if (n>0)", "r:=down(n-1)+1", "end", "endfunction",
};

// A context with the test unit loaded and a few caller variables.
struct callcontext : quortest::context {
    explicit callcontext(tdialect d) : context(d)
    {
        unit(unitlines);
        vars.setscalar("a", 5);
        vars.setscalar("r", 7);
        vars.setscalar("g", 1);
        vars.setscalar("x", 3);
        vars.dimarray("m", {2, 3});
        for (int k = 0; k < 6; ++k) vars.setelement("m", k, 10 + k);
    }
    const quor::tvar& var(const std::string& n) { return *vars.find(n); }
};

std::string repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

}  // namespace

TEST(Builtins, Values)
{
    const double pi = 3.141592653589793;
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"abs(-2.5)", 2.5},   {"tan(0)", 0},          {"tan(1)", std::tan(1.0)},   {"atan(1)", pi / 4},
        {"cos(0)", 1},        {"cos(pi(0))", -1},     {"cos(1e19)", 0},            {"cos(-1e19)", 0},
        {"exp(0)", 1},        {"exp(1)", std::exp(1.0)}, {"frac(-2.25)", -0.25},   {"frac(2.75)", 0.75},
        {"ln(1)", 0},         {"ln(exp(2))", 2},      {"odd(-3)", 1},              {"odd(4)", 0},
        {"odd(3.9)", 1},      {"odd(-2.5)", 0},       {"pi(0)", pi},               {"pi()", pi},
        {"pi(1/0)", pi},      {"pi(nosuch(1))", pi},  // the argument is never evaluated
        {"round(2.5)", 2},    {"round(3.5)", 4},      {"round(-2.5)", -2},         {"round(0.5)", 0},
        {"round(2.6)", 3},    {"sin(0)", 0},          {"sin(1e19)", 0},            {"sin(-9.3e18)", 0},
        {"sqr(-3)", 9},       {"sqrt(-9)", 3},        {"sqrt(16)", 4},             {"trunc(-2.7)", -2},
        {"trunc(2.7)", 2},    {"val(2*3)", 6},        {"val(x+1)", 4},             {"val('1+2')", 3},
        {"val('x*2')", 6},    {"aBS(-2)", 2},         {"2*sqr(x)+1", 19},
    };
    for (tdialect d : bothdialects) {
        for (const auto& c : cases) {
            quortest::context ctx(d);
            ctx.vars.setscalar("x", 3);
            const double v = ctx.eval(c.text);
            if (c.value == 0) EXPECT_EQ(v, 0) << nameof(d) << ' ' << c.text;
            else EXPECT_NEAR(v, c.value, 1e-12 * std::fabs(c.value)) << nameof(d) << ' ' << c.text;
            EXPECT_TRUE(ctx.host.take().empty()) << nameof(d) << ' ' << c.text;
        }
    }
}

TEST(Builtins, FaultsAddOneLinePerCallLevel)
{
    const struct {
        const char* text;
        std::vector<std::string> names;   // innermost first
    } cases[] = {
        {"ln(0)", {"ln"}},
        {"ln(-1)+1", {"ln"}},
        {"abs(sqrt(ln(x-3)))", {"ln", "sqrt", "abs"}},
        {"second(1,ln(0))", {"ln", "second"}},
        {"noparams(1)", {"noparams"}},
    };
    for (tdialect d : bothdialects) {
        for (const auto& c : cases) {
            callcontext ctx(d);
            try {
                ctx.eval(c.text);
                ADD_FAILURE() << nameof(d) << ' ' << c.text << ": no fault";
            } catch (const quor::tfault& f) {
                EXPECT_EQ(f.text(), callfault(c.names.back())) << nameof(d) << ' ' << c.text;
            }
            events expected;
            for (const auto& n : c.names) expected.push_back("memo: " + callfault(n));
            EXPECT_EQ(ctx.host.take(), expected) << nameof(d) << ' ' << c.text;
        }
    }
}

TEST(Builtins, RandomFromTheClock)
{
    const struct {
        std::int64_t clock;
        double x;
        std::int32_t result;
    } cases[] = {
        {12345678, 100, 62},   {12345678, 1000, 626}, {0, 10, 0},     {86399999, 6, 4},
        {12345678, 0, 0},      {5000, 7, 6},          {1, 2147483647, 67387906},
        {12345678, 99.6, 62},  {12345678, -1, -1605755258},   // n taken as unsigned
    };
    for (const auto& c : cases)
        EXPECT_EQ(quor::randomfrom(c.clock, c.x), c.result) << c.clock << ' ' << c.x;

    for (tdialect d : bothdialects) {
        quortest::context ctx(d);
        EXPECT_EQ(ctx.eval("random(100)"), 62) << nameof(d);
        EXPECT_EQ(ctx.eval("random(1000)-random(1000)"), 0) << nameof(d);   // same millisecond
        ctx.host.clock = 5000;
        EXPECT_EQ(ctx.eval("random(7)"), 6) << nameof(d);
        EXPECT_TRUE(ctx.host.take().empty()) << nameof(d);
    }
}

TEST(Dispatch, TablesInOrderBeforeUserFunctions)
{
    // "dup" names abs in the math table, len among the commands, getdc among the window
    // commands, and a user function returning 42; v holds the handle of a window.
    const struct {
        bool math, command, api;
        double value;
    } cases[] = {
        {true, true, true, 1001},   // abs(v)
        {false, true, true, 4},     // len(v): v has four elements
        {false, false, true, 77},   // getdc(v)
        {false, false, false, 42},
        {true, false, false, 1001},
    };
    for (tdialect d : bothdialects) {
        for (const auto& c : cases) {
            quortest::context ctx(d);
            ctx.unit({"function r=dup(p)", "r:=42", "endfunction"});
            if (c.math) ctx.funcs.mathnames[0] = "DUP";   // table lookups ignore case
            if (c.command) ctx.funcs.commandnames[9] = "dup";
            if (c.api) ctx.funcs.apinames[0] = "Dup";
            ctx.host.windows[1001] = {"w", true};
            ctx.vars.setelement("v", 3, 0);
            ctx.vars.setscalar("v", 1001);
            EXPECT_EQ(ctx.eval("dup(v)"), c.value) << nameof(d) << ' ' << c.math << c.command << c.api;
            EXPECT_TRUE(ctx.host.take().empty()) << nameof(d);
        }
    }
}

TEST(Dispatch, TableLinesCountFromZeroWithBlankLines)
{
    quortest::context ctx;
    ctx.funcs.mathnames = {"", "mytan", "", "mycos"};
    EXPECT_DOUBLE_EQ(ctx.eval("mytan(1)"), std::tan(1.0));
    EXPECT_DOUBLE_EQ(ctx.eval("mycos(1)"), std::cos(1.0));
    EXPECT_TRUE(ctx.host.take().empty());
}

TEST(UserFunctions, CallValuesAndMessages)
{
    const events badbody{"memo: " + callfault("ln"), "box: Critical error on compile: bad",
                         "memo: Critical error on compile at: bad"};
    const struct {
        const char* text;
        double editor;
        events editorevents;
        double plotter;
        events plotterevents;
    } cases[] = {
        {"second(1,2)", 2, {}, 2, {}},
        {"second(1,2,3)", -1, {mismatch}, -1, {}},    // the surplus stays in the last argument
        {"second(1)", -1, {mismatch}, -1, {}},        // a missing argument is an empty text
        {"first(2,3)", -1, {mismatch}, -1, {}},       // one parameter takes the whole text
        {"first(3+4)", 7, {}, 7, {}},
        {"second('x,y',5)", 5, {}, -1, {}},          // the plotter splits inside the literal
        {"first('AB')", 65, {}, -1, {}},              // the plotter binds no texts
        {"noresult(5)", 0, {}, 0, {}},                // r of the caller does not leak in
        {"setg(1)+g", 100, {}, 100, {}},              // the caller's g stays 1
        {"cUBE(2)", 8, {}, 8, {}},                    // call names are lowered
        {"sq(3)", -1, {notfound("sq")}, -1, {notfound("sq")}},   // the head name is Sq
        {"nofunc(1)+5", 4, {notfound("nofunc")}, 4, {notfound("nofunc")}},
        {"abs(nofunc(1))", 1, {notfound("nofunc")}, 1, {notfound("nofunc")}},
        {"peekflat(0)", 15, {}, 15, {}},              // caller arrays keep their elements
        {"get12(m)", 15, {}, 15, {}},                 // a by-name argument keeps its sizes
        {"fact(10)", 3628800, {}, 3628800, {}},
        {"keep(5)", 5, {}, 5, {}},                    // every level has its own list
        {"bad(1)", 5, badbody, 5, badbody},           // the body's fault ends the body only
    };
    for (tdialect d : bothdialects) {
        for (const auto& c : cases) {
            callcontext ctx(d);
            const bool ed = d == tdialect::editor;
            EXPECT_EQ(ctx.eval(c.text), ed ? c.editor : c.plotter) << nameof(d) << ' ' << c.text;
            EXPECT_EQ(ctx.host.take(), ed ? c.editorevents : c.plotterevents) << nameof(d) << ' ' << c.text;
            EXPECT_EQ(ctx.var("r").value, 7) << nameof(d) << ' ' << c.text;
            EXPECT_EQ(ctx.var("g").value, 1) << nameof(d) << ' ' << c.text;
        }
    }
}

TEST(UserFunctions, CallerArraysHaveNoSizesInside)
{
    for (tdialect d : bothdialects) {
        callcontext ctx(d);
        EXPECT_EQ(ctx.eval("peekgrid(0)"), -1) << nameof(d);
        events boxes;
        for (const auto& e : ctx.host.take())
            if (e.rfind("box: ", 0) == 0) boxes.push_back(e);
        events expected{"box: Error on invalid index of variable :m[1,2]"};
        if (d == tdialect::editor) expected.push_back("box: Error on invalid variable: m the final result maybe incorrected");
        EXPECT_EQ(boxes, expected) << nameof(d);
    }
}

TEST(UserFunctions, BareNamesAreCopiedBack)
{
    const struct {
        const char* text;
        double value;
        double a;   // the caller's a afterwards (5 before)
    } cases[] = {
        {"inc(a)", 6, 6},
        {"inc(a)+inc(a)", 13, 7},
        {"inc(a+0)", 6, 5},
        {"inc(a[1])", 10, 5},
        {"inc( a)", 6, 5},   // not exactly the name
        {"inc((a))", 6, 5},
    };
    for (tdialect d : bothdialects) {
        for (const auto& c : cases) {
            callcontext ctx(d);
            ctx.vars.setelement("a", 1, 9);
            EXPECT_EQ(ctx.eval(c.text), c.value) << nameof(d) << ' ' << c.text;
            EXPECT_EQ(ctx.var("a").value, c.a) << nameof(d) << ' ' << c.text;
            EXPECT_EQ(ctx.var("a").data, (std::vector<double>{0, 9})) << nameof(d) << ' ' << c.text;
            EXPECT_TRUE(ctx.host.take().empty()) << nameof(d) << ' ' << c.text;
        }
    }
}

TEST(UserFunctions, CopyBackCarriesElementsAndSizes)
{
    for (tdialect d : bothdialects) {
        callcontext ctx(d);
        ctx.vars.setscalar("y", 2);
        EXPECT_EQ(ctx.eval("swap(x,y)"), 0) << nameof(d);
        EXPECT_EQ(ctx.var("x").value, 2) << nameof(d);
        EXPECT_EQ(ctx.var("y").value, 3) << nameof(d);

        ctx.vars.setscalar("b", 0);
        EXPECT_EQ(ctx.eval("fill(b)"), 0) << nameof(d);
        EXPECT_EQ(ctx.var("b").data, (std::vector<double>{0, 0, 7})) << nameof(d);

        EXPECT_EQ(ctx.eval("put10(m)"), 0) << nameof(d);
        EXPECT_EQ(ctx.var("m").data, (std::vector<double>{10, 11, 12, 4, 14, 15})) << nameof(d);
        EXPECT_EQ(ctx.var("m").demension, (quor::cdemension{2, 3})) << nameof(d);
        EXPECT_EQ(ctx.var("m").asistance, (quor::casistance{3, 1})) << nameof(d);
        EXPECT_EQ(ctx.eval("m[1,0]"), 4) << nameof(d);
        EXPECT_TRUE(ctx.host.take().empty()) << nameof(d);
    }
}

TEST(UserFunctions, ParameterCountLimits)
{
    for (tdialect d : bothdialects) {
        callcontext ctx(d);
        try {
            quor::calluserfunc({"noparams", "1"}, ctx.vars, &ctx.funcs, &ctx.host, ctx.session);
            ADD_FAILURE() << nameof(d) << ": no fault";
        } catch (const quor::tfault& f) {
            EXPECT_EQ(f.text(), d == tdialect::editor ? "Error on operation on self-define-function" : "Error on function")
                << nameof(d);
        }

        for (int m : {1025, 1026}) {
            std::string params, args;
            for (int i = 0; i < m; ++i) {
                params += (i ? ",p" : "p") + std::to_string(i);
                args += (i ? "," : "") + std::to_string(i);
            }
            ctx.unit({"function r=many(" + params + ")", "r:=p" + std::to_string(m - 1) + "+p1", "endfunction"});
            ctx.host.take();
            if (m == 1025) {
                EXPECT_EQ(ctx.eval("many(" + args + ")"), 1025) << nameof(d);
                EXPECT_TRUE(ctx.host.take().empty()) << nameof(d);
            } else {
                EXPECT_THROW(ctx.eval("many(" + args + ")"), quor::tfault) << nameof(d);
                EXPECT_EQ(ctx.host.take(), events{"memo: " + callfault("many")}) << nameof(d);
            }
        }
    }
}

TEST(UserFunctions, ThousandNestedCallsWork)
{
    for (tdialect d : bothdialects) {
        callcontext ctx(d);
        EXPECT_EQ(ctx.eval("down(1000)"), 1000) << nameof(d);
        EXPECT_EQ(ctx.eval(repeat("id(", 1000) + "4" + repeat(")", 1000)), 4) << nameof(d);
        EXPECT_TRUE(ctx.host.take().empty()) << nameof(d);
    }
}

TEST(UserFunctions, CallsPastTheLimitFailInTheDeepestBody)
{
    for (tdialect d : bothdialects) {
        callcontext ctx(d);
        // The call one past the limit fails inside the body of the deepest allowed call,
        // whose store reports it; every level above returns normally.
        EXPECT_EQ(ctx.eval("down(" + std::to_string(quor::maxcalldepth + 100) + ")"), quor::maxcalldepth - 1)
            << nameof(d);
        const events expected{"memo: " + quor::nestingmessage(quor::maxcalldepth), "memo: " + callfault("down"),
                              "box: Critical error on compile: down", "memo: Critical error on compile at: down"};
        EXPECT_EQ(ctx.host.take(), expected) << nameof(d);
        EXPECT_EQ(ctx.session.calldepth, 0) << nameof(d);
        EXPECT_EQ(ctx.eval("down(3)"), 3) << nameof(d);
    }
}

TEST(UserFunctions, NestedArgumentsPastTheLimitReachTheCaller)
{
    const int n = quor::maxcalldepth + 1;
    for (tdialect d : bothdialects) {
        callcontext ctx(d);
        try {
            ctx.eval(repeat("id(", n) + "1" + repeat(")", n));
            ADD_FAILURE() << nameof(d) << ": no fault";
        } catch (const quor::tfault& f) {
            EXPECT_EQ(f.text(), callfault("id")) << nameof(d);
        }
        const events got = ctx.host.take();
        ASSERT_GE(got.size(), 2u) << nameof(d);
        EXPECT_EQ(got.front(), "memo: " + quor::nestingmessage(quor::maxcalldepth)) << nameof(d);
        for (std::size_t i = 1; i < got.size(); ++i)
            ASSERT_EQ(got[i], "memo: " + callfault("id")) << nameof(d) << ' ' << i;
        EXPECT_EQ(ctx.session.calldepth, 0) << nameof(d);
        EXPECT_EQ(ctx.eval("id(2)"), 2) << nameof(d);
    }
}
