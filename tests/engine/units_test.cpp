// Name tables and unit files: reading, lookup, precedence, and loading function blocks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fault.h"
#include "fixture.h"
#include "tempdir.h"
#include "units.h"

using quor::tdialect;
using strings = std::vector<std::string>;
namespace fs = std::filesystem;

namespace {

using quortest::tempdir;


std::string joined(const strings& lines, const std::string& end)
{
    std::string out;
    for (const auto& l : lines) out += l + end;
    return out;
}

void writetables(const tempdir& dir, const strings& which)
{
    for (const auto& f : which) {
        if (f == "command.dat") dir.write(f, joined(quortest::commandtable(), "\r\n"));
        if (f == "api.dat") dir.write(f, joined(quortest::apitable(), "\n"));
        if (f == "math.dat") dir.write(f, joined(quortest::mathtable(), "\r"));
        if (f == "strings.dat") dir.write(f, joined(quortest::stringtable(), "\r\n"));
    }
}

std::string loadfault(quor::tfunclist& funcs, const strings& dirs, tdialect order)
{
    try {
        quor::loadnametables(funcs, dirs, order);
    } catch (const quor::tfault& f) {
        return f.text();
    }
    return "";
}

}  // namespace

TEST(NameTables, LineEnds)
{
    tempdir dir;
    dir.write("command.dat", joined(quortest::commandtable(), "\r\n"));
    dir.write("api.dat", "getdc\rshowwnd\rsetwndtext");   // no end after the last line
    dir.write("math.dat", "abs\n\n tan \n");               // an empty line takes its index
    dir.write("strings.dat", "getstr\r\nsetstr\rinputstr\nstrcpy\n\n");
    quor::tfunclist funcs("f", 2);
    EXPECT_EQ(loadfault(funcs, {dir.str()}, tdialect::editor), "");
    EXPECT_EQ(funcs.commandnames, quortest::commandtable());
    EXPECT_EQ(funcs.apinames, quortest::apitable());
    EXPECT_EQ(funcs.mathnames, (strings{"abs", "", " tan "}));
    EXPECT_EQ(funcs.stringnames, (strings{"getstr", "setstr", "inputstr", "strcpy", ""}));

    EXPECT_EQ(quor::splittextlines("a\r\n\r\nb\rc\n"), (strings{"a", "", "b", "c"}));
    EXPECT_EQ(quor::splittextlines(""), strings{});
    EXPECT_EQ(quor::splittextlines("\n"), (strings{""}));
    EXPECT_EQ(quor::splittextlines("\n\r"), (strings{"", ""}));
}

TEST(NameTables, FirstDirectoryThatHasTheFile)
{
    tempdir first, second;
    first.write("command.dat", "DELVAR\nCLEARARR\n");
    writetables(second, {"command.dat", "api.dat", "math.dat", "strings.dat"});
    for (tdialect d : {tdialect::editor, tdialect::plotter}) {
        quor::tfunclist funcs("f", 2);
        EXPECT_EQ(loadfault(funcs, {first.str(), second.str()}, d), "");
        EXPECT_EQ(funcs.commandnames, (strings{"DELVAR", "CLEARARR"}));
        EXPECT_EQ(funcs.apinames, quortest::apitable());
        EXPECT_EQ(funcs.mathnames, quortest::mathtable());
        EXPECT_EQ(funcs.stringnames, quortest::stringtable());
    }

    // "" stands for the current directory.
    const fs::path old = fs::current_path();
    fs::current_path(second.path);
    quor::tfunclist funcs("f", 2);
    const std::string fault = loadfault(funcs, {(first.path / "nothing").string(), ""}, tdialect::editor);
    fs::current_path(old);
    EXPECT_EQ(fault, "");
    EXPECT_EQ(funcs.commandnames, quortest::commandtable());
    EXPECT_EQ(funcs.stringnames, quortest::stringtable());
}

