// Commands, string functions, window commands and the load command.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "commands.h"
#include "fault.h"
#include "fixture.h"
#include "tempdir.h"
#include "windowcmds.h"

using quor::tdialect;
using strings = std::vector<std::string>;
namespace fs = std::filesystem;

namespace {

using quortest::tempdir;


std::string faultof(quortest::context& ctx, const std::string& statement)
{
    try {
        ctx.exec(statement);
    } catch (const quor::tfault& f) {
        return f.text();
    }
    return "(no fault)";
}

}  // namespace

TEST(Commands, RemoveAndEmptyVariables)
{
    quortest::context ctx;
    ctx.assign("a3:=1");
    ctx.assign("i:=3");
    EXPECT_EQ(ctx.exec("delvar('a'i)"), "1");
    EXPECT_FALSE(ctx.vars.varexists("a3"));
    EXPECT_TRUE(ctx.host.take().empty());
    EXPECT_EQ(ctx.exec("delvar(zz)"), "1");
    EXPECT_EQ(ctx.exec("cleararr(zz)"), "1");
    EXPECT_EQ(ctx.host.take(), (strings{"box: no such variable: zz or error on argument",
                                        "box: no such variable: zz or error on argument"}));

    ctx.assign("a[2]:=5");
    EXPECT_EQ(ctx.exec("len(a)"), "3");
    EXPECT_EQ(ctx.exec("cleararr(a)"), "1");
    EXPECT_EQ(ctx.exec("len(a)"), "0");
    EXPECT_EQ(ctx.eval("a"), 5);   // the value beside the array stays
    ASSERT_NE(ctx.vars.find("a"), nullptr);
    EXPECT_TRUE(ctx.vars.find("a")->demension.empty());
    EXPECT_TRUE(ctx.host.take().empty());
}

TEST(Commands, PrintAndMessage)
{
    quortest::context ctx;
    ctx.assign("x:=2.5");
    ctx.assign("a:=7");
    EXPECT_EQ(ctx.exec("print('x = 'x)"), "1");
    EXPECT_EQ(ctx.exec("print('it''s')"), "1");
    EXPECT_EQ(ctx.exec("print(x*2)"), "1");
    EXPECT_EQ(ctx.exec("msg('a='a)"), "1");
    EXPECT_EQ(ctx.host.take(), (strings{"memo: x = 2.5", "memo: it's", "memo: 5", "box: a=7"}));
    // Used inside an expression, a command gives its number.
    EXPECT_EQ(ctx.eval("print('p')+1"), 2);
    EXPECT_EQ(ctx.host.take(), (strings{"memo: p"}));
}

TEST(Commands, SetVariable)
{
    quortest::context ctx;
    ctx.assign("i:=3");
    EXPECT_EQ(ctx.exec("setvar('a'i, 2*3)"), "1");
    EXPECT_EQ(ctx.eval("a3"), 6);
    EXPECT_EQ(ctx.exec("setvar(m[1],4)"), "1");
    EXPECT_EQ(ctx.eval("m[1]"), 4);
    EXPECT_TRUE(ctx.host.take().empty());

    EXPECT_EQ(faultof(ctx, "setvar(b,ln(0))"), "Error on set value to variable: b");
    EXPECT_EQ(ctx.host.take(), (strings{"memo: Error on function ln inside compiler ",
                                        "memo: Error on set value to variable: b"}));
    EXPECT_FALSE(ctx.vars.varexists("b"));
}

