// Flow control: if/else, for and while loops, break, the for term, and the memo lines
// that failures leave on the way out of nested loops.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fault.h"
#include "fixture.h"
#include "flow.h"
#include "funcstore.h"

using quor::tdialect;
using strings = std::vector<std::string>;

namespace {

struct program {
    const char* title;
    strings lines;
    strings memo;            // expected events, all memo lines here
    const char* var;         // a variable to check afterwards (or null)
    double value;
};

// Each body records its passes with print, so the memo shows what ran in which order.
const program programs[] = {
    {"ascending", {"for(i:=1:3)", "  print(i)", "end"}, {"memo: 1", "memo: 2", "memo: 3"}, "i", 4},
    {"fractional step", {"for(i:=1:0.5:2)", "print(i)", "end"}, {"memo: 1", "memo: 1.5", "memo: 2"}, "i", 2.5},
    {"descending", {"for(i:=3:-1:1)", "print(i)", "end"}, {"memo: 3", "memo: 2", "memo: 1"}, "i", 0},
    {"start equals end", {"for(i:=2:2)", "print(i)", "end"}, {"memo: 2"}, "i", 2},
    {"blanks in the term", {"for (k:= 1 : 2 )", "print(k)", "end"}, {"memo: 1", "memo: 2"}, "k", 3},
    // The direction comes from start and end, never from the step.
    {"step against direction",
     {"for(i:=1:-1:3)", "print(i)", "if(i<-1)", "break", "end", "end"},
     {"memo: 1", "memo: 0", "memo: -1", "memo: -2"}, "i", -2},
    {"descending without step", {"for(i:=3:1)", "print(i)", "if(i>4)", "break", "end", "end"},
     {"memo: 3", "memo: 4", "memo: 5"}, "i", 5},
    // The loop variable is read afresh, so the body may move it.
    {"body moves the variable", {"for(i:=1:10)", "print(i)", "i:=i+4", "end"}, {"memo: 1", "memo: 6"}, "i", 11},
    {"element as loop variable", {"for(a[2]:=1:2)", "print(a[2])", "end"}, {"memo: 1", "memo: 2"}, "a[2]", 3},
    {"break leaves only the inner loop",
     {"for(i:=1:2)", "for(j:=1:5)", "if(j>1)", "break", "end", "print(i*10+j)", "end", "end"},
     {"memo: 11", "memo: 21"}, "i", 3},
    {"while counts", {"n:=0", "while(n<3)", "n:=n+1", "print(n)", "end"}, {"memo: 1", "memo: 2", "memo: 3"}, "n", 3},
    {"while never runs", {"n:=5", "while(n<3)", "n:=0", "end"}, {}, "n", 5},
    {"break in if in while",
     {"n:=0", "while(1)", "n:=n+1", "if(n>=3)", "break", "end", "end", "print('after 'n)"},
     {"memo: after 3"}, "n", 3},
    {"break in main procedure", {"print('a')", "break", "print('b')"}, {"memo: a"}, nullptr, 0},
    {"if 0.99 is false", {"if(0.99)", "print('t')", "else", "print('f')", "end"}, {"memo: f"}, nullptr, 0},
    {"if 1 is true", {"if(1)", "print('t')", "else", "print('f')", "end"}, {"memo: t"}, nullptr, 0},
    {"if 2 is true", {"if(2)", "print('t')", "end"}, {"memo: t"}, nullptr, 0},
    {"if -1 is false", {"if(-1)", "print('t')", "end", "print('z')"}, {"memo: z"}, nullptr, 0},
    // A condition is a statement: it may assign.
    {"assigning condition", {"if(a:=2)", "print(a)", "end"}, {"memo: 2"}, "a", 2},
    {"comparison", {"x:=2", "if(x>1)", "print('big')", "else", "print('small')", "end"}, {"memo: big"}, "x", 2},
    // The inner else belongs to the inner if.
    {"nested else, outer true",
     {"c:=1", "d:=0", "if(c)", "if(d)", "print('dd')", "else", "print('nd')", "end", "print('c')", "else",
      "print('nc')", "end"},
     {"memo: nd", "memo: c"}, nullptr, 0},
    {"nested else, outer false",
     {"c:=0", "d:=1", "if(c)", "if(d)", "print('dd')", "else", "print('nd')", "end", "print('c')", "else",
      "print('nc')", "end"},
     {"memo: nc"}, nullptr, 0},
    {"nested else, inner true",
     {"c:=1", "d:=1", "if(c)", "if(d)", "print('dd')", "else", "print('nd')", "end", "else", "print('nc')", "end"},
     {"memo: dd"}, nullptr, 0},
    // "else if(d)" is a plain else that opens no level: the next end closes the outer if.
    {"else if, outer false",
     {"c:=0", "d:=0", "if(c)", "print('c')", "else if(d)", "print('d')", "end", "print('after')"},
     {"memo: d", "memo: after"}, nullptr, 0},
    {"else if, outer true",
     {"c:=1", "d:=1", "if(c)", "print('c')", "else if(d)", "print('d')", "end", "print('after')"},
     {"memo: c", "memo: after"}, nullptr, 0},
    {"loops inside if",
     {"s:=0", "if(1)", "for(i:=1:4)", "s:=s+i", "end", "while(s<100)", "s:=s*2", "end", "end"}, {}, "s", 160},
};

void runprograms(tdialect d)
{
    for (const auto& p : programs) {
        quortest::context ctx(d);
        EXPECT_EQ(ctx.run(p.lines), "") << p.title;
        EXPECT_EQ(ctx.host.take(), p.memo) << p.title;
        if (p.var) {
            EXPECT_EQ(ctx.eval(p.var), p.value) << p.title;
        }
    }
}

}  // namespace

