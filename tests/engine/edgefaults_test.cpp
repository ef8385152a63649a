// Faults at the edges: infinite operands are not overflows, and a run that fails before its
// first statement still records why.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "fixture.h"
#include "funcstore.h"
#include "partlist.h"

using quor::tdialect;
using strings = std::vector<std::string>;

TEST(EdgeFaults, InfiniteOperandsPassButOverflowFromFiniteOnesFaults)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct { const char* sign; double x, y, result; bool fault; } cases[] = {
        {"+", inf, 1, inf, false},       {"+", 1, inf, inf, false},      {"-", 1, inf, -inf, false},
        {"*", -inf, 2, -inf, false},     {"*", 2, inf, inf, false},      {"/", inf, 4, inf, false},
        {"+", inf, inf, inf, false},     {"*", 1e308, 10, 0, true},      {"+", 1.7e308, 1.7e308, 0, true},
        {"-", inf, inf, 0, true},        {"*", inf, 0, 0, true},
    };
    for (const auto& c : cases) {
        quortest::context ctx(tdialect::editor);
        quor::toperatorlist ops;
        ops.add(c.sign);
        EXPECT_EQ(ops.operate(0, c.x, c.y, ctx.session), c.result) << c.x << c.sign << c.y;
        EXPECT_EQ(ctx.host.take(), c.fault ? strings{"box: Error on operating"} : strings{}) << c.x << c.sign << c.y;
    }
}

TEST(EdgeFaults, AFailureBeforeTheFirstStatementKeepsItsText)
{
    // The step limit already reached: the run fails on entering the procedure, where no
    // statement has a line yet, on both the literal and the fast path.
    for (bool reference : {false, true}) {
        quortest::context ctx;
        ctx.session.reference = reference;
        ctx.session.steplimit = 5;
        ctx.session.steps = 5;
        quor::tfuncstore store("Main function");
        store.assignlines({"x:=1"});
        store.runstore(ctx.vars, ctx.funcs, &ctx.host, ctx.session);
        EXPECT_TRUE(store.fault.stopped) << reference;
        EXPECT_EQ(store.fault.line, -1) << reference;
        EXPECT_EQ(store.fault.text, "Error on run: more than 5 steps") << reference;
        EXPECT_FALSE(ctx.vars.varexists("x")) << reference;
    }
}
