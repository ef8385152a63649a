// Function store: cutting text into statements, keywords, block ends, the block check,
// run reports, and the functions that work on unit text.
#include <gtest/gtest.h>

#include "bigstack.h"

#include <string>
#include <vector>

#include "fault.h"
#include "fixture.h"
#include "funcstore.h"
#include "units.h"
#include "unittext.h"

using quor::tdialect;
using quor::tfuncstore;
using strings = std::vector<std::string>;

namespace {

tfuncstore storeof(const strings& lines, const std::string& name = "Main function")
{
    tfuncstore store(name);
    store.assignlines(lines);
    return store;
}

}  // namespace

TEST(FuncStore, AssignLines)
{
    const struct { strings source; strings statements; } cases[] = {
        {{"a:=1;;b:=2"}, {"a:=1", "", "b:=2"}}, {{"x:=1;"}, {"x:=1"}},  {{""}, {}},
        {{"   "}, {"   "}},                     {{";;x"}, {"", "", "x"}}, {{"a", "", "b;c"}, {"a", "b", "c"}},
        // No escape: a ";" inside a literal still separates statements.
        {{"print('a;b')"}, {"print('a", "b')"}},
        // Nothing is trimmed, tabs included.
        {{" a := 1 ; b"}, {" a := 1 ", " b"}},  {{"\tif(1)"}, {"\tif(1)"}},
    };
    for (const auto& c : cases) {
        tfuncstore store("s");
        EXPECT_EQ(store.assignlines(c.source), 1);
        strings got;
        for (const auto& l : store.lines()) got.push_back(l.text);
        EXPECT_EQ(got, c.statements) << testing::PrintToString(c.source);
    }
    // Filling appends and numbers the source lines; the store's name is cut to 255.
    tfuncstore store(std::string(300, 'n'));
    EXPECT_EQ(store.name, std::string(255, 'n'));
    store.assignlines({"a;b", "", "c"});
    store.assignlines({"d;e"}, 10);
    ASSERT_EQ(store.count(), 5);
    const int expected[] = {1, 1, 3, 10, 10};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(store.sourceline(i), expected[i]) << i;
}

TEST(FuncStore, KeywordIsTheFirstWord)
{
    const struct { const char* line; const char* word; int code; } cases[] = {
        {"if (x>1)", "if", 1},     {"   for(i:=1:3)", "for", 3}, {"while  (a<3)", "while", 6}, {"  end  ", "end", 11},
        {"break", "break", 14},    {"else if(d)", "else", 19},  {"IF(x>1)", "IF", 0},          {"Else", "Else", 0},
        {"endif", "endif", 0},     {"breaks", "breaks", 0},     {"i := 1", "i", 0},            {"x:=1", "x:=1", 0},
        {"\tif(1)", "\tif", 0},    // only blanks are skipped: a tab belongs to the word
        {"", "", 0},               {"   ", "", 0},
    };
    for (const auto& c : cases) {
        tfuncstore store("s");
        store.addline(c.line, 1);
        EXPECT_EQ(store.getkeyword(0), c.word) << c.line;
        EXPECT_EQ(store.keyword(0), c.code) << c.line;
    }
}

TEST(FuncStore, BlockEnds)
{
    // Lines 0 to 9; the if on line 9 is never closed.
    const tfuncstore store =
        storeof({"if(a)", "  for(i:=1:2)", "    x:=1", "  end", "else", "  while(b)", "  end", "end", "y:=2", "if(c)"});
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
    EXPECT_EQ(quortest::faulttext([&] { store.findblockend(9, code); }), "Error on key word mismatched");
    for (int bad : {-1, store.count()}) {
        EXPECT_EQ(quortest::faulttext([&] { store.findblockend(bad, code); }), "Error on invalid line index") << bad;
        EXPECT_EQ(quortest::faulttext([&] { store.scanblockend(bad, code); }), "Error on invalid line index") << bad;
    }
}