TEST(Commands, Dimensions)
{
    quortest::context ctx;
    ctx.assign("d[0]:=2");
    ctx.assign("d[1]:=-3.7");   // truncated, absolute value taken
    EXPECT_EQ(ctx.exec("redim(m,d)"), "1");
    const quor::tvar* m = ctx.vars.find("m");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->demension, (quor::cdemension{2, 3}));
    EXPECT_EQ(m->asistance, (quor::casistance{3, 1}));
    EXPECT_EQ(ctx.exec("len(m)"), "6");
    EXPECT_EQ(ctx.exec("getdim(m,t)"), "1");
    EXPECT_EQ(ctx.eval("t[0]"), 2);
    EXPECT_EQ(ctx.eval("t[1]"), 3);
    EXPECT_EQ(ctx.exec("len(t)"), "2");
    ctx.assign("v:=1");
    EXPECT_EQ(ctx.exec("len(v)"), "0");   // a plain value has no elements
    EXPECT_TRUE(ctx.host.take().empty());

    // Redimensioning clears the old elements.
    ctx.assign("m[1,2]:=9");
    ctx.assign("d[0]:=1");
    EXPECT_EQ(ctx.exec("redim(m,d)"), "1");
    EXPECT_EQ(ctx.exec("len(m)"), "3");
    EXPECT_EQ(ctx.eval("m[2]"), 0);

    EXPECT_EQ(ctx.exec("redim(m,zz)"), "-1");
    EXPECT_EQ(ctx.exec("len(q)"), "-1");
    EXPECT_EQ(ctx.exec("getdim(q,t)"), "-1");
    EXPECT_EQ(ctx.host.take(), (strings{"box: Error on variable: zznot be found", "box: This variable: q not found",
                                        "memo: This variable: q not found", "box: This variable: q not found",
                                        "memo: This variable: q not found"}));

    ctx.assign("h[0]:=100000");
    ctx.assign("h[1]:=100000");
    EXPECT_EQ(faultof(ctx, "redim(big,h)"), "Error on set array of variable: big");
}

TEST(Commands, AskForNumber)
{
    quortest::context ctx;
    ctx.assign("n:=2");
    // A non-number is refused and the question comes again.
    ctx.host.answers = {"abc", "4.5"};
    EXPECT_EQ(ctx.exec("inputnum('Cap','Enter 'n,3)"), "4.5");
    EXPECT_EQ(ctx.host.take(), (strings{"ask: Cap|Enter 2|3", "answer: abc", "box: abc is not a value,putin again!",
                                        "ask: Cap|Enter 2|3", "answer: 4.5"}));
    // Cancelling gives the default; a quoted default is a text expression.
    ctx.host.answers = {"<cancel>"};
    EXPECT_EQ(ctx.exec("inputnum('C','P','1'n)"), "12");
    EXPECT_EQ(ctx.host.take(), (strings{"ask: C|P|12", "cancel"}));
    // An unquoted default is shown as written, so cancelling it gives no number.
    ctx.host.answers = {"<cancel>", "5"};
    EXPECT_EQ(ctx.exec("inputnum('C','P',n+1)"), "5");
    EXPECT_EQ(ctx.host.take(), (strings{"ask: C|P|n+1", "cancel", "box: n+1 is not a value,putin again!",
                                        "ask: C|P|n+1", "answer: 5"}));
    // Inside an expression.
    ctx.host.answers = {"2"};
    EXPECT_EQ(ctx.assign("y:=inputnum('C','P',0)+1"), 3);
}

TEST(Commands, PlotWindow)
{
    for (tdialect d : {tdialect::editor, tdialect::plotter}) {
        quortest::context ctx(d);
        EXPECT_EQ(ctx.exec("plot('sin(x)','x',h)"), "1");
        EXPECT_EQ(ctx.exec("plot(x^2,x,g)"), "1");
        // Only the editor turns quoted arguments into their text values.
        const strings expected = d == tdialect::editor
                                     ? strings{"plot: 1001|sin(x)|x", "plot: 1002|x^2|x"}
                                     : strings{"plot: 1001|'sin(x)'|'x'", "plot: 1002|x^2|x"};
        EXPECT_EQ(ctx.host.take(), expected);
        EXPECT_EQ(ctx.eval("h"), 1001);
        EXPECT_EQ(ctx.eval("g"), 1002);
        EXPECT_TRUE(ctx.host.windows[1001].visible);
        EXPECT_TRUE(ctx.host.windows[1002].visible);
    }
}