TEST(Flow, ProgramsInEditor) { runprograms(tdialect::editor); }

TEST(Flow, ProgramsInPlotter) { runprograms(tdialect::plotter); }

TEST(Flow, RunLinesResults)
{
    quortest::context ctx;
    quor::tfuncstore store("s");
    store.assignlines({"x:=1", "break", "x:=2"});
    EXPECT_EQ(quor::runlines(store, 0, 2, ctx.vars, ctx.funcs, &ctx.host, ctx.session), 14);
    EXPECT_EQ(ctx.eval("x"), 1);
    EXPECT_EQ(quor::runlines(store, 2, 2, ctx.vars, ctx.funcs, &ctx.host, ctx.session), 1);
    EXPECT_EQ(ctx.eval("x"), 2);
    EXPECT_EQ(quor::runlines(store, 1, 0, ctx.vars, ctx.funcs, &ctx.host, ctx.session), 1);   // empty range

    // A break passes up through if blocks.
    quor::tfuncstore viaif("s");
    viaif.assignlines({"if(1)", "if(1)", "break", "end", "end", "y:=5"});
    EXPECT_EQ(quor::runlines(viaif, 0, 5, ctx.vars, ctx.funcs, &ctx.host, ctx.session), 14);
    EXPECT_EQ(quor::runif(viaif, 4, 0, ctx.vars, ctx.funcs, &ctx.host, ctx.session), 14);
    EXPECT_FALSE(ctx.vars.varexists("y"));

    // A while whose body never ran gives 0; otherwise its last body result.
    quor::tfuncstore loop("s");
    loop.assignlines({"while(n<2)", "n:=n+1", "end"});
    ctx.assign("n:=5");
    EXPECT_EQ(quor::runwhile(loop, 2, 0, ctx.vars, ctx.funcs, &ctx.host, ctx.session), 0);
    ctx.assign("n:=0");
    EXPECT_EQ(quor::runwhile(loop, 2, 0, ctx.vars, ctx.funcs, &ctx.host, ctx.session), 1);
    EXPECT_EQ(ctx.eval("n"), 2);

    // A false if without else runs nothing and gives 1.
    quor::tfuncstore skip("s");
    skip.assignlines({"if(0)", "break", "end"});
    EXPECT_EQ(quor::runif(skip, 2, 0, ctx.vars, ctx.funcs, &ctx.host, ctx.session), 1);
    EXPECT_TRUE(ctx.host.take().empty());
}

TEST(Flow, ForTerms)
{
    const struct { const char* term; const char* name; double start, step, end; } cases[] = {
        {"i:=1:3", "i", 1, 1, 3},
        {"i:=1:0.5:2", "i", 1, 0.5, 2},
        {"a[2]:=3:-1:1", "a[2]", 3, -1, 1},
        {" k :=2*3:10", " k ", 6, 1, 10},
        {"i:=n:n+2", "i", 4, 1, 6},
        {"i:=sqr(2):0:-1", "i", 4, 0, -1},
    };
    for (tdialect d : {tdialect::editor, tdialect::plotter}) {
        quortest::context ctx(d);
        ctx.assign("n:=4");
        for (const auto& c : cases) {
            const quor::cfortermstr t = quor::getforterm(c.term, ctx.vars, ctx.funcs, ctx.session);
            EXPECT_EQ(t.name, c.name) << c.term;
            EXPECT_EQ(t.start, c.start) << c.term;
            EXPECT_EQ(t.step, c.step) << c.term;
            EXPECT_EQ(t.end, c.end) << c.term;
        }
        EXPECT_TRUE(ctx.host.take().empty());
    }
}

