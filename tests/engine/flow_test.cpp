// Flow control: if/else, for and while loops, break, the for term, and the memo lines
// that failures leave on the way out of nested loops.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fault.h"
#include "fixture.h"
#include "flow.h"
#include "funcstore.h"

using strings = std::vector<std::string>;

TEST(Flow, Programs)
{
    const std::string ln = "memo: Error on function ln inside compiler ";
    const std::string stopbox = "box: Critical error on compile: Main function";
    const std::string stopmemo = "memo: Critical error on compile at: Main function";
    // Each body records its passes with print, so the memo shows what ran in which order.
    const struct { const char* title; strings lines, memo; const char* var; double value; } programs[] = {
        {"blanks in the term", {"for (k:= 1 : 2 )", "print(k)", "end"}, {"memo: 1", "memo: 2"}, "k", 3},
        // The direction comes from start and end, never from the step.
        {"descending without step", {"for(i:=3:1)", "print(i)", "if(i>4)", "break", "end", "end"},
         {"memo: 3", "memo: 4", "memo: 5"}, "i", 5},
        // The loop variable is read afresh, so the body may move it.
        {"body moves the variable", {"for(i:=1:10)", "print(i)", "i:=i+4", "end"}, {"memo: 1", "memo: 6"}, "i", 11},
        {"element as loop variable", {"for(a[2]:=1:2)", "print(a[2])", "end"}, {"memo: 1", "memo: 2"}, "a[2]", 3},
        {"break leaves only the inner loop",
         {"for(i:=1:2)", "for(j:=1:5)", "if(j>1)", "break", "end", "print(i*10+j)", "end", "end"},
         {"memo: 11", "memo: 21"}, "i", 3},
        {"while never runs", {"n:=5", "while(n<3)", "n:=0", "end"}, {}, "n", 5},
        // A condition is a statement: it may assign.
        {"assigning condition", {"if(a:=2)", "print(a)", "end"}, {"memo: 2"}, "a", 2},
        // The inner else belongs to the inner if.
        {"nested else, outer false",
         {"c:=0", "if(c)", "if(1)", "print('dd')", "else", "print('nd')", "end", "else", "print('nc')", "end"},
         {"memo: nc"}, nullptr, 0},
        // "else if(d)" is a plain else that opens no level: the next end closes the outer if.
        {"else if, outer true", {"if(1)", "print('c')", "else if(1)", "print('d')", "end", "print('after')"},
         {"memo: c", "memo: after"}, nullptr, 0},
        // A failure leaves one line per enclosing loop (if blocks add none) before the run stops.
        {"failing while condition", {"while(ln(0))", "end"},
         {ln, "memo: Error on while flow", stopbox, stopmemo}, nullptr, 0},
        {"failing if condition inside for", {"for(i:=1:2)", "if(ln(0))", "end", "end"},
         {ln, "memo: Error on for flow", stopbox, stopmemo}, "i", 1},
        {"single pass of for", {"for(i:=2:2)", "z:=ln(-1)", "end"},
         {ln, "memo: Error on for flow", stopbox, stopmemo}, "i", 2},
        // A failing for term passes on without a for line.
        {"failing for term", {"for(i:=1:ln(0))", "end"}, {stopbox, stopmemo}, nullptr, 0},
        {"text as condition", {"setstr(s,'ab')", "if(getstr(s))", "print('yes')", "end"},
         {stopbox, stopmemo}, nullptr, 0},
    };
    for (const auto& p : programs) {
        quortest::context ctx;
        EXPECT_EQ(ctx.run(p.lines), "") << p.title;
        EXPECT_EQ(ctx.host.take(), p.memo) << p.title;
        if (p.var) {
            EXPECT_EQ(ctx.eval(p.var), p.value) << p.title;
        }
    }
}

TEST(Flow, RunResults)
{
    // runlines, runif and runwhile give 1 when their range ran to its end, 14 after a break.
    quortest::context ctx;
    using runner = int (*)(quor::tfuncstore&, int, int, quor::tvarlist&, quor::tfunclist&, quor::tmemo*,
                           quor::tsession&);
    const auto run = [&](runner f, const strings& text, int a, int b) {
        quor::tfuncstore store("s");
        store.assignlines(text);
        return f(store, a, b, ctx.vars, ctx.funcs, &ctx.host, ctx.session);
    };
    EXPECT_EQ(run(quor::runlines, {"x:=1", "break", "x:=2"}, 0, 2), 14);
    EXPECT_EQ(ctx.eval("x"), 1);
    EXPECT_EQ(run(quor::runlines, {"x:=1", "break", "x:=2"}, 2, 2), 1);
    EXPECT_EQ(ctx.eval("x"), 2);
    EXPECT_EQ(run(quor::runlines, {"x:=1"}, 1, 0), 1);   // an empty range
    // A break passes up through if blocks.
    EXPECT_EQ(run(quor::runlines, {"if(1)", "if(1)", "break", "end", "end", "y:=5"}, 0, 5), 14);
    EXPECT_FALSE(ctx.vars.varexists("y"));
    // A stray end outside any block runs as a plain statement (an expression here).
    ctx.assign("end:=3");
    EXPECT_EQ(run(quor::runlines, {"end", "z:=1"}, 0, 1), 1);
    EXPECT_EQ(ctx.eval("z"), 1);
    // A while whose body never ran gives 0; otherwise its last body result.
    ctx.assign("n:=5");
    EXPECT_EQ(run(quor::runwhile, {"while(n<2)", "n:=n+1", "end"}, 2, 0), 0);
    ctx.assign("n:=0");
    EXPECT_EQ(run(quor::runwhile, {"while(n<2)", "n:=n+1", "end"}, 2, 0), 1);
    EXPECT_EQ(ctx.eval("n"), 2);
    // A false if without else runs nothing and gives 1.
    EXPECT_EQ(run(quor::runif, {"if(0)", "break", "end"}, 2, 0), 1);
    EXPECT_TRUE(ctx.host.take().empty());
}