TEST(NameTables, MissingTableStopsTheReading)
{
    // Which tables end up filled when one file is missing.
    const struct { tdialect order; strings present; const char* missing; bool command, api, math, strs; } cases[] = {
        {tdialect::editor, {"command.dat", "api.dat", "strings.dat"}, "math.dat", true, true, false, false},
        {tdialect::editor, {"api.dat", "math.dat", "strings.dat"}, "command.dat", false, false, false, false},
        {tdialect::editor, {"command.dat", "api.dat", "math.dat"}, "strings.dat", true, true, true, false},
        {tdialect::plotter, {"api.dat", "command.dat", "math.dat"}, "strings.dat", true, true, false, false},
        {tdialect::plotter, {"api.dat", "command.dat", "strings.dat"}, "math.dat", true, true, false, true},
        {tdialect::plotter, {"command.dat", "math.dat", "strings.dat"}, "api.dat", false, false, false, false},
    };
    for (const auto& c : cases) {
        tempdir dir;
        writetables(dir, c.present);
        quor::tfunclist funcs("f", 2);
        const std::string fault = loadfault(funcs, {dir.str()}, c.order);
        EXPECT_NE(fault.find(c.missing), std::string::npos) << fault;
        EXPECT_EQ(funcs.commandnames.empty(), !c.command) << c.missing;
        EXPECT_EQ(funcs.apinames.empty(), !c.api) << c.missing;
        EXPECT_EQ(funcs.mathnames.empty(), !c.math) << c.missing;
        EXPECT_EQ(funcs.stringnames.empty(), !c.strs) << c.missing;
    }
    quor::tfunclist funcs("f", 2);
    EXPECT_NE(loadfault(funcs, {}, tdialect::editor).find("command.dat"), std::string::npos);
}

TEST(NameTables, LookupIgnoresCaseAndTakesTheFirstLine)
{
    const quor::tnametable table = {"Abs", "x", "ABS", "", "Print"};
    EXPECT_EQ(quor::tableindex(table, "abs"), 0);
    EXPECT_EQ(quor::tableindex(table, "ABS"), 0);
    EXPECT_EQ(quor::tableindex(table, "X"), 1);
    EXPECT_EQ(quor::tableindex(table, "print"), 4);
    EXPECT_EQ(quor::tableindex(table, "prin"), -1);
    EXPECT_EQ(quor::tableindex(table, "abs "), -1);   // whole lines, no trimming

    quortest::context ctx;
    ctx.assign("a:=4");
    ctx.funcs.commandnames[4] = "PRINT";
    EXPECT_EQ(ctx.exec("print('a='a)"), "1");
    EXPECT_EQ(ctx.exec("Print('b')"), "1");
    // The line decides the built-in: the same name on line 7 shows a box instead.
    ctx.funcs.commandnames[4] = "msg";
    ctx.funcs.commandnames[7] = "print";
    EXPECT_EQ(ctx.exec("print('c')"), "1");
    // A name standing twice: the first line counts.
    ctx.funcs.commandnames[4] = "print";
    EXPECT_EQ(ctx.exec("print('d')"), "1");
    EXPECT_EQ(ctx.host.take(), (strings{"memo: a=4", "memo: b", "box: c", "memo: d"}));
}

TEST(NameTables, Precedence)
{
    quortest::context ctx;
    ctx.exec("setstr(s,'ab')");
    ctx.unit({"function y=sqr(x)", "y:=100", "endfunction",      //
              "function y=getstr(x)", "y:=x+1", "endfunction",   //
              "function y=getdc(x)", "y:=100", "endfunction"});
    // Statements: string functions, then commands, then window commands.
    ctx.funcs.commandnames[9] = "getstr";   // instead of len
    EXPECT_EQ(ctx.exec("getstr(s)"), "ab");
    ctx.funcs.apinames[1] = "print";
    EXPECT_EQ(ctx.exec("print('x')"), "1");
    // Expressions: math functions, then commands, then window commands, then units.
    EXPECT_EQ(ctx.eval("getstr(s)"), 2);   // the command (len) here
    ctx.funcs.commandnames[4] = "abs";
    EXPECT_EQ(ctx.eval("abs(-2)"), 2);
    EXPECT_EQ(ctx.exec("abs(-2)"), "1");   // as a statement it is the command
    EXPECT_EQ(ctx.eval("sqr(3)"), 9);      // a unit function named like a math function is hidden
    EXPECT_EQ(ctx.eval("getdc(3)"), 0);    // and one named like a window command
    ctx.funcs.apinames[0] = "len";
    ctx.funcs.commandnames[9] = "len";
    EXPECT_EQ(ctx.eval("len(s)"), 2);
    ctx.funcs.commandnames[9] = "length";
    EXPECT_EQ(ctx.eval("getstr(1)"), 2);   // a string-function name is a unit function in expressions
    EXPECT_EQ(ctx.host.take(), (strings{"memo: x", "memo: -2"}));
}

