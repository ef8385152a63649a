// Commands, string functions, window commands and the load command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fault.h"
#include "fixture.h"
#include "tempdir.h"

using quor::tdialect;
using strings = std::vector<std::string>;

namespace {

// The result text of a statement, or "fault: " and the text of the fault it raises.
std::string outcome(quortest::context& ctx, const std::string& statement)
{
    try {
        return ctx.exec(statement);
    } catch (const quor::tfault& f) {
        return "fault: " + f.text();
    }
}

struct step {
    const char* statement;
    std::string result;
    strings events;   // the events the statement adds
};

// Runs the statements in order in one context.
void runsteps(quortest::context& ctx, const std::vector<step>& steps)
{
    for (const auto& s : steps) {
        EXPECT_EQ(outcome(ctx, s.statement), s.result) << s.statement;
        EXPECT_EQ(ctx.host.take(), s.events) << s.statement;
    }
}

const strings lnfault = {"memo: Error on function ln inside compiler "};

}  // namespace

TEST(Commands, VariablesAndDimensions)
{
    quortest::context ctx;
    ctx.funcs.commandnames.push_back("extracmd");
    ctx.funcs.stringnames.push_back("extrastr");
    ctx.funcs.apinames.push_back("extraapi");
    runsteps(ctx, {
        {"delvar(zz)", "1", {"box: no such variable: zz or error on argument"}},
        {"cleararr(zz)", "1", {"box: no such variable: zz or error on argument"}},
        {"a[2]:=5", "5", {}},                {"cleararr(a)", "1", {}},
        {"len(a)", "0", {}},                 {"a", "5", {}},   // the value beside the array stays
        {"setvar(m[1],4)", "1", {}},         {"m[1]", "4", {}},
        {"y:=print('p')+1", "2", {"memo: p"}},   // inside an expression a command gives its number
        {"setvar(b,ln(0))", "fault: Error on set value to variable: b",
         {lnfault[0], "memo: Error on set value to variable: b"}},
        {"len(b)", "-1", {"box: This variable: b not found", "memo: This variable: b not found"}},
        // Sizes are truncated and made positive; redimensioning clears the old elements.
        {"d[0]:=2", "2", {}},                {"d[1]:=-3.7", "-3.7", {}},
        {"redim(m,d)", "1", {}},             {"m[1,2]:=9", "9", {}},
        {"m[5]", "9", {}},                   {"getdim(m,t)", "1", {}},
        {"t[0]*10+t[1]", "23", {}},          {"d[0]:=1", "1", {}},
        {"redim(m,d)", "1", {}},             {"len(m)", "3", {}},
        {"m[2]", "0", {}},                   {"v:=1", "1", {}},
        {"len(v)", "0", {}},                 // a plain value has no elements
        {"redim(m,zz)", "-1", {"box: Error on variable: zznot be found"}},
        {"getdim(q,t)", "-1", {"box: This variable: q not found", "memo: This variable: q not found"}},
        // Indexes past the built-ins of a table do nothing.
        {"extracmd(ln(0))", "1", {}},        {"extrastr(x)", "", {}},
        {"extraapi(ln(0))", "0", {}},        {"extracmd(1)+extraapi(1)", "1", {}},
    });
    EXPECT_TRUE(ctx.vars.find("a")->demension.empty());   // emptied by cleararr
}

TEST(Commands, InputBoxes)
{
    quortest::context ctx;
    ctx.host.answers = {"<cancel>", "<cancel>", "5", "2", "<cancel>"};
    runsteps(ctx, {
        {"n:=2", "2", {}},
        // Cancelling gives the default; a quoted default is a text expression, and so are
        // caption and prompt.
        {"inputnum('C','P','1'n)", "12", {"ask: C|P|12", "cancel"}},
        // An unquoted default is shown as written, so cancelling it gives no number.
        {"inputnum('Cap','Enter 'n,n+1)", "5",
         {"ask: Cap|Enter 2|n+1", "cancel", "box: n+1 is not a value,putin again!", "ask: Cap|Enter 2|n+1",
          "answer: 5"}},
        {"y:=inputnum('C','P',0)+1", "3", {"ask: C|P|0", "answer: 2"}},
        {"inputstr('Cap','Name?','anon')", "anon", {"ask: Cap|Name?|anon", "cancel"}},
    });
}

TEST(Commands, PlotWindow)
{
    for (tdialect d : {tdialect::editor, tdialect::plotter}) {
        quortest::context ctx(d);
        const bool ed = d == tdialect::editor;   // only the editor turns quoted arguments into their text values
        runsteps(ctx, {
            {"plot('sin(x)','x',h)", "1", {ed ? "plot: 1001|sin(x)|x" : "plot: 1001|'sin(x)'|'x'"}},
            {"plot(x^2,x,g)", "1", {"plot: 1002|x^2|x"}},
            {"h", "1001", {}},
            {"g", "1002", {}},
        });
        EXPECT_TRUE(ctx.host.windows[1001].visible && ctx.host.windows[1002].visible);
    }
}