namespace {

// Notes what the handle variable holds when the window is shown.
class watchinghost : public quortest::scriptedhost {
public:
    quor::tvarlist* vars = nullptr;
    bool storedbeforeshow = false;
    std::int32_t createplotwindow(const std::string& expr, const std::string& varname, quor::tvarlist& v,
                                  quor::tfunclist* funcs, quor::tmemo* memo) override
    {
        vars = &v;
        return scriptedhost::createplotwindow(expr, varname, v, funcs, memo);
    }
    void showplotwindow(std::int32_t handle) override
    {
        const quor::tvar* h = vars ? vars->find("h") : nullptr;
        storedbeforeshow = h && h->value == handle;
        scriptedhost::showplotwindow(handle);
    }
};

}  // namespace

TEST(Commands, PlotStoresHandleBeforeShowing)
{
    watchinghost host;
    quor::tsession session(host, tdialect::editor);
    quor::tvarlist vars("global", 2);
    quor::tfunclist funcs("test", 2);
    funcs.commandnames = quortest::commandtable();
    EXPECT_EQ(quor::execstatement("plot(x,x,h)", vars, funcs, &host, session), "1");
    EXPECT_TRUE(host.storedbeforeshow);
    EXPECT_TRUE(host.windows[1001].visible);
}

TEST(Commands, UnknownIndexesDoNothing)
{
    quortest::context ctx;
    ctx.funcs.commandnames.push_back("extracmd");
    ctx.funcs.stringnames.push_back("extrastr");
    ctx.funcs.apinames.push_back("extraapi");
    EXPECT_EQ(ctx.exec("extracmd(ln(0))"), "1");
    EXPECT_EQ(ctx.exec("extrastr(x)"), "");
    EXPECT_EQ(ctx.exec("extraapi(ln(0))"), "0");
    EXPECT_EQ(ctx.eval("extracmd(1)+extraapi(1)"), 1);
    EXPECT_TRUE(ctx.host.take().empty());
}

TEST(StringFunctions, TextsInVariables)
{
    quortest::context ctx;
    ctx.assign("v:=2");
    EXPECT_EQ(ctx.exec("setstr(s,'ab')"), "1");
    EXPECT_EQ(ctx.exec("getstr(s)"), "ab");
    EXPECT_EQ(ctx.eval("s"), 97);   // created with the first code as its value
    EXPECT_EQ(ctx.exec("setstr(s,'c')"), "1");
    EXPECT_EQ(ctx.exec("getstr(s)"), "cb");   // the old tail stays
    EXPECT_EQ(ctx.exec("setstr('t'v,'v='v)"), "1");
    EXPECT_EQ(ctx.exec("getstr('t'v)"), "v=2");
    EXPECT_EQ(ctx.exec("getstr(s[0])"), "");
    EXPECT_EQ(ctx.exec("setstr(q,'a,b')"), "1");
    EXPECT_EQ(ctx.exec("getstr(q)"), "a,b");
    EXPECT_TRUE(ctx.host.take().empty());

    EXPECT_EQ(ctx.exec("getstr(nope)"), "");
    EXPECT_EQ(ctx.host.take(), (strings{"box: NO such variable:nope"}));

    EXPECT_EQ(ctx.exec("setstr(w,ln(0))"), "-1");
    EXPECT_EQ(ctx.host.take(), (strings{"memo: Error on function ln inside compiler "}));
}

TEST(StringFunctions, AskForText)
{
    quortest::context ctx;
    ctx.host.answers = {"hello world", "<cancel>"};
    EXPECT_EQ(ctx.exec("inputstr('Cap','Name?','anon')"), "hello world");
    EXPECT_EQ(ctx.exec("inputstr('Cap','Name?','anon')"), "anon");
    EXPECT_EQ(ctx.host.take(), (strings{"ask: Cap|Name?|anon", "answer: hello world", "ask: Cap|Name?|anon", "cancel"}));
}

