// Function store: cutting text into statements, keywords, block ends, the block check,
// run reports, and the functions that work on unit text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fault.h"
#include "fixture.h"
#include "funcstore.h"
#include "unittext.h"

using quor::tdialect;
using quor::tfuncstore;
using strings = std::vector<std::string>;

namespace {

strings statementsof(const tfuncstore& store)
{
    strings out;
    for (const auto& l : store.lines) out.push_back(l.text);
    return out;
}

tfuncstore storeof(const strings& lines, const std::string& name = "Main function")
{
    tfuncstore store(name);
    store.assignlines(lines);
    return store;
}

}  // namespace

TEST(FuncStore, AssignLinesCutsAtEverySemicolon)
{
    const struct { strings source; strings statements; } cases[] = {
        {{"a:=1;;b:=2"}, {"a:=1", "", "b:=2"}},
        {{"x:=1;"}, {"x:=1"}},
        {{""}, {}},
        {{"   "}, {"   "}},
        {{";"}, {""}},
        {{";;x"}, {"", "", "x"}},
        // No escape: a ";" inside a literal still separates statements.
        {{"print('a;b')"}, {"print('a", "b')"}},
        // Nothing is trimmed, tabs included.
        {{" a := 1 ; b"}, {" a := 1 ", " b"}},
        {{"\tif(1)"}, {"\tif(1)"}},
        {{"a", "", "b;c"}, {"a", "b", "c"}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        tfuncstore store("s");
        EXPECT_EQ(store.assignlines(c.source), 1);
        EXPECT_EQ(statementsof(store), c.statements) << testing::PrintToString(c.source);
    }
}

TEST(FuncStore, AssignLinesAppendsAndNumbersSourceLines)
{
    tfuncstore store("s");
    store.assignlines({"a;b", "", "c"});
    store.assignlines({"d;e"}, 10);
    ASSERT_EQ(store.count(), 5);
    const int expected[] = {1, 1, 3, 10, 10};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(store.lines[static_cast<std::size_t>(i)].sourceline, expected[i]) << i;
    EXPECT_EQ(store.line(3), "d");
}

TEST(FuncStore, StoreNameIsCutTo255)
{
    EXPECT_EQ(tfuncstore(std::string(300, 'n')).name, std::string(255, 'n'));
}

TEST(FuncStore, KeywordCodesArePositionsInKeywordText)
{
    const std::string all = "ifforwhileendbreakelse";
    for (const char* w : {"if", "for", "while", "end", "break", "else"})
        EXPECT_EQ(quor::keywordcode(w), static_cast<int>(all.find(w)) + 1) << w;
    EXPECT_EQ(quor::keywordcode("If"), 0);
}

TEST(FuncStore, KeywordIsTheFirstWord)
{
    const struct { const char* line; const char* word; int code; } cases[] = {
        {"if(x>1)", "if", 1},
        {"if (x>1)", "if", 1},
        {"   for(i:=1:3)", "for", 3},
        {"while  (a<3)", "while", 6},
        {"end", "end", 11},
        {"  end  ", "end", 11},
        {"break", "break", 14},
        {"else", "else", 19},
        {"else if(d)", "else", 19},
        {"IF(x>1)", "IF", 0},
        {"Else", "Else", 0},
        {"endif", "endif", 0},
        {"breaks", "breaks", 0},
        {"i := 1", "i", 0},
        {"x:=1", "x:=1", 0},
        // Only blanks are skipped: a tab belongs to the word.
        {"\tif(1)", "\tif", 0},
        {"", "", 0},
        {"   ", "", 0},
    };
    for (const auto& c : cases) {
        tfuncstore store("s");
        store.lines.push_back({c.line, 1});
        EXPECT_EQ(store.getkeyword(0), c.word) << c.line;
        EXPECT_EQ(store.keyword(0), c.code) << c.line;
    }
}

TEST(FuncStore, BlockEnds)
{
    const tfuncstore store = storeof({
        "if(a)",           // 0
        "  for(i:=1:2)",   // 1
        "    x:=1",        // 2
        "  end",           // 3
        "else",            // 4
        "  while(b)",      // 5
        "  end",           // 6
        "end",             // 7
        "y:=2",            // 8
        "if(c)",           // 9: never closed
    });
    const struct { int line, end, code; } cases[] = {
        {0, 7, 1}, {1, 3, 3}, {2, 2, 0}, {3, 3, 11}, {4, 4, 19}, {5, 6, 6}, {7, 7, 11}, {8, 8, 0},
    };
    for (const auto& c : cases) {
        int code = -5;
        EXPECT_EQ(store.findblockend(c.line, code), c.end) << c.line;
        EXPECT_EQ(code, c.code) << c.line;
        code = -5;
        EXPECT_EQ(store.scanblockend(c.line, code), c.end) << c.line;
        EXPECT_EQ(code, c.code) << c.line;
    }
    int code = 0;
    EXPECT_EQ(store.scanblockend(9, code), store.count());
    EXPECT_EQ(code, 1);
    try {
        store.findblockend(9, code);
        ADD_FAILURE() << "missing end accepted";
    } catch (const quor::tfault& f) {
        EXPECT_EQ(f.text(), "Error on key word mismatched");
    }
    for (int bad : {-1, store.count()}) {
        for (bool scan : {false, true}) {
            try {
                scan ? store.scanblockend(bad, code) : store.findblockend(bad, code);
                ADD_FAILURE() << "index " << bad << " accepted";
            } catch (const quor::tfault& f) {
                EXPECT_EQ(f.text(), "Error on invalid line index");
            }
        }
    }
}

TEST(FuncStore, CheckBlocksReportsTheFirstFault)
{
    quortest::context ctx;
    const struct { strings lines; const char* fault; } cases[] = {
        {{"if(x>1)", "y:=2"}, "mismatched on if on if(x>1)"},
        {{"x:=0", "  while (a<3)"}, "mismatched on while on   while (a<3)"},
        {{"for(i:=1:3)", "if(1)", "end"}, "mismatched on for on for(i:=1:3)"},
        // The literal is cut at its ";", so the first piece does not balance.
        {{"print('a;b')"}, "print('a"},
        {{"x:=f(a[1]"}, "x:=f(a[1]"},
        // Bracket faults are looked for in all lines before block faults.
        {{"if(1)", "x:=(1"}, "x:=(1"},
        // Stray end and else are not faults of the check.
        {{"end", "else", "x:=1"}, ""},
        {{"if(1)", "else", "end"}, ""},
        {{"while(0)", "for(i:=1:2)", "end", "end"}, ""},
        {{}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(storeof(c.lines).checkblocks(ctx.session), c.fault) << testing::PrintToString(c.lines);
    }
}

TEST(FuncStore, RunWithoutEndReportsCriticalError)
{
    quortest::context ctx;
    tfuncstore store = storeof({"x:=1", "if(x>0)", "y:=2"}, "Main function");
    store.runstore(ctx.vars, ctx.funcs, &ctx.host, ctx.session);
    EXPECT_EQ(ctx.host.take(), (strings{"box: Critical error on compile: Main function",
                                        "memo: Critical error on compile at: Main function"}));
    EXPECT_EQ(ctx.eval("x"), 1);   // values assigned before the failure stay
    EXPECT_FALSE(ctx.vars.varexists("y"));
    EXPECT_EQ(store.fault.line, 1);
    EXPECT_EQ(store.fault.sourceline, 2);
    EXPECT_EQ(store.fault.text, "Error on key word mismatched");
}

TEST(FuncStore, FaultPlaceIsTheInnermostFailingStatement)
{
    quortest::context ctx;
    tfuncstore store("proc");
    store.assignlines({"a:=1;for(i:=1:3)", "  b:=ln(0)", "end"});
    store.runstore(ctx.vars, ctx.funcs, &ctx.host, ctx.session);
    EXPECT_EQ(ctx.host.take(), (strings{"memo: Error on function ln inside compiler ", "memo: Error on for flow",
                                        "box: Critical error on compile: proc",
                                        "memo: Critical error on compile at: proc"}));
    EXPECT_EQ(store.fault.line, 2);
    EXPECT_EQ(store.fault.sourceline, 2);
    EXPECT_EQ(store.fault.text, "Error on function ln inside compiler ");
    EXPECT_EQ(ctx.eval("i"), 1);

    // A later clean run clears the recorded place.
    tfuncstore clean("proc");
    clean.assignlines({"z:=1"});
    clean.fault.line = 7;
    clean.runstore(ctx.vars, ctx.funcs, &ctx.host, ctx.session);
    EXPECT_EQ(clean.fault.line, -1);
    EXPECT_TRUE(ctx.host.take().empty());
}

TEST(FuncStore, QuietRuns)
{
    quortest::context ctx;
    // No lines: nothing runs, nothing is reported.
    tfuncstore empty("e");
    empty.runstore(ctx.vars, ctx.funcs, &ctx.host, ctx.session);
    EXPECT_TRUE(ctx.host.take().empty());
    EXPECT_EQ(empty.fault.line, -1);

    // A break outside every loop ends the procedure silently.
    EXPECT_EQ(ctx.run({"a:=1", "break", "a:=2"}), "");
    EXPECT_EQ(ctx.eval("a"), 1);

    // Text after the closing parenthesis of a block line is never run.
    EXPECT_EQ(ctx.run({"x:=2", "if(x>1) y:=2", "end"}), "");
    EXPECT_FALSE(ctx.vars.varexists("y"));
    EXPECT_TRUE(ctx.host.take().empty());
}

TEST(FuncStore, FailureInsideUserFunctionEndsOnlyThatFunction)
{
    quortest::context ctx;
    ctx.unit({"function y=f(x)", "y:=x+1", "z:=ln(0)", "y:=100", "endfunction"});
    EXPECT_EQ(ctx.run({"a:=f(1)", "b:=a*10"}), "");
    EXPECT_EQ(ctx.host.take(), (strings{"memo: Error on function ln inside compiler ",
                                        "box: Critical error on compile: f",
                                        "memo: Critical error on compile at: f"}));
    EXPECT_EQ(ctx.eval("a"), 2);
    EXPECT_EQ(ctx.eval("b"), 20);
}

TEST(UnitText, LineClasses)
{
    const struct { const char* line; int cls; } cases[] = {
        {"function y=f(x)", 1},   {"  FUNCTION y=f(x)", 1}, {"Function", 1},     {"endfunction", 2},
        {"  EndFunction  ", 2},   {"endfunction x", 2},     {"endfunction;", 0}, {"functions y=f(x)", 0},
        {"function(x)", 0},       {"", 0},                  {"    ", 0},         {"y:=1", 0},
        {"end function", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(quor::getlineclass(c.line), c.cls) << c.line;
}

TEST(UnitText, FunctionNames)
{
    const struct { const char* head; const char* name; } cases[] = {
        {"function y=f(x)", "f"},        {"function y= g (a)", "g"}, {"function y=h", "h"},
        {"function r=sum2(a,b)", "sum2"}, {"function y =Ab(x)", "Ab"}, {"function y=f(x=1)", "f"},
    };
    for (const auto& c : cases) EXPECT_EQ(quor::getfuncname(c.head), c.name) << c.head;
}

TEST(UnitText, ListAndFindFunctions)
{
    const strings unit = {
        "remarks",            // 0
        "function y=f(x)",    // 1
        "y:=x",               // 2
        "endfunction",        // 3
        "function z=g(a)",    // 4
        "z:=a",               // 5
        "EndFunction",        // 6
        "function w=f(q)",    // 7: a second f, never found
        "endfunction",        // 8
        "function t=last(x)", // 9: a head on the last line
    };
    strings names = {"old"};
    quor::listfuncnames(unit, names);
    EXPECT_EQ(names, (strings{"f", "g", "f"}));

    const struct { strings lines; strings names; } lists[] = {
        {{"function y=f(x)"}, {}},
        {{"x:=1", "function y=f(x)"}, {}},
        {{}, {}},
        {{"function y=f(x)", "endfunction"}, {"f"}},
    };
    for (const auto& c : lists) {
        strings out = {"old"};
        quor::listfuncnames(c.lines, out);
        EXPECT_EQ(out, c.names) << testing::PrintToString(c.lines);
    }

    const struct { const char* name; int first, last; } finds[] = {
        {"f", 1, 3}, {"g", 4, 6}, {"", 0, 0},
        {"F", -7, -7},      // case counts: left unchanged
        {"nope", -7, -7},
        {"last", -7, -7},   // a head on the last line is not found
    };
    for (const auto& c : finds) {
        int first = -7, last = -7;
        quor::findfunclines(c.name, unit, first, last);
        EXPECT_EQ(first, c.first) << c.name;
        EXPECT_EQ(last, c.last) << c.name;
    }
    int first = -7, last = -7;
    quor::findfunclines("f", {"function y=f(x)", "y:=1", "y:=2"}, first, last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 3);   // no end line: the count
}

TEST(UnitText, LineOffsets)
{
    const strings text = {"abc", "", "de"};
    EXPECT_EQ(quor::getlineoffset(0, text), 5);
    EXPECT_EQ(quor::getlineoffset(1, text), 7);
    EXPECT_EQ(quor::getlineoffset(2, text), 11);
    for (int bad : {-1, 3}) {
        try {
            quor::getlineoffset(bad, text);
            ADD_FAILURE() << bad;
        } catch (const quor::tfault& f) {
            EXPECT_EQ(f.text(), "Error on invalid line index--IDE");
        }
    }
}

TEST(UnitText, BracketBalance)
{
    const struct { const char* line; bool editor, plotter; } cases[] = {
        {"f(a[1])+'('", true, false},   // the plotter counts brackets inside literals
        {"')'", true, false},
        {"x)(", true, true},            // only the final counts matter
        {"a[(1])", true, true},
        {"f(a[1]", false, false},
        {"f(a]", false, false},
        {"", true, true},
        {"'it''s'", true, true},
        {"'a'''", true, true},
        {"''", true, true},
        {"x:='a'", true, true},         // the closing quote is the last character
        {"print('(' ,a)", true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(quor::checkbrackets(c.line, tdialect::editor), c.editor) << c.line;
        EXPECT_EQ(quor::checkbrackets(c.line, tdialect::plotter), c.plotter) << c.line;
    }
    // An unclosed literal fails in the editor's reading.
    for (const char* line : {"'abc", "'a''", "f('x)", "'"})
        EXPECT_FALSE(quor::checkbrackets(line, tdialect::editor)) << line;
}
