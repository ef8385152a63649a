// Statement executor: call forms, assignments, argument splitting and text expressions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fault.h"
#include "fixture.h"
#include "scanner.h"
#include "statements.h"

using quor::tdialect;
using strings = std::vector<std::string>;

TEST(Statements, CallForms)
{
    const struct { const char* statement; bool call; const char* name; const char* args; } cases[] = {
        {"print(1,2)", true, "print", "1,2"},
        {"  PrInt(x)", true, "print", "x"},
        {"ab(x) + 1", true, "ab", "x"},          // text after the closing ")" is dropped
        {"print(1", true, "print", "1"},         // no partner: the rest of the text
        {"my func(x)", true, "my", "x"},         // the name ends at the first blank
        {"ab()", true, "ab", ""},
        {"print ('a')", true, "print", "'a'"},
        {"p (x)", true, "p", "x"},               // the "(" does not touch the one letter
        {"p(x)", false, "", ""},                 // one-character names are no call form
        {"   p(x)", false, "", ""},
        {"(x)", false, "", ""},
        {"x+1", false, "", ""},
        {"a:=f(x)", false, "", ""},
        {"f(a:=1)", false, "", ""},
    };
    for (tdialect d : {tdialect::editor, tdialect::plotter}) {
        quortest::context ctx(d);
        for (const auto& c : cases) {
            const auto form = quor::splitcall(c.statement, ctx.session);
            ASSERT_EQ(form.has_value(), c.call) << c.statement;
            if (form) {
                EXPECT_EQ(form->name, c.name) << c.statement;
                EXPECT_EQ(form->args, c.args) << c.statement;
            }
        }
    }
    // Only the editor skips literals when matching the parenthesis.
    quortest::context editor(tdialect::editor), plotter(tdialect::plotter);
    EXPECT_EQ(quor::splitcall("print('a)b')", editor.session)->args, "'a)b'");
    EXPECT_EQ(quor::splitcall("print('a)b')", plotter.session)->args, "'a");
}

TEST(Statements, ExecuteGivesResultText)
{
    quortest::context ctx;
    EXPECT_EQ(ctx.exec("a:=b:=2+3"), "5");
    EXPECT_EQ(ctx.eval("a"), 5);
    EXPECT_EQ(ctx.eval("b"), 5);
    EXPECT_EQ(ctx.exec("1/3"), "0.333333333333333");
    EXPECT_EQ(ctx.exec("sqrt(16)"), "4");     // math names are expressions
    EXPECT_EQ(ctx.exec("print('hi')"), "1");  // a command's number
    EXPECT_EQ(ctx.exec("PRINT('ho')"), "1");
    EXPECT_EQ(ctx.exec("setstr(s,'ab')"), "1");
    EXPECT_EQ(ctx.exec("getstr(s)"), "ab");   // a string function's text
    EXPECT_EQ(ctx.host.take(), (strings{"memo: hi", "memo: ho"}));

    // The target is taken as written, trailing blank included.
    EXPECT_EQ(ctx.exec("x :=1"), "1");
    EXPECT_TRUE(ctx.vars.varexists("x "));
    EXPECT_FALSE(ctx.vars.varexists("x"));

    // An assignment to a table name is an assignment.
    EXPECT_EQ(ctx.exec("len:=7"), "7");
    EXPECT_EQ(ctx.eval("len"), 7);
    EXPECT_EQ(ctx.exec("len(len)"), "0");
    EXPECT_TRUE(ctx.host.take().empty());
}

TEST(Statements, OneCharacterNameIsAnExpression)
{
    // With a one-character command name the statement is still evaluated as an expression,
    // where the call finds the command through the function call path.
    quortest::context ctx;
    ctx.funcs.commandnames[4] = "p";
    EXPECT_EQ(ctx.exec("p('x')"), "1");
    EXPECT_EQ(ctx.host.take(), (strings{"memo: x"}));
    ctx.funcs.commandnames[4] = "print";
    EXPECT_EQ(ctx.exec("q(1)"), "-1");
    EXPECT_EQ(ctx.host.take(), (strings{"memo: Can not find this self-defition function :qthe final result maybe incorrected"}));
}