TEST(StringFunctions, CopyVariable)
{
    quortest::context ctx;
    ctx.assign("d[0]:=2");
    ctx.assign("d[1]:=3");
    ctx.exec("redim(m,d)");
    ctx.assign("m[1,2]:=9");
    ctx.assign("m:=4");
    EXPECT_EQ(ctx.exec("strcpy(c,m)"), "1");
    const quor::tvar* c = ctx.vars.find("c");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->value, 4);
    EXPECT_EQ(c->demension, (quor::cdemension{2, 3}));
    EXPECT_EQ(c->data, (std::vector<double>{0, 0, 0, 0, 0, 9}));
    EXPECT_EQ(ctx.eval("c[1,2]"), 9);

    // An element source copies only its value.
    EXPECT_EQ(ctx.exec("strcpy(e,m[1,2])"), "1");
    const quor::tvar* e = ctx.vars.find("e");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->value, 9);
    EXPECT_TRUE(e->data.empty());
    EXPECT_TRUE(ctx.host.take().empty());

    EXPECT_EQ(faultof(ctx, "strcpy(f,m[5,5])"), "Error on strcpy");
}

TEST(WindowCommands, ByHandle)
{
    for (tdialect d : {tdialect::editor, tdialect::plotter}) {
        quortest::context ctx(d);
        ctx.exec("plot(x,x,h)");
        ctx.host.take();
        ctx.assign("n:=3");
        const struct { const char* statement; const char* result; bool visible; const char* caption; } steps[] = {
            {"getdc(h)", "77", true, "x"},
            {"showwnd(h,0)", "1", false, "x"},
            {"showwnd(h,5)", "0", true, "x"},
            {"showwnd(h+0.9,0)", "1", false, "x"},   // the handle is truncated
            {"showwnd(h+4294967296,5)", "0", true, "x"},   // and passed as 32 bits
            {"showwnd(h,0.9)", "1", false, "x"},           // so is the mode
            {"showwnd(h,1)", "0", true, "x"},
            {"setwndtext(h,'Result')", "1", true, "Result"},
            {"setwndtext(h,'Plot of 'n)", "1", true, "Plot of 3"},
            {"setwndtext(h,n*2)", "1", true, "6"},
            // A handle that names no window gives the platform's own answer.
            {"getdc(999)", "0", true, "6"},
            {"showwnd(999,0)", "0", true, "6"},
            {"setwndtext(999,'a')", "0", true, "6"},
        };
        for (const auto& st : steps) {
            EXPECT_EQ(ctx.exec(st.statement), st.result) << st.statement;
            EXPECT_EQ(ctx.host.windows[1001].visible, st.visible) << st.statement;
            EXPECT_EQ(ctx.host.windows[1001].caption, st.caption) << st.statement;
        }
        EXPECT_EQ(ctx.assign("y:=showwnd(h,0)+10"), 11);
        EXPECT_TRUE(ctx.host.take().empty());
    }
}

TEST(WindowCommands, ArgumentFailuresGiveZero)
{
    const struct { const char* statement; const char* line; } cases[] = {
        {"getdc(ln(0))", "memo: Error on API gtdc"},
        {"showwnd(ln(0),1)", "memo: Error on API shwwnd"},
        {"showwnd(h,ln(0))", "memo: Error on API shwwnd"},
        {"setwndtext(h,ln(0))", "memo: Error on API stwndtxt"},
        {"setwndtext(ln(0),'a')", "memo: Error on API stwndtxt"},
    };
    for (const auto& c : cases) {
        quortest::context ctx;
        ctx.exec("plot(x,x,h)");
        ctx.host.take();
        EXPECT_EQ(ctx.exec(c.statement), "0") << c.statement;
        EXPECT_EQ(ctx.host.take(), (strings{"memo: Error on function ln inside compiler ", c.line})) << c.statement;
        EXPECT_EQ(ctx.host.windows[1001].caption, "x") << c.statement;
    }
    // The run goes on with the next statement.
    quortest::context ctx;
    EXPECT_EQ(ctx.run({"showwnd(ln(0),1)", "print('next')"}), "");
    EXPECT_EQ(ctx.host.take(), (strings{"memo: Error on function ln inside compiler ", "memo: Error on API shwwnd",
                                        "memo: next"}));
}

