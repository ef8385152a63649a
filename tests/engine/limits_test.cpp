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