TEST(FuncStore, BlockEndsAndElsesMatchALineByLineScan)
{
    // Random keyword sequences against the plain forward scans: matching end by depth
    // count, else as the first one met at depth 0 before that end.
    const char* words[] = {"if(1)", "for(i:=1:2)", "while(0)", "end", "else", "x:=1", "break"};
    unsigned seed = 7;
    for (int round = 0; round < 300; ++round) {
        tfuncstore store("s");
        std::vector<int> codes;
        const int n = 1 + round % 23;
        for (int i = 0; i < n; ++i) {
            seed = seed * 1103515245u + 12345u;
            const char* w = words[(seed >> 16) % 7];
            store.addline(w, i + 1);
            codes.push_back(quor::keywordcode(store.getkeyword(i)));
        }
        auto opens = [](int k) { return k == quor::kwif || k == quor::kwfor || k == quor::kwwhile; };
        for (int i = 0; i < n; ++i) {
            int want = opens(codes[i]) ? n : i;
            for (int j = i + 1, depth = 1; opens(codes[i]) && j < n; ++j) {
                if (opens(codes[j])) ++depth;
                else if (codes[j] == quor::kwend && --depth == 0) {
                    want = j;
                    break;
                }
            }
            int code = -1;
            ASSERT_EQ(store.scanblockend(i, code), want) << round << " line " << i;
            EXPECT_EQ(code, codes[i]);
            // The else for every range that ends on an end line, the matching one included.
            for (int e = i + 1; codes[i] == quor::kwif && e < n; ++e) {
                int wantelse = -1;
                for (int j = i + 1, depth = 0; j <= e; ++j) {
                    if (opens(codes[j])) ++depth;
                    else if (codes[j] == quor::kwend) --depth;
                    else if (codes[j] == quor::kwelse && depth == 0) {
                        wantelse = j;
                        break;
                    }
                }
                EXPECT_EQ(store.elseline(i, e), wantelse) << round << " if " << i << " end " << e;
            }
        }
    }
    // Lines added after a lookup are part of the structure.
    tfuncstore store = storeof({"if(1)", "if(1)", "end"});
    int code = 0;
    EXPECT_EQ(quortest::faulttext([&] { store.findblockend(0, code); }), "Error on key word mismatched");
    store.addline("end", 4);
    EXPECT_EQ(store.findblockend(0, code), 3);
}

TEST(FuncStore, HundredThousandNestedBlocksStopAtTheNestingLimit)
{
    if (!quor::fullnesting) GTEST_SKIP() << "sanitized builds run on a smaller stack";
    // The check passes (every block is closed); the run stops at the block limit.
    quortest::context ctx;
    const int n = 100000;
    strings lines(static_cast<std::size_t>(n), "if(1)");
    lines.push_back("x:=1");
    lines.insert(lines.end(), static_cast<std::size_t>(n), "end");
    EXPECT_EQ(ctx.run(lines), "");
    const auto events = ctx.host.take();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), "memo: " + quor::nestingmessage(quor::maxblockdepth));
    EXPECT_EQ(events.back(), "memo: Critical error on compile at: Main function");
    EXPECT_FALSE(ctx.vars.varexists("x"));
    EXPECT_EQ(ctx.session.blockdepth, 0);
    // One open block among them is found.
    lines.pop_back();
    EXPECT_EQ(ctx.run(lines), "mismatched on if on if(1)");
}