TEST(LoadCommand, PatternAndEmptyName)
{
    quortest::context ctx;
    ctx.funcs.basedir = "/base";
    ctx.host.files = {"<cancel>"};
    EXPECT_EQ(ctx.exec("load('*.dat')"), "-1");
    EXPECT_EQ(ctx.host.take(), (strings{"open: /base|*.dat", "cancel", "box: This load:*.dat operation will not effect",
                                        "memo: This load: *.dat operation will not effect"}));
    EXPECT_EQ(ctx.exec("load('')"), "0");
    EXPECT_TRUE(ctx.host.take().empty());
    // A chosen empty name loads nothing either.
    ctx.host.files = {""};
    EXPECT_EQ(ctx.exec("load('*.txt')"), "0");
    EXPECT_EQ(ctx.host.take(), (strings{"open: /base|*.txt", "answer: "}));
}

TEST(LoadCommand, DataFile)
{
    tempdir dir;
    const std::string path = dir.write("data.txt",
                                       "a:=5\r\n"
                                       "b:=a*2\r\n"
                                       "remarks without assignment\r\n"
                                       "function y=twice(x)\r\n"
                                       "y:=x*2\r\n"
                                       "c:=99\r\n"
                                       "endfunction\r\n"
                                       "d:=1\r\n");
    for (tdialect d : {tdialect::editor, tdialect::plotter}) {
        quortest::context ctx(d);
        ctx.vars.settext("p", path);
        EXPECT_EQ(ctx.exec("load(getstr(p))"), "1");
        EXPECT_EQ(ctx.eval("a"), 5);
        EXPECT_EQ(ctx.eval("b"), 10);
        EXPECT_EQ(ctx.eval("d"), 1);
        EXPECT_FALSE(ctx.vars.varexists("c"));   // inside the function block
        EXPECT_FALSE(ctx.vars.varexists("y"));
        ASSERT_NE(ctx.funcs.findfunc("twice"), nullptr);
        EXPECT_EQ(ctx.exec("twice(4)"), "8");
        EXPECT_TRUE(ctx.host.take().empty());
    }
}

TEST(LoadCommand, ChosenFileAndMissingFile)
{
    tempdir dir;
    const std::string path = dir.write("one.dat", "z:=3\n");
    quortest::context ctx;
    ctx.host.files = {path};
    EXPECT_EQ(ctx.exec("load('*.dat')"), "1");
    EXPECT_EQ(ctx.eval("z"), 3);
    ctx.host.take();

    const std::string missing = (dir.path / "none.dat").string();
    ctx.vars.settext("p", missing);
    EXPECT_EQ(faultof(ctx, "load(getstr(p))"), "Error on load from file: " + missing);
    EXPECT_TRUE(ctx.host.take().empty());

    // A failing assignment stops the reading; earlier lines have taken effect.
    const std::string bad = dir.write("bad.dat", "a:=1\nb:=ln(0)\nc:=2\nfunction y=f(x)\nendfunction\n");
    ctx.vars.settext("q", bad);
    EXPECT_EQ(faultof(ctx, "load(getstr(q))"), "Error on load from file: " + bad);
    EXPECT_EQ(ctx.host.take(), (strings{"memo: Error on function ln inside compiler "}));
    EXPECT_EQ(ctx.eval("a"), 1);
    EXPECT_FALSE(ctx.vars.varexists("c"));
    EXPECT_EQ(ctx.funcs.findfunc("f"), nullptr);
}
