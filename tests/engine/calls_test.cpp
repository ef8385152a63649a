// Calls inside expressions: dispatch order, the sixteen built-ins, user functions with
// argument binding, copy-back and recursion; the nesting limits of groups and calls.
#include <gtest/gtest.h>

#include "bigstack.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "calls.h"
#include "fault.h"
#include "fixture.h"
#include "session.h"
#include "tempdir.h"

using quor::tdialect;
using events = std::vector<std::string>;

namespace {

const tdialect bothdialects[] = {tdialect::editor, tdialect::plotter};
const char* nameof(tdialect d) { return d == tdialect::editor ? "editor" : "plotter"; }

std::string callfault(const std::string& name) { return "Error on function " + name + " inside compiler "; }

const std::vector<std::string> unitlines = {
    "function r=second(a,b)", "r:=b", "endfunction",   "function r=first(s)", "r:=s", "endfunction",
    "function r=inc(p)", "p:=p+1", "r:=p", "endfunction",
    "function r=swap(p,q)", "t:=p", "p:=q", "q:=t", "endfunction",
    "function r=fill(v)", "v[2]:=7", "endfunction",    "function r=put10(q)", "q[1,0]:=4", "endfunction",
    "function r=get12(q)", "r:=q[1,2]", "endfunction", "function r=peekflat(z)", "r:=m[5]", "endfunction",
    "function r=peekgrid(z)", "r:=m[1,2]", "endfunction",
    "function r=setg(x)", "g:=99", "r:=g", "endfunction", "function r=cube(x)", "r:=x*x*x", "endfunction",
    "function r=noparams()", "r:=1", "endfunction",    "function r=id(x)", "r:=x", "endfunction",
    "function r=bad(x)", "r:=5", "r:=ln(0)", "endfunction",
    "function r=keep(n)", "k:=n", "if (n>0)", "t:=keep(n-1)", "end", "r:=k", "endfunction",
    "function r=down(n)", "if (n>0)", "r:=down(n-1)+1", "end", "endfunction",
};

// A context with the test unit loaded and a few caller variables.
struct callcontext : quortest::context {
    explicit callcontext(tdialect d = tdialect::editor) : context(d)
    {
        unit(unitlines);
        for (const auto& [n, v] : {std::pair{"a", 5.0}, {"r", 7.0}, {"g", 1.0}, {"x", 3.0}}) vars.setscalar(n, v);
        vars.dimarray("m", {2, 3});
        for (int k = 0; k < 6; ++k) vars.setelement("m", k, 10 + k);
    }
    const quor::tvar& var(const std::string& n) { return *vars.find(n); }
    // The text of the fault that evaluating the text raises.
    std::string faultof(const std::string& text)
    {
        return quortest::faulttext([&] { eval(text); });
    }
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
    const struct { const char* text; double value; } cases[] = {
        {"abs(-2.5)", 2.5},      {"tan(1)", std::tan(1.0)}, {"atan(1)", pi / 4},     {"cos(pi(0))", -1},
        {"cos(1e19)", 0},        {"cos(-1e19)", 0},         {"exp(1)", std::exp(1.0)}, {"frac(-2.25)", -0.25},
        {"frac(2.75)", 0.75},    {"ln(exp(2))", 2},         {"odd(-3)", 1},          {"odd(4)", 0},
        {"odd(3.9)", 1},         {"odd(-2.5)", 0},          {"pi()", pi},            {"pi(1/0)", pi},
        {"pi(nosuch(1))", pi},   // the argument is never evaluated
        {"round(2.5)", 2},       {"round(3.5)", 4},         {"round(-2.5)", -2},     {"round(0.5)", 0},
        {"round(2.6)", 3},       {"sin(1e19)", 0},          {"sin(-9.3e18)", 0},     {"sqr(-3)", 9},
        {"sqrt(-9)", 3},         {"trunc(-2.7)", -2},       {"val(x+1)", 4},         {"val('x*2')", 6},
    };
    quortest::context ctx;
    ctx.vars.setscalar("x", 3);
    for (const auto& c : cases) EXPECT_NEAR(ctx.eval(c.text), c.value, 1e-12 * std::fabs(c.value)) << c.text;
    // Table lines count from zero, blank lines included.
    ctx.funcs.mathnames = {"", "mytan", "", "mycos"};
    EXPECT_DOUBLE_EQ(ctx.eval("mytan(1)+mycos(1)"), std::tan(1.0) + std::cos(1.0));
    // The random built-in draws quietly.
    ctx.funcs.mathnames = quortest::mathtable();
    ctx.eval("random(7)");
    EXPECT_TRUE(ctx.host.take().empty());
}

TEST(Builtins, FaultsAddOneLinePerCallLevel)
{
    const struct { const char* text; std::vector<std::string> names; } cases[] = {   // innermost first
        {"ln(-1)+1", {"ln"}},
        {"abs(sqrt(ln(x-3)))", {"ln", "sqrt", "abs"}},
        {"second(1,ln(0))", {"ln", "second"}},
    };
    for (const auto& c : cases) {
        callcontext ctx;
        EXPECT_EQ(ctx.faultof(c.text), callfault(c.names.back())) << c.text;
        events expected;
        for (const auto& n : c.names) expected.push_back("memo: " + callfault(n));
        EXPECT_EQ(ctx.host.take(), expected) << c.text;
    }
}

TEST(Builtins, RandomFirstStepFromTheClock)
{
    const struct { std::int64_t clock; double x; std::int32_t result; } cases[] = {
        {12345678, 100, 62},   {12345678, 1000, 626}, {0, 10, 0},     {86399999, 6, 4},
        {12345678, 0, 0},      {5000, 7, 6},          {1, 2147483647, 67387906},
        {12345678, 99.6, 62},  {12345678, -1, -1605755258},   // n taken as unsigned
    };
    for (const auto& c : cases) {
        std::uint32_t seed = static_cast<std::uint32_t>(c.clock);
        EXPECT_EQ(quor::randomstep(seed, c.x), c.result) << c.clock << ' ' << c.x;
        EXPECT_EQ(seed, static_cast<std::uint32_t>(c.clock) * 134775813u + 1u) << c.clock;
    }
}

TEST(Builtins, RandomSeedsOncePerSessionAndSteps)
{
    quortest::context ctx;
    ctx.host.clock = 12345678;
    // The first call steps from the clock; the clock is not read again.
    EXPECT_EQ(ctx.eval("random(100)"), 62);
    ctx.host.clock = 0;
    std::uint32_t seed = 12345678u * 134775813u + 1u;
    const std::int32_t second = quor::randomstep(seed, 100);
    EXPECT_EQ(ctx.eval("random(100)"), second);

    // Ten calls in one millisecond are not all alike.
    quortest::context same;
    std::vector<double> ten;
    for (int i = 0; i < 10; ++i) ten.push_back(same.eval("random(100)"));
    EXPECT_GT(std::count_if(ten.begin(), ten.end(), [&](double v) { return v != ten[0]; }), 0);

    // Two sessions at different clocks start different sequences.
    quortest::context other;
    other.host.clock = 12345679;
    EXPECT_NE(other.eval("random(1000000)"), quortest::context().eval("random(1000000)"));
}

TEST(Builtins, RandomSpreadsEvenly)
{
    // 10,000 draws into ten classes from several clocks: every value in range, each class
    // near 1,000 and a chi-square far below what a stuck or lopsided generator gives.
    for (std::int64_t clock : {0, 1, 43000000, 86399999}) {
        quortest::context ctx;
        ctx.host.clock = clock;
        int counts[10] = {};
        for (int i = 0; i < 10000; ++i) {
            const double v = ctx.eval("random(10)");
            ASSERT_TRUE(v >= 0 && v < 10 && v == std::trunc(v)) << v;
            ++counts[static_cast<int>(v)];
        }
        double chi = 0;
        for (int c : counts) {
            EXPECT_GT(c, 850) << clock;
            EXPECT_LT(c, 1150) << clock;
            chi += (c - 1000.0) * (c - 1000.0) / 1000.0;
        }
        EXPECT_LT(chi, 40) << clock;   // 9 degrees of freedom: 27.9 at p = 0.001
        // Both halves of random(2) occur, about equally.
        int ones = 0;
        for (int i = 0; i < 1000; ++i) ones += static_cast<int>(ctx.eval("random(2)"));
        EXPECT_GT(ones, 400) << clock;
        EXPECT_LT(ones, 600) << clock;
    }
}

TEST(Dispatch, TablesInOrderBeforeUserFunctions)
{
    // "dup" names abs in the math table, len among the commands, getdc among the window
    // commands, and a user function returning 42; v holds the handle of a window.
    const struct { bool math, command, api; double value; } cases[] = {
        {true, true, true, 1001},   // abs(v)
        {false, true, true, 4},     // len(v): v has four elements
        {false, false, true, 77},   // getdc(v)
        {false, false, false, 42},
    };
    for (const auto& c : cases) {
        quortest::context ctx;
        ctx.unit({"function r=dup(p)", "r:=42", "endfunction"});
        if (c.math) ctx.funcs.mathnames.set(0, "DUP");   // table lookups ignore case
        if (c.command) ctx.funcs.commandnames.set(9, "dup");
        if (c.api) ctx.funcs.apinames.set(0, "Dup");
        ctx.host.windows[1001] = {"w", true};
        ctx.vars.setelement("v", 3, 0);
        ctx.vars.setscalar("v", 1001);
        EXPECT_EQ(ctx.eval("dup(v)"), c.value) << c.math << c.command << c.api;
        EXPECT_TRUE(ctx.host.take().empty());
    }
}

TEST(UserFunctions, CallValuesAndMessages)
{
    const struct { const char* text; double value; events reported; } cases[] = {
        {"second(1,2)", 2, {}},
        {"first(2,3)", -1, {"box: Date and operator not suitable"}},   // one parameter takes the whole text
        {"setg(1)+g", 100, {}},           // the caller's g stays 1
        {"cUBE(2)", 8, {}},               // call names are lowered
        {"nofunc(1)+5", 4,
         {"memo: Can not find this self-defition function :nofuncthe final result maybe incorrected"}},
        {"peekflat(0)", 15, {}},          // caller arrays keep their elements
        {"get12(m)", 15, {}},             // a by-name argument keeps its sizes
        {"keep(5)", 5, {}},               // every level has its own list
        {"bad(1)", 5,                     // the body's fault ends the body only
         {"memo: " + callfault("ln"), "box: Critical error on compile: bad",
          "memo: Critical error on compile at: bad"}},
    };
    for (const auto& c : cases) {
        callcontext ctx;
        EXPECT_EQ(ctx.eval(c.text), c.value) << c.text;
        EXPECT_EQ(ctx.host.take(), c.reported) << c.text;
        EXPECT_EQ(ctx.var("r").value, 7) << c.text;
        EXPECT_EQ(ctx.var("g").value, 1) << c.text;
    }
    // The plotter splits inside literals and binds no texts.
    const struct { const char* text; double editor, plotter; } texts[] = {
        {"second('x,y',5)", 5, -1}, {"first('AB')", 65, -1}};
    for (const auto& c : texts) {
        callcontext editor(tdialect::editor), plotter(tdialect::plotter);
        EXPECT_EQ(editor.eval(c.text), c.editor) << c.text;
        EXPECT_EQ(plotter.eval(c.text), c.plotter) << c.text;
        EXPECT_TRUE(editor.host.take().empty() && plotter.host.take().empty()) << c.text;
    }
}

TEST(UserFunctions, BareNamesAreCopiedBack)
{
    const struct { const char* text; double value, a; } cases[] = {   // a: the caller's a afterwards (5 before)
        {"inc(a)+inc(a)", 13, 7}, {"inc(a[1])", 10, 5}, {"inc( a)", 6, 5},   // not exactly the name
        {"inc((a))", 6, 5},
    };
    for (const auto& c : cases) {
        callcontext ctx;
        ctx.vars.setelement("a", 1, 9);
        EXPECT_EQ(ctx.eval(c.text), c.value) << c.text;
        EXPECT_EQ(ctx.var("a").value, c.a) << c.text;
        EXPECT_EQ(ctx.var("a").data, (std::vector<double>{0, 9})) << c.text;
        EXPECT_TRUE(ctx.host.take().empty()) << c.text;
    }
}

TEST(UserFunctions, ArraysAcrossTheCall)
{
    // Caller arrays have no sizes inside a function: only single indexes work on them.
    callcontext ctx;
    EXPECT_EQ(ctx.eval("peekgrid(0)"), -1);
    events boxes;
    for (const auto& e : ctx.host.take())
        if (e.rfind("box: ", 0) == 0) boxes.push_back(e);
    EXPECT_EQ(boxes, (events{"box: Error on invalid index of variable :m[1,2]",
                             "box: Error on invalid variable: m the final result maybe incorrected"}));
    // The copy-back carries elements and sizes.
    ctx.vars.setscalar("y", 2);
    EXPECT_EQ(ctx.eval("swap(x,y)"), 0);
    EXPECT_EQ(ctx.var("x").value, 2);
    EXPECT_EQ(ctx.var("y").value, 3);
    ctx.vars.setscalar("b", 0);
    EXPECT_EQ(ctx.eval("fill(b)"), 0);
    EXPECT_EQ(ctx.var("b").data, (std::vector<double>{0, 0, 7}));
    EXPECT_EQ(ctx.eval("put10(m)"), 0);
    EXPECT_EQ(ctx.var("m").data, (std::vector<double>{10, 11, 12, 4, 14, 15}));
    EXPECT_EQ(ctx.eval("m[1,0]"), 4);   // the sizes came back with the elements
    EXPECT_TRUE(ctx.host.take().empty());
}

TEST(UserFunctions, EveryCallStartsFromItsCallersVariables)
{
    // A variable made by one call is gone in the next, however deep the calls went; a call
    // sees exactly its caller's variables, in the caller's order, with no sizes.
    quortest::context ctx;
    ctx.unit({"function y=f(p)", "if(p>0)", "made:=5", "y:=f(p-1)+1", "else", "y:=made", "end", "endfunction",
              "function y=g(p)", "y:=m[1,0]+z", "endfunction"});
    ctx.vars.dimarray("m", {2, 3});
    ctx.vars.setelement("m", 3, 4);
    ctx.vars.setscalar("z", 1);
    const struct { const char* text; double value; events after; } cases[] = {
        // f(3): three calls make "made", the innermost reads it from its caller: 5 + 3.
        {"f(3)", 8, {}},
        {"f(0)", -1, {"box: The variable: madeis not in.the final result maybe incorrected"}},
        {"f(1)+f(0)", 6 + -1, {"box: The variable: madeis not in.the final result maybe incorrected"}},
        {"g(0)", -1 + 1, {"box: Error on invalid index of variable :m[1,0]",
                          "box: Error on invalid variable: m the final result maybe incorrected"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ctx.eval(c.text), c.value) << c.text;
        EXPECT_EQ(ctx.host.take(), c.after) << c.text;
        EXPECT_FALSE(ctx.vars.varexists("made")) << c.text;
    }
    // A caller with many variables (more than the spare lists hold) calls the same way.
    for (int i = 0; i < 300; ++i) ctx.vars.setscalar("v" + std::to_string(i), i);
    EXPECT_EQ(ctx.eval("f(3)+v299"), 8 + 299);
    EXPECT_EQ(ctx.eval("f(0)"), -1);
    EXPECT_EQ(ctx.host.take(), (events{"box: The variable: madeis not in.the final result maybe incorrected"}));
    // The caller's array is its own again after the calls: writing it changes no call's copy.
    ctx.vars.setelement("m", 0, 9);
    EXPECT_EQ(ctx.vars.find("m")->data, (std::vector<double>{9, 0, 0, 4, 0, 0}));
    EXPECT_EQ(ctx.eval("m[1,0]"), 4);
}

TEST(UserFunctions, ParameterCountLimits)
{
    const auto list = [](const std::string& prefix, int n) {   // prefix0,prefix1,...
        std::string out;
        for (int i = 0; i < n; ++i) out += (i ? "," : "") + prefix + std::to_string(i);
        return out;
    };
    for (tdialect d : bothdialects) {
        callcontext ctx(d);
        try {
            quor::calluserfunc({"noparams", "1"}, ctx.vars, &ctx.funcs, &ctx.host, ctx.session);
            ADD_FAILURE() << nameof(d) << ": no fault";
        } catch (const quor::tfault& f) {
            const char* expected =
                d == tdialect::editor ? "Error on operation on self-define-function" : "Error on function";
            EXPECT_EQ(f.text(), expected) << nameof(d);
        }
        // 1025 parameters bind; 1026 do not.
        ctx.unit({"function r=most(" + list("p", 1025) + ")", "r:=p1024+p1", "endfunction",
                  "function r=many(" + list("p", 1026) + ")", "r:=p1025+p1", "endfunction"});
        EXPECT_EQ(ctx.eval("most(" + list("", 1025) + ")"), 1025) << nameof(d);
        EXPECT_TRUE(ctx.host.take().empty()) << nameof(d);
        EXPECT_EQ(ctx.faultof("many(" + list("", 1026) + ")"), callfault("many")) << nameof(d);
        EXPECT_EQ(ctx.host.take(), events{"memo: " + callfault("many")}) << nameof(d);
    }
}

TEST(Nesting, PastTheLimitEveryLevelReports)
{
    const int groups = quor::maxgroupdepth, calls = quor::maxcalldepth;
    const std::string toolong = "Error on nesting too deep, the expressions are too long";
    const struct { std::string text; std::string first; const char* name; } cases[] = {
        // Groups past the limit fail with the nesting fault itself.
        {repeat("(", groups + 1) + "1" + repeat(")", groups + 1), quor::nestingmessage(groups), nullptr},
        // Every call level around the failing one adds its line.
        {repeat("abs(", groups) + "1" + repeat(")", groups), quor::nestingmessage(groups), "abs"},
        // Calls written inside each other as deep as calls may nest hold more argument text
        // together than evaluations may: that budget stops them first (with the smaller
        // limit of sanitized builds, the nesting fault does).
        {repeat("id(", calls + 1) + "1" + repeat(")", calls + 1), quor::fullnesting ? toolong : quor::nestingmessage(calls), "id"},
    };
    // Nesting within the limits works, also after a failure: every level is released again.
    const struct { std::string text; double value; } within[] = {
        {repeat("(", 200) + "id(2)*3" + repeat(")", 200), 6},
        {repeat("abs(", 200) + "-3" + repeat(")", 200), 3},
        {"z:=" + repeat("(", 200) + "4" + repeat(")", 200), 4},
        {repeat("id(", 1000) + "4" + repeat(")", 1000), 4},
    };
    for (tdialect d : bothdialects) {
        for (const auto& c : cases) {
            callcontext ctx(d);
            const std::string what = std::string(nameof(d)) + ' ' + c.text.substr(0, 8);
            const std::string fault = c.name ? callfault(c.name) : c.first;
            EXPECT_EQ(ctx.faultof(c.text), fault) << what;
            const events got = ctx.host.take();
            ASSERT_TRUE(c.name ? got.size() >= 2 : got.size() == 1) << what << ' ' << got.size();
            EXPECT_EQ(got.front(), "memo: " + c.first) << what;
            for (std::size_t i = 1; i < got.size(); ++i) ASSERT_EQ(got[i], "memo: " + fault) << what << ' ' << i;
            EXPECT_EQ(ctx.session.groupdepth, 0) << what;
            EXPECT_EQ(ctx.session.calldepth, 0) << what;
            for (const auto& w : within) EXPECT_EQ(ctx.assign(w.text), w.value) << what << ' ' << w.text.substr(0, 8);
            EXPECT_TRUE(ctx.host.take().empty()) << what;
        }
    }
}

TEST(Nesting, CallsPastTheLimitFailInTheDeepestBody)
{
    if (!quor::fullnesting) GTEST_SKIP() << "sanitized builds run on a smaller stack";
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
        EXPECT_EQ(ctx.eval("down(1000)"), 1000) << nameof(d);
    }
}

TEST(UserFunctions, ParametersAreMadeAfreshInEveryCall)
{
    // Calls at one level reuse what earlier calls there left behind: a parameter that
    // held a by-name grid must come back as a plain scalar, with no sizes or elements, when
    // the next call passes a value; by-name arguments go back in order, the last one last.
    callcontext ctx;
    ctx.unit({"function r=dims(p)", "getdim(p,g)", "r:=len(g)*100+g[0]+len(p)/10", "endfunction",
              "function r=two(p,q)", "r:=dims(p)+dims(q)*1000", "endfunction",
              "function r=order(p,q,s)", "p:=1;q:=2;s:=3", "r:=0", "endfunction"});
    const struct { const char* text; double value; } cases[] = {
        {"dims(m)", 202.6},          {"dims(5)", 99},   {"dims(m)+dims(5)", 301.6},
        {"two(m,m)", 202802.6},      {"two(5,m)", 202699}, {"two(m,7)", 99202.6},
        {"dims(m)", 202.6},
    };
    for (const auto& c : cases) EXPECT_NEAR(ctx.eval(c.text), c.value, 1e-9) << c.text;
    EXPECT_TRUE(ctx.host.take().empty());
    EXPECT_EQ(ctx.var("m").data, (std::vector<double>{10, 11, 12, 13, 14, 15}));
    // The same caller variable passed three times: the copies go back left to right.
    EXPECT_EQ(ctx.eval("order(a,a,a)"), 0);
    EXPECT_EQ(ctx.var("a").value, 3);
    EXPECT_EQ(ctx.eval("order(a,x,a)"), 0);
    EXPECT_EQ(ctx.var("a").value, 3);
    EXPECT_EQ(ctx.var("x").value, 2);
    EXPECT_EQ(ctx.eval("order(x,a,5)"), 0);
    EXPECT_EQ(ctx.var("a").value, 2);
    EXPECT_EQ(ctx.var("x").value, 1);
}

TEST(UserFunctions, AFunctionReplacedWhileItRunsFinishesItsOwnBody)
{
    // The running body loads a unit that defines the function anew: the call goes on with
    // the lines it started with, and calls made after the load, inside it too, take the new ones.
    for (const tdialect d : bothdialects) {
        quortest::tempdir dir;
        const std::string path = dir.write("again.txt", "function r=me(p)\nr:=p*10\nendfunction\n");
        callcontext ctx(d);
        ctx.unit({"function r=me(p)", "load('" + path + "')", "r:=p+me(p)", "endfunction"});
        EXPECT_EQ(ctx.eval("me(2)"), 22) << nameof(d);
        EXPECT_EQ(ctx.eval("me(3)"), 30) << nameof(d);
        ctx.unit({"function r=me(p)", "load('" + path + "')", "r:=p+me(p)", "endfunction"});
        EXPECT_EQ(ctx.eval("me(1)+me(2)"), 11 + 20) << nameof(d);
    }
}

TEST(UserFunctions, ABodyRunnerRunsEveryBodyInstead)
{
    // A debugger puts its own runner in the session: it gets the item and the bound list,
    // and what it leaves in the result variable is the call's value.
    struct trunner : quor::tbodyrunner {
        std::vector<std::string> seen;
        void runbody(const quor::tfuncitem& item, quor::tvarlist& temp, quor::tfunclist&, quor::tmemo*,
                     quor::tsession&) override
        {
            seen.push_back(item.name + ":" + std::to_string(int(temp.find("p")->value)));
            temp.setscalar(item.resultname, 40 + temp.find("p")->value);
        }
    } runner;
    for (const tdialect d : bothdialects) {
        callcontext ctx(d);
        runner.seen.clear();
        ctx.session.bodyrunner = &runner;
        EXPECT_EQ(ctx.eval("inc(2)+inc(a)"), 42 + 45) << nameof(d);
        EXPECT_EQ(runner.seen, (std::vector<std::string>{"inc:2", "inc:5"})) << nameof(d);
        EXPECT_EQ(ctx.var("a").value, 5) << nameof(d);   // copied back unchanged
        ctx.session.bodyrunner = nullptr;
    }
}
