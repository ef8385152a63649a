// Operand and operator sequences: number texts, the operator table, single operations and
// the reduction by priority levels.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "fixture.h"
#include "partlist.h"

using quor::tdialect;
using events = std::vector<std::string>;
using doubles = std::vector<double>;
using strings = std::vector<std::string>;

namespace {

const tdialect bothdialects[] = {tdialect::editor, tdialect::plotter};
const char* nameof(tdialect d) { return d == tdialect::editor ? "editor" : "plotter"; }

double reduce(quortest::context& c, const doubles& operands, const strings& signs)
{
    quor::tdatalist data;
    quor::toperatorlist ops;
    for (double x : operands) data.add(x);
    for (const std::string& s : signs) ops.add(s);
    const double v = quor::reducelists(data, ops, c.session);
    if (operands.size() == signs.size() + 1) {
        EXPECT_EQ(data.count(), 1);
        EXPECT_EQ(ops.count(), 0);
    }
    return v;
}

double operate(quortest::context& c, const std::string& sign, double x, double y)
{
    quor::toperatorlist ops;
    ops.add(sign);
    return ops.operate(0, x, y, c.session);
}

}  // namespace

TEST(NumberLiteral, ConvertsOrFallsBackToOne)
{
    const struct { const char* text; double value; } cases[] = {
        {"-5", -5}, {"2e-1", 0.2}, {"007", 7}, {"5..", 5}, {".", 1}, {"", 1}, {"-", 1}, {"1e", 1}, {"..5", 1},
    };
    for (const auto& c : cases) {
        quor::tdatalist data;
        data.add(42);
        EXPECT_EQ(data.addtext(c.text), 1) << c.text;
        ASSERT_EQ(data.count(), 2) << c.text;
        EXPECT_EQ(data.items[1], c.value) << c.text;
    }
}