TEST(Statements, PendingEventsOnlyInEditor)
{
    quortest::context editor(tdialect::editor), plotter(tdialect::plotter);
    editor.exec("x:=1");
    editor.exec("print('a')");
    EXPECT_EQ(editor.host.processed, 2);
    // A computed part of a text expression is a statement of its own.
    editor.exec("print(x)");
    EXPECT_EQ(editor.host.processed, 4);
    plotter.exec("x:=1");
    plotter.exec("print(x)");
    EXPECT_EQ(plotter.host.processed, 0);
}

TEST(Statements, WithoutMemoReportsFail)
{
    quortest::context ctx;
    try {
        quor::execstatement("print('hi')", ctx.vars, ctx.funcs, nullptr, ctx.session);
        ADD_FAILURE() << "no failure";
    } catch (const quor::tfault& f) {
        EXPECT_EQ(f.text(), "hi");
    }
    EXPECT_TRUE(ctx.host.take().empty());
}

TEST(Statements, SplitArg)
{
    // The first item and the rest, read by the editor and by the plotter.
    const struct { const char *text, *first, *rest, *plotterfirst, *plotterrest; } cases[] = {
        {"f(1,2),'a,b',3", "f(1,2)", "'a,b',3", "f(1,2)", "'a,b',3"},
        {"'a,b',3", "'a,b'", "3", "'a", "b',3"},
        {"abc", "abc", "", "abc", ""},
        {"a[1,2],b", "a[1,2]", "b", "a[1,2]", "b"},
        {" x , y", " x ", " y", " x ", " y"},
        {"'it''s,ok',2", "'it''s,ok'", "2", "'it''s", "ok',2"},
        {",x", "", "x", "", "x"},
        {"x,", "x", "", "x", ""},
        {"", "", "", "", ""},
        // An unclosed literal takes the rest of the text.
        {"'a,b", "'a,b", "", "'a", "b"},
        {"'a'',b", "'a'',b", "", "'a''", "b"},
        {"x,'y", "x", "'y", "x", "'y"},
    };
    for (const auto& c : cases) {
        std::string a = c.text;
        EXPECT_EQ(quor::splitarg(a, tdialect::editor), c.first) << c.text;
        EXPECT_EQ(a, c.rest) << c.text;
        std::string b = c.text;
        EXPECT_EQ(quor::splitarg(b, tdialect::plotter), c.plotterfirst) << c.text;
        EXPECT_EQ(b, c.plotterrest) << c.text;
    }
}

TEST(Statements, TextExpressions)
{
    const struct { const char* text; const char* value; } cases[] = {
        {"x", "2.5"},
        {"'x = 'x", "x = 2.5"},
        {"'it''s'", "it's"},
        {"''''", "'"},
        {"'a'''", "a'"},
        {"'a'i", "a3"},
        {"'('", "("},
        {"'sum='(x+1)", "sum=3.5"},
        {"'i='i' x='x", "i=3 x=2.5"},
        {"getstr(s)'!'", "ab!"},
        // Quotes inside a call's arguments do not start a literal of the outer text.
        {"'v='val('1+2')", "v=3"},
        // Blank-only computed parts are spacing and are skipped.
        {"' a '  'b'", " a b"},
        {"'x'  ", "x"},
        {"   ", ""},
        {"", ""},
        // An unclosed literal takes the rest of the text.
        {"'abc", "abc"},
        {"i'a''b", "3a'b"},
        {"x'", "2.5"},
        {"'", ""},
        // A literal closed by the text's last character is closed, even when empty.
        {"'a'", "a"},
        {"x''", "2.5"},
        {"''", ""},
    };
    quortest::context ctx;
    ctx.assign("x:=2.5");
    ctx.assign("i:=3");
    ctx.exec("setstr(s,'ab')");
    for (const auto& c : cases) {
        EXPECT_EQ(quor::evaltext(c.text, ctx.vars, &ctx.funcs, &ctx.host, ctx.session), c.value) << c.text;
    }
    EXPECT_TRUE(ctx.host.take().empty());
}

TEST(Statements, ComputedNames)
{
    quortest::context ctx;
    ctx.assign("i:=3");
    const struct { const char* arg; const char* name; } cases[] = {
        {"'a'i", "a3"}, {"a", "a"}, {"x+1", "x+1"}, {" b ", " b "}, {"'m'i'_'i", "m3_3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(quor::computedname(c.arg, ctx.vars, &ctx.funcs, &ctx.host, ctx.session), c.name) << c.arg;
    }
    EXPECT_TRUE(ctx.host.take().empty());
}