TEST(Units, LoadFile)
{
    tempdir dir;
    const std::string path = dir.write("u.qu",
                                       "remarks before the first head\r\n"
                                       "function y=f(x)\r\n"
                                       "y:=x+1;y:=y*2  \r\n"
                                       "endfunction\r\n"
                                       "more remarks := 5\r\n"
                                       "FUNCTION r=g(a,b)\r\n"
                                       "function y=h(x)\r\n"   // a head inside a body is a body line
                                       "r:=a-b\r\n"
                                       "EndFunction\r\n"
                                       "trailing remarks\r\n");
    for (tdialect d : {tdialect::editor, tdialect::plotter}) {
        quortest::context ctx(d);
        quor::loadunit(path, ctx.funcs, d);
        ASSERT_EQ(ctx.funcs.count(), 2);
        const quor::tfuncitem* f = ctx.funcs.findfunc("f");
        const quor::tfuncitem* g = ctx.funcs.findfunc("g");
        ASSERT_TRUE(f && g);
        EXPECT_EQ(f->lines, (strings{"y:=x+1;y:=y*2  "}));
        EXPECT_EQ(f->params, (strings{"x"}));
        EXPECT_EQ(g->lines, (strings{"function y=h(x)", "r:=a-b"}));
        EXPECT_EQ(g->resultname, "r");
        EXPECT_EQ(ctx.eval("f(2)"), 6);
        EXPECT_EQ(ctx.funcs.findfunc("h"), nullptr);
        EXPECT_FALSE(ctx.vars.varexists("more remarks "));
        EXPECT_TRUE(ctx.host.take().empty());
    }
}

TEST(Units, BlockEnds)
{
    const struct { const char* title; std::string text; strings body; } cases[] = {
        {"lf ends", "function y=f(x)\ny:=1\ny:=y+1\nendfunction\n", {"y:=1", "y:=y+1"}},
        {"cr ends", "function y=f(x)\ry:=1\ry:=y+1\rendfunction", {"y:=1", "y:=y+1"}},
        // Without its end line the block loses its last line.
        {"no end line", "function y=f(x)\ny:=1\ny:=y+1\n", {"y:=1"}},
        {"no end line, no final newline", "function y=f(x)\r\ny:=1\r\ny:=y+1", {"y:=1"}},
        {"head on the last line", "x:=1\nfunction y=f(x)\n", {}},
        {"head then one line", "function y=f(x)\ny:=1", {}},
        {"empty body", "function y=f(x)\nendfunction\n", {}},
        // "endfunction;" is no end line: the block runs on to the real one.
        {"end with semicolon", "function y=f(x)\nendfunction;\ny:=2\n  ENDFUNCTION  \ny:=3\n", {"endfunction;", "y:=2"}},
    };
    for (const auto& c : cases) {
        tempdir dir;
        const std::string path = dir.write("u.qu", c.text);
        quor::tfunclist funcs("f", 2);
        quor::loadunit(path, funcs, tdialect::editor);
        ASSERT_EQ(funcs.count(), 1) << c.title;
        EXPECT_EQ(funcs.item(0).lines, c.body) << c.title;
    }
}

TEST(Units, ReloadReplacesAndFailureNamesTheFile)
{
    tempdir dir;
    const std::string first = dir.write("a.qu", "function y=f(x)\ny:=1\nendfunction\nfunction y=k(x)\ny:=5\nendfunction\n");
    const std::string second = dir.write("b.qu", "function y=f(x)\ny:=2\nendfunction\n");
    quortest::context ctx;
    quor::loadunit(first, ctx.funcs, tdialect::editor);
    EXPECT_EQ(ctx.eval("f(0)"), 1);
    quor::loadunit(second, ctx.funcs, tdialect::editor);
    EXPECT_EQ(ctx.funcs.count(), 2);
    EXPECT_EQ(ctx.eval("f(0)"), 2);
    EXPECT_EQ(ctx.eval("k(0)"), 5);

    const std::string missing = (dir.path / "missing.qu").string();
    try {
        quor::loadunit(missing, ctx.funcs, tdialect::editor);
        ADD_FAILURE() << "missing unit accepted";
    } catch (const quor::tfault& f) {
        EXPECT_EQ(f.text(), "Error on load function form: " + missing);
    }
    EXPECT_EQ(ctx.funcs.count(), 2);
}