TEST(Flow, ForTermFailuresNameTheUnconsumedText)
{
    const struct { const char* term; const char* fault; } cases[] = {
        {"i:=ln(0):5", "Error on get term of for flow: ln(0):5"},
        {"i:=1:ln(0)", "Error on get term of for flow: ln(0)"},
        {"i:=1:ln(0):5", "Error on get term of for flow: ln(0):5"},
        {"i:=1:2:ln(0)", "Error on get term of for flow: ln(0)"},
        // A text result is no number.
        {"i:=1:getstr(s)", "Error on get term of for flow: getstr(s)"},
        // A part that would write to the memo fails instead.
        {"i:=1:print('x')", "Error on get term of for flow: print('x')"},
    };
    quortest::context ctx;
    ctx.exec("setstr(s,'ab')");
    for (const auto& c : cases) {
        try {
            quor::getforterm(c.term, ctx.vars, ctx.funcs, ctx.session);
            ADD_FAILURE() << c.term << " accepted";
        } catch (const quor::tfault& f) {
            EXPECT_EQ(f.text(), c.fault);
        }
        // The parts run without a memo: their reports fail the term instead of showing.
        EXPECT_TRUE(ctx.host.take().empty()) << c.term;
    }
}

TEST(Flow, FailureReportsOnTheWayOut)
{
    const struct { const char* title; strings lines; strings events; } cases[] = {
        {"while inside for",
         {"for(i:=1:2)", "while(1)", "y:=ln(0)", "end", "end", "print('never')"},
         {"memo: Error on function ln inside compiler ", "memo: Error on while flow", "memo: Error on for flow",
          "box: Critical error on compile: Main function", "memo: Critical error on compile at: Main function"}},
        {"failing while condition",
         {"while(ln(0))", "end"},
         {"memo: Error on function ln inside compiler ", "memo: Error on while flow",
          "box: Critical error on compile: Main function", "memo: Critical error on compile at: Main function"}},
        // if blocks add no line of their own.
        {"failing if condition inside for",
         {"for(i:=1:2)", "if(ln(0))", "end", "end"},
         {"memo: Error on function ln inside compiler ", "memo: Error on for flow",
          "box: Critical error on compile: Main function", "memo: Critical error on compile at: Main function"}},
        // A failing for term passes on without a for line.
        {"failing for term",
         {"for(i:=1:ln(0))", "end"},
         {"box: Critical error on compile: Main function", "memo: Critical error on compile at: Main function"}},
        {"text as condition",
         {"setstr(s,'ab')", "if(getstr(s))", "print('yes')", "end"},
         {"box: Critical error on compile: Main function", "memo: Critical error on compile at: Main function"}},
        {"single pass of for",
         {"for(i:=2:2)", "z:=ln(-1)", "end"},
         {"memo: Error on function ln inside compiler ", "memo: Error on for flow",
          "box: Critical error on compile: Main function", "memo: Critical error on compile at: Main function"}},
    };
    for (tdialect d : {tdialect::editor, tdialect::plotter}) {
        for (const auto& c : cases) {
            quortest::context ctx(d);
            EXPECT_EQ(ctx.run(c.lines), "") << c.title;
            EXPECT_EQ(ctx.host.take(), c.events) << c.title;
        }
    }
}

TEST(Flow, ForTermFailureIsRecordedAtTheForLine)
{
    quortest::context ctx;
    quor::tfuncstore store("Main function");
    store.assignlines({"a:=1", "for(i:=1:ln(0))", "end"});
    store.runstore(ctx.vars, ctx.funcs, &ctx.host, ctx.session);
    EXPECT_EQ(store.fault.line, 1);
    EXPECT_EQ(store.fault.text, "Error on get term of for flow: ln(0)");
    EXPECT_FALSE(ctx.vars.varexists("i"));
}

TEST(Flow, StraysAreStatements)
{
    // A stray end outside any block runs as a plain statement (an expression here).
    quortest::context ctx;
    ctx.assign("end:=3");
    quor::tfuncstore store("s");
    store.assignlines({"end", "x:=1"});
    EXPECT_EQ(quor::runlines(store, 0, 1, ctx.vars, ctx.funcs, &ctx.host, ctx.session), 1);
    EXPECT_EQ(ctx.eval("x"), 1);
    EXPECT_TRUE(ctx.host.take().empty());
}