TEST(Flow, ForTerms)
{
    const struct { const char* term; const char* name; double start, step, end; } cases[] = {
        {"i:=1:3", "i", 1, 1, 3},           {"i:=1:0.5:2", "i", 1, 0.5, 2},   {"a[2]:=3:-1:1", "a[2]", 3, -1, 1},
        {" k :=2*3:10", " k ", 6, 1, 10},   {"i:=n:n+2", "i", 4, 1, 6},       {"i:=sqr(2):0:-1", "i", 4, 0, -1},
    };
    quortest::context ctx;
    ctx.assign("n:=4");
    ctx.exec("setstr(s,'ab')");
    for (const auto& c : cases) {
        const quor::cfortermstr t = quor::getforterm(c.term, ctx.vars, ctx.funcs, ctx.session);
        EXPECT_EQ(t.name, c.name) << c.term;
        EXPECT_EQ(t.start, c.start) << c.term;
        EXPECT_EQ(t.step, c.step) << c.term;
        EXPECT_EQ(t.end, c.end) << c.term;
    }
    // A failure names the part of the term not yet consumed.
    const struct { const char* term; const char* rest; } failures[] = {
        {"i:=ln(0):5", "ln(0):5"},     {"i:=1:ln(0)", "ln(0)"},     {"i:=1:ln(0):5", "ln(0):5"},
        {"i:=1:2:ln(0)", "ln(0)"},
        {"i:=1:getstr(s)", "getstr(s)"},      // a text result is no number
        {"i:=1:print('x')", "print('x')"},    // a part that would write to the memo fails instead
    };
    for (const auto& c : failures) {
        try {
            quor::getforterm(c.term, ctx.vars, ctx.funcs, ctx.session);
            ADD_FAILURE() << c.term << " accepted";
        } catch (const quor::tfault& f) {
            EXPECT_EQ(f.text(), std::string("Error on get term of for flow: ") + c.rest);
        }
    }
    // The parts run without a memo: their reports fail the term instead of showing.
    EXPECT_TRUE(ctx.host.take().empty());
}

TEST(Flow, StepLimitEndsEveryEndlessLoop)
{
    // Loops with no statement in their body count their passes; the fault passes up
    // through the loops like any other, with their flow lines.
    const struct { strings program; strings memo; double i; } cases[] = {
        {{"for(i:=1:0:2)", "end"}, {"Error on for flow"}, 1},
        // Steps: the range, two term parts, then one per pass: the 98th pass fails.
        {{"for(i:=1:1e12)", "end"}, {"Error on for flow"}, 98},
        {{"while(1)", "end"}, {"Error on while flow"}, 0},
        // Eight steps per pass of the while; the 13th fails in the for term, which adds no line.
        {{"i:=0", "while(1)", "for(k:=1:2)", "i:=i+1", "end", "end"}, {"Error on while flow"}, 24},
    };
    for (const auto& c : cases) {
        quortest::context ctx;
        ctx.session.steplimit = 100;
        ctx.assign("i:=0");
        EXPECT_EQ(ctx.run(c.program), "");
        strings want;
        for (const auto& m : c.memo) want.push_back("memo: " + m);
        want.push_back("box: Critical error on compile: Main function");
        want.push_back("memo: Critical error on compile at: Main function");
        EXPECT_EQ(ctx.host.take(), want) << c.program[0];
        EXPECT_EQ(ctx.eval("i"), c.i) << c.program[0];
        // The limit stays spent: the next statement fails at once.
        EXPECT_EQ(quortest::faulttext([&] { ctx.exec("j:=1"); }), quor::steplimitmessage(100));
    }
    quortest::context unlimited;
    EXPECT_EQ(unlimited.run({"for(i:=1:5000)", "end"}), "");
    EXPECT_EQ(unlimited.eval("i"), 5001);
}