TEST(StringFunctions, TextsAndCopies)
{
    quortest::context ctx;
    runsteps(ctx, {
        {"v:=2", "2", {}},
        {"setstr('t'v,'v='v)", "1", {}},     {"getstr('t'v)", "v=2", {}},
        {"getstr(t2[0])", "", {}},           {"setstr(q,'a,b')", "1", {}},
        {"getstr(q)", "a,b", {}},            {"setstr(w,ln(0))", "-1", lnfault},
        // strcpy copies sizes and elements, but from an element source only its value.
        {"d[0]:=2", "2", {}},                {"d[1]:=3", "3", {}},
        {"redim(m,d)", "1", {}},             {"m[1,2]:=9", "9", {}},
        {"m:=4", "4", {}},                   {"strcpy(c,m)", "1", {}},
        {"c*10+c[1,2]", "49", {}},           {"strcpy(e,m[1,2])", "1", {}},
        {"e*10+len(e)", "90", {}},
    });
    EXPECT_EQ(outcome(ctx, "strcpy(f,m[5,5])"), "fault: Error on strcpy");
}

TEST(WindowCommands, ByHandle)
{
    quortest::context ctx;
    ctx.exec("plot(x,x,h)");
    ctx.assign("n:=3");
    const struct { const char* statement; const char* result; bool visible; const char* caption; } steps[] = {
        {"showwnd(h+0.9,0)", "1", false, "x"},         // the handle is truncated
        {"showwnd(h+4294967296,5)", "0", true, "x"},   // and passed as 32 bits
        {"showwnd(h,0.9)", "1", false, "x"},           // so is the mode
        {"setwndtext(h,n*2)", "1", false, "6"},
    };
    for (const auto& st : steps) {
        EXPECT_EQ(ctx.exec(st.statement), st.result) << st.statement;
        EXPECT_EQ(ctx.host.windows[1001].visible, st.visible) << st.statement;
        EXPECT_EQ(ctx.host.windows[1001].caption, st.caption) << st.statement;
    }
    EXPECT_EQ(ctx.assign("y:=showwnd(h,1)+10"), 10);
    EXPECT_EQ(ctx.host.take(), (strings{"plot: 1001|x|x"}));

    // A failing argument gives 0 and one line of the window command.
    runsteps(ctx, {
        {"getdc(ln(0))", "0", {lnfault[0], "memo: Error on API gtdc"}},
        {"showwnd(h,ln(0))", "0", {lnfault[0], "memo: Error on API shwwnd"}},
        {"setwndtext(h,ln(0))", "0", {lnfault[0], "memo: Error on API stwndtxt"}},
        {"setwndtext(ln(0),'a')", "0", {lnfault[0], "memo: Error on API stwndtxt"}},
    });
    EXPECT_EQ(ctx.host.windows[1001].caption, "6");
}

TEST(LoadCommand, DataFiles)
{
    quortest::tempdir dir;
    const std::string path = dir.write("data.txt",
                                       "a:=5\r\nb:=a*2\r\nfunction y=twice(x)\r\ny:=x*2\r\nc:=99\r\n"
                                       "endfunction\r\nd:=1\r\n");
    const std::string missing = (dir.path / "none.dat").string();
    const std::string bad = dir.write("bad.dat", "e:=1\nb:=ln(0)\nf:=2\nfunction y=f(x)\nendfunction\n");
    quortest::context ctx;
    ctx.funcs.basedir = "/base";
    ctx.host.files = {path, ""};
    ctx.vars.settext("p", missing);
    ctx.vars.settext("q", bad);
    runsteps(ctx, {
        {"load('*.txt')", "1", {"open: /base|*.txt", "answer: " + path}},   // the chosen file
        {"a*100+b*10+d", "601", {}},
        {"twice(4)", "8", {}},
        {"load('*.dat')", "0", {"open: /base|*.dat", "answer: "}},         // a chosen empty name loads nothing
        {"load(getstr(p))", "fault: Error on load from file: " + missing, {}},
        // A failing assignment stops the reading; earlier lines have taken effect.
        {"load(getstr(q))", "fault: Error on load from file: " + bad, lnfault},
        {"e", "1", {}},
    });
    // Lines inside the function block are not run; the failed file's function is not loaded.
    EXPECT_FALSE(ctx.vars.varexists("c") || ctx.vars.varexists("y") || ctx.vars.varexists("f"));
    EXPECT_EQ(ctx.funcs.findfunc("f"), nullptr);
}