TEST(FuncStore, CheckBlocksReportsTheFirstFault)
{
    quortest::context ctx;
    const struct { strings lines; const char* fault; } cases[] = {
        {{"if(x>1)", "y:=2"}, "mismatched on if on if(x>1)"},
        {{"for(i:=1:3)", "if(1)", "end"}, "mismatched on for on for(i:=1:3)"},
        {{"x:=0", "  while (a<3)"}, "mismatched on while on   while (a<3)"},
        // The literal is cut at its ";", so the first piece does not balance.
        {{"print('a;b')"}, "print('a"},
        // Bracket faults are looked for in all lines before block faults.
        {{"if(1)", "x:=(1"}, "x:=(1"},
        // Stray end and else are not faults of the check.
        {{"end", "else", "x:=1"}, ""},
        {{"while(0)", "for(i:=1:2)", "end", "else", "end"}, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(storeof(c.lines).checkblocks(ctx.session), c.fault) << testing::PrintToString(c.lines);
    }
}

TEST(FuncStore, RunReportsAndFaultPlaces)
{
    // Without the check, a missing end stops the run; values assigned before stay.
    quortest::context ctx;
    tfuncstore store = storeof({"x:=1", "if(x>0)", "y:=2"});
    store.runstore(ctx.vars, ctx.funcs, &ctx.host, ctx.session);
    EXPECT_EQ(ctx.host.take(), (strings{"box: Critical error on compile: Main function",
                                        "memo: Critical error on compile at: Main function"}));
    EXPECT_EQ(ctx.eval("x"), 1);
    EXPECT_FALSE(ctx.vars.varexists("y"));

    // The recorded place is the innermost failing statement, or the line of a failing for term.
    const struct { strings lines; int line, sourceline; const char* text; } cases[] = {
        {{"x:=1", "if(x>0)", "y:=2"}, 1, 2, "Error on key word mismatched"},
        {{"a:=1;for(i:=1:3)", "  b:=ln(0)", "end"}, 2, 2, "Error on function ln inside compiler "},
        {{"a:=1", "for(k:=1:ln(0))", "end"}, 1, 2, "Error on get term of for flow: ln(0)"},
    };
    for (const auto& c : cases) {
        tfuncstore failing = storeof(c.lines);
        failing.runstore(ctx.vars, ctx.funcs, &ctx.host, ctx.session);
        EXPECT_EQ(failing.fault.line, c.line) << c.text;
        EXPECT_EQ(failing.fault.sourceline, c.sourceline) << c.text;
        EXPECT_EQ(failing.fault.text, c.text);
        // A later clean run clears the recorded place.
        tfuncstore clean = storeof({"z:=1"});
        clean.fault = failing.fault;
        clean.runstore(ctx.vars, ctx.funcs, &ctx.host, ctx.session);
        EXPECT_EQ(clean.fault.line, -1) << c.text;
    }
    EXPECT_EQ(ctx.eval("i"), 1);
    EXPECT_FALSE(ctx.vars.varexists("k"));
    ctx.host.take();

    // No lines: nothing runs, nothing is reported. A break outside every loop ends the
    // procedure silently.
    tfuncstore empty("e");
    empty.runstore(ctx.vars, ctx.funcs, &ctx.host, ctx.session);
    EXPECT_EQ(empty.fault.line, -1);
    EXPECT_EQ(ctx.run({"a:=1", "break", "a:=2"}), "");
    EXPECT_EQ(ctx.eval("a"), 1);
    EXPECT_TRUE(ctx.host.take().empty());
}

TEST(UnitText, LineClassesAndFunctionNames)
{
    const struct { const char* line; int cls; } cases[] = {
        {"function y=f(x)", 1},   {"  FUNCTION y=f(x)", 1}, {"Function", 1},     {"endfunction", 2},
        {"  EndFunction  ", 2},   {"endfunction x", 2},     {"endfunction;", 0}, {"functions y=f(x)", 0},
        {"function(x)", 0},       {"", 0},                  {"    ", 0},         {"y:=1", 0},
        {"end function", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(quor::getlineclass(c.line), c.cls) << c.line;
    const struct { const char* head; const char* name; } heads[] = {
        {"function y=f(x)", "f"},        {"function y= g (a)", "g"}, {"function y=h", "h"},
        {"function r=sum2(a,b)", "sum2"}, {"function y =Ab(x)", "Ab"}, {"function y=f(x=1)", "f"},
    };
    for (const auto& c : heads) EXPECT_EQ(quor::getfuncname(c.head), c.name) << c.head;
}

TEST(UnitText, ListAndFindFunctions)
{
    // A second f on line 7 is never found; a head on the last line has no body.
    const strings unit = {"remarks", "function y=f(x)", "y:=x", "endfunction", "function z=g(a)", "z:=a",
                          "EndFunction", "function w=f(q)", "endfunction", "function t=last(x)"};
    strings names = {"old"};
    quor::listfuncnames(unit, names);
    EXPECT_EQ(names, (strings{"f", "g", "f"}));

    strings out = {"old"};
    quor::listfuncnames({"function y=f(x)"}, out);   // one line: no body
    EXPECT_TRUE(out.empty());

    // Case counts, and a head on the last line is not found: those leave first and last unchanged.
    const struct { const char* name; int first, last; } finds[] = {
        {"f", 1, 3}, {"g", 4, 6}, {"", 0, 0}, {"F", -7, -7}, {"nope", -7, -7}, {"last", -7, -7},
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
    for (int bad : {-1, 3})
        EXPECT_EQ(quortest::faulttext([&] { quor::getlineoffset(bad, text); }), "Error on invalid line index--IDE") << bad;
}

TEST(UnitText, BracketBalance)
{
    // The plotter counts brackets inside literals.
    const struct { const char* line; bool editor, plotter; } cases[] = {
        {"f(a[1])+'('", true, false}, {"print('(' ,a)", true, false}, {"x)(", true, true},   // only final counts
        {"a[(1])", true, true},       {"f(a[1]", false, false},       {"f(a]", false, false},
        {"", true, true},             {"'it''s'", true, true},        {"'a'''", true, true},
        {"''", true, true},           {"x:='a'", true, true},         // the closing quote is the last character
    };
    for (const auto& c : cases) {
        EXPECT_EQ(quor::checkbrackets(c.line, tdialect::editor), c.editor) << c.line;
        EXPECT_EQ(quor::checkbrackets(c.line, tdialect::plotter), c.plotter) << c.line;
    }
    // An unclosed literal fails in the editor's reading.
    for (const char* line : {"'abc", "'a''", "f('x)", "'"})
        EXPECT_FALSE(quor::checkbrackets(line, tdialect::editor)) << line;
}

namespace {

// Records every box and memo line with the place of the statement running at the time.
struct placehost : quortest::scriptedhost {
    const quor::tsession* session = nullptr;
    std::string where() const
    {
        const quor::tsourceplace& p = session->place;
        return (p.file ? *p.file : std::string("?")) + ":" + std::to_string(p.line) + " ";
    }
    void showmessage(const std::string& text) override { events.push_back(where() + "box: " + text); }
    void append(const std::string& line) override { events.push_back(where() + "memo: " + line); }
};

}  // namespace

TEST(FuncStore, RunsKeepTheStatementPlace)
{
    placehost host;
    quor::tsession session(host, tdialect::editor);
    host.session = &session;
    quor::tvarlist vars("global", 2);
    quor::tfunclist funcs("test", 2);
    funcs.mathnames = quortest::mathtable();
    funcs.commandnames = quortest::commandtable();
    // A remark line before the first head: bodies are numbered as lines of the file.
    quor::loadunitlines({"remark", "function r=f(a)", "r:=a", "msg('in f')", "endfunction",
                         "function r=bad(a)", "r:=ln(0)", "endfunction"},
                        funcs, tdialect::editor, "u.txt");
    tfuncstore store = storeof({
        "msg('a')",                               // 1
        "k:=0",                                   // 2
        "while(0+msg('w')>k)",                    // 3: the condition is read after the body too
        "k:=k+1",                                 // 4
        "end;msg('c')",                           // 5
        "r:=f(1)",                                // 6
        "r:=bad(1)",                              // 7
        "x:=ln(0)",                               // 8: stops the run
    });
    store.source = "p.q";
    store.runstore(vars, funcs, &host, session);
    const strings expected = {
        "p.q:1 box: a",
        "p.q:3 box: w", "p.q:3 box: w",
        "p.q:5 box: c",
        "u.txt:4 box: in f",
        "u.txt:7 memo: Error on function ln inside compiler ",
        "u.txt:7 box: Critical error on compile: bad",
        "u.txt:7 memo: Critical error on compile at: bad",
        "p.q:8 memo: Error on function ln inside compiler ",
        "p.q:8 box: Critical error on compile: Main function",
        "p.q:8 memo: Critical error on compile at: Main function",
    };
    EXPECT_EQ(host.take(), expected);
    // After the run no statement stands anywhere.
    EXPECT_EQ(session.place.line, 0);
    EXPECT_EQ(session.place.file, nullptr);
}