TEST(OperatorTable, CodesAndPriorities)
{
    const struct { const char* sign; int code, priority; } cases[] = {
        {"<", 60, 3},    {">", 62, 3},  {"=", 61, 3},  {"<>", 6062, 3}, {"<=", 6061, 3}, {">=", 6261, 3},
        {"^", 94, 2},    {"*", 42, 1},  {"/", 47, 1},  {"+", 43, 0},    {"-", 45, 0},     {"", 0, 0},
        {"=<", 0, 0},    {"**", 0, 0},  {"+ ", 0, 0},  {"><", 0, 0},    {"x", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(quor::opcode(c.sign), c.code) << '"' << c.sign << '"';
        quor::toperatorlist ops;
        ops.add(c.sign);
        EXPECT_EQ(ops.priority(0), c.priority) << '"' << c.sign << '"';
    }
    quor::toperatorlist ops;
    ops.add("+");
    EXPECT_EQ(ops.add("<=>=>"), 1);
    EXPECT_EQ(ops.items[1], "<=>=");   // at most four bytes are kept
}

TEST(Operate, PlainOperationsPowerAndExactComparisons)
{
    const struct { const char* sign; double x, y, result; } cases[] = {
        {"+", 2, 3, 5},    {"-", 2, 3, -1},     {"*", 2, -3, -6},   {"/", 7, 2, 3.5},    {"<", 1, 2, 1},
        {"<", 2, 2, 0},    {">", 3, 2, 1},      {">", 2, 3, 0},     {"=", 2, 2, 1},      {"<>", 2, 3, 1},
        {"<>", 2, 2, 0},   {"<=", 2, 2, 1},     {"<=", 3, 2, 0},    {">=", 2, 2, 1},     {">=", 1, 2, 0},
        {"=", 0.1 + 0.2, 0.3, 0},
        {"^", 5, 0, 1},    {"^", 0, 0.5, 0},    {"^", 2, 10, 1024}, {"^", -2, 3, -8},    {"^", -2, -2, 0.25},
        {"^", 10, -3, 0.001}, {"^", 4, 0.5, 2}, {"^", 1.5, 2, 2.25},
        // A negative base with a non-integral exponent falls back to the absolute base.
        {"^", -2, 0.5, std::sqrt(2.0)},         {"^", -4, -0.5, 0.5},
    };
    quortest::context c;
    for (const auto& k : cases)
        EXPECT_NEAR(operate(c, k.sign, k.x, k.y), k.result, 1e-12 * std::fabs(k.result)) << k.x << k.sign << k.y;
    EXPECT_TRUE(c.host.take().empty());
}

TEST(Operate, FaultsGiveHugeValueOrZeroWithBox)
{
    // Division by zero shows its box in both programs; the plotter shows no other fault box.
    const std::string divbox =
        "box: Error on DEVIDE BY ZERO,this step will return to 1E300,the final result maybe incorrect";
    const struct { const char* sign; double x, y, result; bool both; } cases[] = {
        {"/", 7, 0, 1E300, true},     {"/", -7, 0, 1E300, true},   {"/", 0, 0, 1E300, true},
        {"+", 1e308, 1e308, 0, false}, {"-", -1e308, 1e308, 0, false}, {"/", 1e308, 1e-10, 0, false},
        {"^", 0, -2.5, 0, false},     {"^", 10, 400, 0, false},    {"^", 2, 2147483648.0, 0, false},
    };
    for (tdialect d : bothdialects) {
        quortest::context c(d);
        for (const auto& k : cases) {
            EXPECT_EQ(operate(c, k.sign, k.x, k.y), k.result) << nameof(d) << ' ' << k.x << k.sign << k.y;
            const events expected = k.both                   ? events{divbox}
                                    : d == tdialect::editor ? events{"box: Error on operating"}
                                                            : events{};
            EXPECT_EQ(c.host.take(), expected) << nameof(d) << ' ' << k.x << k.sign << k.y;
        }
    }
}

TEST(Reduce, CountMismatchAndFaultSteps)
{
    // A count mismatch gives -1; a faulty step gives 0 and the reduction goes on.
    const char *mismatch = "box: Date and operator not suitable", *fault = "box: Error on operating";
    const struct { doubles operands; strings signs; double result; const char* box; } cases[] = {
        {{}, {}, -1, mismatch},        {{1, 2}, {}, -1, mismatch},      {{1}, {"+"}, -1, mismatch},
        {{1, 2, 3}, {"+"}, -1, mismatch}, {{}, {"-"}, -1, mismatch},
        {{1e308, 10, 5}, {"*", "+"}, 5, fault},   // 0+5
        {{3, 0, -1}, {"-", "^"}, 3, fault},       // 3-0
    };
    for (tdialect d : bothdialects) {
        quortest::context c(d);
        for (const auto& k : cases) {
            EXPECT_EQ(reduce(c, k.operands, k.signs), k.result) << nameof(d) << ' ' << k.operands.size();
            const events expected = d == tdialect::editor ? events{k.box} : events{};
            EXPECT_EQ(c.host.take(), expected) << nameof(d) << ' ' << k.operands.size();
        }
    }
}

TEST(Reduce, PriorityLevelsLeftToRight)
{
    const struct { doubles operands; strings signs; double result; } cases[] = {
        {{-0.5}, {}, -0.5},
        {{2, 2, 1}, {"=", "+"}, 2},          // a=b+1 is (a=b)+1
        {{1, 1, 2}, {"+", "="}, 1},          {{2, 3, 6}, {"*", "="}, 0},
        {{2, 2, 3}, {"*", "^"}, 16},         {{10, 4, 2}, {"-", "/"}, 8},
        {{2, 3, 1, 2}, {"^", "<", "+"}, 3},  // comparison before power
        {{1, 2, 2, 3}, {"+", "^", "*"}, 13},
    };
    quortest::context c;
    for (const auto& k : cases) EXPECT_EQ(reduce(c, k.operands, k.signs), k.result) << k.result;
    EXPECT_TRUE(c.host.take().empty());
}
