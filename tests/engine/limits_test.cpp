// Resource limits: runaway programs fail as ordinary faults instead of exhausting memory.
#include <gtest/gtest.h>

#include "fault.h"
#include "fixture.h"

using namespace quortest;

TEST(Limits, RecursionOverABigArrayStopsAtTheCopyBudget)
{
    context c;
    c.unit({"function y=f(n)", "y:=f(n+1)", "endfunction"});
    c.assign("a[16777215]:=1");   // the largest array one variable may hold
    EXPECT_EQ(c.eval("f(0)"), 0);
    const auto events = c.host.take();
    ASSERT_FALSE(events.empty());
    // The innermost call cannot copy the caller's list; that call fails, the rest return.
    EXPECT_EQ(events[0], "memo: Error on function f inside compiler ");
    EXPECT_EQ(events[1], "box: Critical error on compile: f");
    EXPECT_EQ(c.session.copiedelements, 0);
    EXPECT_EQ(c.eval("a[16777215]+1"), 2);
}

TEST(Limits, AHostsLowerCopyBudgetHoldsForEveryCall)
{
    // A budget of 10 elements: a call over a 5-element list fits, over a 21-element one not.
    context c;
    c.session.copylimit = 10;
    c.unit({"function y=f(n)", "y:=n*2", "endfunction"});
    c.assign("a[4]:=1");
    EXPECT_EQ(c.eval("f(4)"), 8);
    c.host.take();
    c.assign("a[20]:=1");
    EXPECT_THROW(c.eval("f(4)"), quor::tfault);
    const auto events = c.host.take();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0], "memo: Error on function f inside compiler ");
    EXPECT_EQ(c.session.copiedelements, 0);
    EXPECT_EQ(c.session.calldepth, 0);
}

TEST(Limits, StoresBeyondTheElementLimitAreRefused)
{
    context c;
    EXPECT_THROW(c.assign("b[16777216]:=1"), quor::tfault);
    EXPECT_FALSE(c.vars.varexists("b"));
    c.assign("d[0]:=100000");
    c.assign("d[1]:=100000");
    try {
        c.exec("redim(m,d)");
        ADD_FAILURE() << "a ten-billion element array was declared";
    } catch (const quor::tfault& f) {
        EXPECT_EQ(f.text(), "Error on set array of variable: m");
    }
    EXPECT_FALSE(c.vars.varexists("m"));
}

TEST(Limits, StatementsNestedThroughTextExpressionsStopAtTheLimit)
{
    context c;
    std::string st = "1";
    for (int i = 0; i < 3000; ++i) st = "print(" + st + ")";
    try {
        c.exec(st);
        ADD_FAILURE() << "3000 nested statements ran";
    } catch (const quor::tfault& f) {
        EXPECT_EQ(f.text(), quor::nestingmessage(quor::maxgroupdepth));
    }
    EXPECT_EQ(c.session.groupdepth, 0);
    EXPECT_EQ(c.exec("print(print(1))"), "1");
}

TEST(Limits, DeeplyNestedLongTextsStopAtTheTextBudget)
{
    // 900 nested groups around 80 KB of text: every level would hold its own copy.
    context c;
    std::string inner = "1";
    for (int i = 0; i < 13000; ++i) inner += "+1.000";
    const std::string text = std::string(900, '(') + inner + std::string(900, ')');
    EXPECT_THROW(c.eval(text), quor::tfault);
    const auto events = c.host.take();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), "memo: Error on nesting too deep, the expressions are too long");
    EXPECT_EQ(c.session.evalbytes, 0);
    // The same text less deeply nested evaluates.
    EXPECT_EQ(c.eval("((" + inner + "))"), 13001);
}

TEST(Limits, TypedAnswersAreNumbersNotWords)
{
    context c;
    c.host.answers = {"INF", "NAN", " 7 "};
    EXPECT_EQ(c.exec("inputnum('c','p',0)"), "7");
    EXPECT_EQ(c.host.take(), (std::vector<std::string>{
                                 "ask: c|p|0", "answer: INF", "box: INF is not a value,putin again!",
                                 "ask: c|p|0", "answer: NAN", "box: NAN is not a value,putin again!",
                                 "ask: c|p|0", "answer:  7 "}));
}

TEST(Limits, ShortStatementsTakeEveryGuardLevel)
{
    // A statement takes one level, each target one and the expression one: at the limit the
    // short forms fail like any other, and leave the depth as they found it.
    struct row {
        const char* text;
        int levels;
        const char* value;
    };
    const row rows[] = {
        {"a:=b+c", 3, "5"}, {"a:=b", 3, "2"}, {"a:=4", 3, "4"},   {"b+c", 2, "5"},
        {"b<c", 2, "1"},    {"b", 2, "2"},    {"a:=a:=c", 4, "3"}, {"a:=b*c", 3, "6"},
        {"a:=a+b", 3, "3"}, {"a:=b*a", 3, "2"}, {"a:=a-b", 3, "-1"}, {"a:=a", 3, "1"},
    };
    for (const row& r : rows) {
        for (int spare = r.levels - 1; spare <= r.levels; ++spare) {
            context c;
            // Run once first, so that the statement knows where its variables stand.
            for (const char* first : {"a:=1", "b:=2", "c:=3", r.text, "a:=1"}) c.exec(first);
            const int start = quor::maxgroupdepth - spare;
            c.session.groupdepth = start;
            std::string got;
            const std::string fault = faulttext([&] { got = c.exec(r.text); });
            if (spare < r.levels) {
                EXPECT_EQ(fault, quor::nestingmessage(quor::maxgroupdepth)) << r.text << " with " << spare;
                EXPECT_EQ(c.eval("a"), 1) << r.text;
            } else {
                EXPECT_EQ(fault, "(no fault)") << r.text;
                EXPECT_EQ(got, r.value) << r.text;
            }
            EXPECT_EQ(c.session.groupdepth, start) << r.text;
        }
    }
}

TEST(Limits, ShortStatementsHonourTheTextBudget)
{
    // With the budget for expression text used up, even the shortest statement fails, also
    // when it ran before and knows where its variables stand.
    for (const char* text : {"a:=b+c", "a:=a+b", "a:=b", "b+c", "b"}) {
        for (const bool full : {true, false}) {
            context c;
            c.assign("a:=1");
            c.assign("b:=2");
            c.assign("c:=3");
            c.exec(text);
            const double before = c.eval("a");
            const long long held = full ? quor::maxevalbytes : quor::maxevalbytes - 1000;
            c.session.evalbytes = held;
            const std::string fault = faulttext([&] { c.exec(text); });
            EXPECT_EQ(fault, full ? "Error on nesting too deep, the expressions are too long" : "(no fault)") << text;
            EXPECT_EQ(c.session.evalbytes, held) << text;
            c.session.evalbytes = 0;
            if (full) {
                EXPECT_EQ(c.eval("a"), before) << text;
            }
        }
    }
}
