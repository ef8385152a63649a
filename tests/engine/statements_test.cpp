// Statement executor: call forms, assignments and text expressions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fault.h"
#include "fixture.h"
#include "statements.h"

using quor::tdialect;
using strings = std::vector<std::string>;

TEST(Statements, CallForms)
{
    const struct { const char* statement; bool call; const char* name; const char* args; } cases[] = {
        {"print(1,2)", true, "print", "1,2"},   {"  PrInt(x)", true, "print", "x"},
        {"ab(x) + 1", true, "ab", "x"},         // text after the closing ")" is dropped
        {"print(1", true, "print", "1"},        // no partner: the rest of the text
        {"my func(x)", true, "my", "x"},        // the name ends at the first blank
        {"ab()", true, "ab", ""},               {"print ('a')", true, "print", "'a'"},
        {"p (x)", true, "p", "x"},              // the "(" does not touch the one letter
        {"p(x)", false, "", ""},                // one-character names are no call form
        {"   p(x)", false, "", ""},             {"(x)", false, "", ""},
        {"x+1", false, "", ""},                 {"a:=f(x)", false, "", ""},
        {"f(a:=1)", false, "", ""},
    };
    quortest::context editor(tdialect::editor), plotter(tdialect::plotter);
    for (const auto& c : cases) {
        const auto form = quor::splitcall(c.statement, editor.session);
        ASSERT_EQ(form.has_value(), c.call) << c.statement;
        if (form) {
            EXPECT_EQ(form->name, c.name) << c.statement;
            EXPECT_EQ(form->args, c.args) << c.statement;
        }
    }
    // Only the editor skips literals when matching the parenthesis.
    EXPECT_EQ(quor::splitcall("print('a)b')", editor.session)->args, "'a)b'");
    EXPECT_EQ(quor::splitcall("print('a)b')", plotter.session)->args, "'a");
}

TEST(Statements, ExecuteGivesResultText)
{
    quortest::context ctx;
    EXPECT_EQ(ctx.exec("a:=b:=2+3"), "5");
    EXPECT_EQ(ctx.exec("sqrt(16)"), "4");     // math names are expressions
    EXPECT_EQ(ctx.exec("print('hi')"), "1");  // a command's number
    EXPECT_EQ(ctx.host.take(), (strings{"memo: hi"}));

    // An assignment to a table name is an assignment.
    EXPECT_EQ(ctx.exec("len:=7"), "7");
    EXPECT_EQ(ctx.eval("len"), 7);
    EXPECT_EQ(ctx.exec("len(len)"), "0");
    EXPECT_TRUE(ctx.host.take().empty());

    // Without a memo, anything that would be written to it fails the statement.
    try {
        quor::execstatement("print('hi')", ctx.vars, ctx.funcs, nullptr, ctx.session);
        ADD_FAILURE() << "no failure";
    } catch (const quor::tfault& f) {
        EXPECT_EQ(f.text(), "hi");
    }
    EXPECT_TRUE(ctx.host.take().empty());

    // With a one-character command name the statement is still evaluated as an expression,
    // where the call finds the command through the function call path.
    ctx.funcs.commandnames.set(4, "p");
    EXPECT_EQ(ctx.exec("p('x')"), "1");
    EXPECT_EQ(ctx.host.take(), (strings{"memo: x"}));
}

TEST(Statements, PendingEventsOnlyInEditor)
{
    // A computed part of a text expression is a statement of its own.
    quortest::context editor(tdialect::editor), plotter(tdialect::plotter);
    for (auto* ctx : {&editor, &plotter}) {
        ctx->exec("x:=1");
        ctx->exec("print(x)");
    }
    EXPECT_EQ(editor.host.processed, 3);
    EXPECT_EQ(plotter.host.processed, 0);
}

TEST(Statements, TextExpressions)
{
    const struct { const char* text; const char* value; } cases[] = {
        {"x", "2.5"},         {"''''", "'"},          {"'a'''", "a'"},       {"'('", "("},
        {"'sum='(x+1)", "sum=3.5"},                   {"'i='i' x='x", "i=3 x=2.5"},
        {"getstr(s)'!'", "ab!"},
        // Quotes inside a call's arguments do not start a literal of the outer text.
        {"'v='val('1+2')", "v=3"},
        // Blank-only computed parts are spacing and are skipped.
        {"' a '  'b'", " a b"}, {"'x'  ", "x"},       {"   ", ""},            {"", ""},
        // An unclosed literal takes the rest of the text.
        {"'abc", "abc"},      {"i'a''b", "3a'b"},     {"x'", "2.5"},         {"'", ""},
        // A literal closed by the text's last character is closed, even when empty.
        {"'a'", "a"},         {"x''", "2.5"},         {"''", ""},
    };
    quortest::context ctx;
    ctx.assign("x:=2.5");
    ctx.assign("i:=3");
    ctx.exec("setstr(s,'ab')");
    for (const auto& c : cases)
        EXPECT_EQ(quor::evaltext(c.text, ctx.vars, ctx.funcs, &ctx.host, ctx.session), c.value) << c.text;
    // A name argument goes through the text rules only when it holds a quote.
    const struct { const char* arg; const char* name; } names[] = {
        {"'a'i", "a3"}, {"a", "a"}, {"x+1", "x+1"}, {" b ", " b "}, {"'m'i'_'i", "m3_3"},
    };
    for (const auto& c : names)
        EXPECT_EQ(quor::computedname(c.arg, ctx.vars, ctx.funcs, &ctx.host, ctx.session), c.name) << c.arg;
    EXPECT_TRUE(ctx.host.take().empty());
}
