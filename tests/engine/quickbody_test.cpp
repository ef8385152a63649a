// Loop bodies and branches made only of short statements: run without their guards, steps
// and places when nothing can come between them, they must still meet every limit exactly
// where the literal algorithms meet it.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "fixture.h"
#include "funcstore.h"
#include "numtext.h"

using namespace quortest;

namespace {

// A host that lets events through between statements or not (as the console runner's);
// with stopper set, every box asks that session to stop, as a click on a stop button
// while a box is up would.
struct runhost : scriptedhost {
    bool events = false;
    quor::tsession* stopper = nullptr;
    bool hasevents() const override { return events; }
    void showmessage(const std::string& text) override
    {
        scriptedhost::showmessage(text);
        if (stopper) stopper->stoprequested = true;
    }
};

struct options {
    bool events = false;
    bool stopatbox = false;
};

// t is there before the loop, so that its first pass is quick too.
const std::vector<std::string> program = {
    "s:=t:=0",
    "for(i:=1:10)",
    "s:=s+i",
    "t:=s*2",
    "end",
    "k:=0",
    "while(k<4)",
    "k:=k+1",
    "k*2",
    "end",
    "if(k>2)",
    "m:=k*3",
    "m:=m+1",
    "else",
    "m:=0-k",
    "end",
};

// s comes first in the list, so its statements go the quick way from their first run on;
// the loops' own terms need fewer levels of nesting than their bodies' assignments (for
// the group levels, s is made by a loop).
const std::vector<std::string> blocktight = {
    "s:=0", "for(i:=1:3)", "s:=s+1", "s", "end", "while(s<6)", "s:=s+1", "end", "if(s>1)", "s:=s*2", "end",
};
const std::vector<std::string> grouptight = {
    "for(s:=0:0)", "end", "for(i:=1:3)", "s:=s+1", "s", "end", "while(s<6)", "s:=s+1", "end", "if(s>1)", "s:=s*2", "end",
};
// Elements read and written in quick bodies: arrays grown one element a pass, elements
// past the end, negative and fractional indexes, an index that is itself missing. The first
// variable stands where a new form looks first, so the first pass reads a[1] the quick way
// (with three group levels spare, s:=s+a[i] is the first statement out of room).
const std::vector<std::string> elements = {
    "a[1]:=4", "s:=0", "b[1]:=5", "for(i:=0:5)", "a[1]", "a[i]:=i*2", "s:=s+a[i]", "c[i]:=b[i]", "t:=a[-1]", "u:=b[1.5]", "end",
    "for(i:=0:2)", "a[i]:=a[i]+a[q]", "w:=a[7]", "end",
};

// Everything a run shows: boxes and memo lines, the fault and where it stood, the
// variables, the depths left behind and the steps counted.
std::string transcript(const std::vector<std::string>& lines, quor::tdialect d, bool reference,
                       const std::function<void(quor::tsession&)>& setup, options o = {})
{
    runhost host;
    host.events = o.events;
    quor::tsession session(host, d);
    if (o.stopatbox) host.stopper = &session;
    session.reference = reference;
    quor::tvarlist vars("global", 2);
    quor::tfunclist funcs("test", 2);
    funcs.mathnames = mathtable();
    funcs.commandnames = commandtable();
    funcs.apinames = apitable();
    funcs.stringnames = stringtable();
    setup(session);
    quor::tfuncstore store("Main function");
    store.assignlines(lines);
    std::ostringstream out;
    try {
        store.runstore(vars, funcs, &host, session);
    } catch (const std::exception& e) {
        out << "escaped: " << e.what() << "\n";
    } catch (...) {
        out << "stopped\n";
    }
    for (const std::string& e : host.take()) out << e << "\n";
    out << "fault: " << store.fault.line << " " << store.fault.sourceline << " " << store.fault.text << "\n";
    for (const quor::tvar& v : vars.items) {
        out << v.name << "=" << quor::numtotext(v.value) << "[";
        for (double e : v.data) out << quor::numtotext(e) << ",";
        out << "] ";
    }
    out << "\ndepths " << session.groupdepth << " " << session.blockdepth << " steps " << session.steps
        << " events " << host.processed;
    return out.str();
}

// The scalar value a transcript lists for a variable, or "(none)".
std::string value(const std::string& t, const std::string& name)
{
    for (const char* before : {"\n", " "}) {
        const std::size_t at = t.find(before + name + "=");
        if (at == std::string::npos) continue;
        const std::size_t from = at + 1 + name.size() + 1;
        return t.substr(from, t.find('[', from) - from);
    }
    return "(none)";
}

}  // namespace

TEST(QuickBodies, MeetEveryLimitWhereTheLiteralRunMeetsIt)
{
    using quor::tsession;
    struct row {
        std::string what;
        std::function<void(tsession&)> setup;
    };
    std::vector<row> rows;
    // Every step limit from one that stops the first pass to one that lets the run end.
    for (long long limit = 1; limit <= 60; ++limit)
        rows.push_back({"step limit " + std::to_string(limit), [limit](tsession& s) { s.steplimit = limit; }});
    // One level short of what a statement of the body needs, and just enough.
    for (int spare = 1; spare <= 5; ++spare)
        rows.push_back({"group levels " + std::to_string(spare),
                        [spare](tsession& s) { s.groupdepth = quor::maxgroupdepth - spare; }});
    for (int spare = 1; spare <= 3; ++spare)
        rows.push_back({"block levels " + std::to_string(spare),
                        [spare](tsession& s) { s.blockdepth = quor::maxblockdepth - spare; }});
    rows.push_back({"stop asked", [](tsession& s) { s.stoprequested = true; }});
    rows.push_back({"stop asked inside an event", [](tsession& s) {
                        s.stoprequested = true;
                        s.eventdepth = 1;
                    }});
    rows.push_back({"text budget full", [](tsession& s) { s.evalbytes = quor::maxevalbytes - 3; }});

    for (const quor::tdialect d : {quor::tdialect::editor, quor::tdialect::plotter}) {
        for (const bool events : {false, true}) {
            for (const row& r : rows) {
                for (const auto* lines : {&program, &blocktight, &grouptight, &elements}) {
                    const std::string fast = transcript(*lines, d, false, r.setup, {events});
                    const std::string literal = transcript(*lines, d, true, r.setup, {events});
                    EXPECT_EQ(fast, literal) << r.what << (d == quor::tdialect::plotter ? " (plotter)" : "")
                                             << (events ? " with events" : "") << " in " << lines->front();
                }
            }
        }
    }
    // One level short, the first loop's body fails at once; with enough, the programs run.
    // (With the group levels, one more short and the loop's own terms fail before.)
    for (const auto* lines : {&blocktight, &grouptight}) {
        const bool block = lines == &blocktight;
        const int needed = block ? 2 : 3;
        for (const int spare : {needed - 1, needed}) {
            const std::string t = transcript(*lines, quor::tdialect::editor, false, [&](tsession& s) {
                if (block) s.blockdepth = quor::maxblockdepth - spare;
                else s.groupdepth = quor::maxgroupdepth - spare;
            });
            const std::string nesting = quor::nestingmessage(block ? quor::maxblockdepth : quor::maxgroupdepth);
            EXPECT_EQ(value(t, "s"), spare < needed ? "0" : "12") << t;
            EXPECT_EQ(t.find(nesting) != std::string::npos, spare < needed) << t;
        }
    }
    // Events are let through before every statement of the editor's programs: 3 before the
    // for loop, 2 in each of its 10 passes, k:=0, 5 conditions and 4 passes of 2 for the
    // while, the if's condition and its branch of 2.
    EXPECT_NE(transcript(program, quor::tdialect::editor, false, [](tsession&) {}, {true}).find("events 40"),
              std::string::npos);
}

TEST(QuickBodies, StopAtTheStepTheLimitNames)
{
    // Steps: the program's range, s:=0, the for's start and end terms, then per pass the
    // body's range and its two statements; the step past the limit fails.
    struct row {
        long long limit;
        const char* fault;   // line (0-based), source line and text
        const char* s;
        const char* i;
        const char* t;
    };
    const row rows[] = {
        {3, "1 2 Error on get term of for flow: 10", "0", "(none)", "0"},   // the end term
        {4, "1 2 Error on for flow", "0", "1", "0"},                        // the first pass's range
        {5, "2 3 Error on run: more than 5 steps", "0", "1", "0"},          // its s:=s+i
        {6, "3 4 Error on run: more than 6 steps", "1", "1", "0"},          // its t:=s*2
        {7, "1 2 Error on for flow", "1", "2", "2"},                             // the second pass's range
        {33, "3 4 Error on run: more than 33 steps", "55", "10", "90"},          // the last t:=s*2
        {34, "5 6 Error on run: more than 34 steps", "55", "11", "110"},         // k:=0 after the loop
    };
    for (const quor::tdialect d : {quor::tdialect::editor, quor::tdialect::plotter}) {
        for (const row& r : rows) {
            const std::string t = transcript(program, d, false, [&](quor::tsession& s) { s.steplimit = r.limit; });
            EXPECT_NE(t.find(std::string("fault: ") + r.fault + "\n"), std::string::npos) << r.limit << "\n" << t;
            EXPECT_EQ(value(t, "s"), r.s) << r.limit;
            EXPECT_EQ(value(t, "i"), r.i) << r.limit;
            EXPECT_EQ(value(t, "t"), r.t) << r.limit;
            EXPECT_NE(t.find("steps " + std::to_string(r.limit + 1)), std::string::npos) << r.limit << "\n" << t;
        }
    }
}

TEST(QuickBodies, AStatementThatLeavesTheQuickWayFinishesItsPass)
{
    // u and w are made in the first pass, and w:=s*1e308 overflows from the second pass on
    // (a box, and 0): those statements go the usual way, the rest of their pass with them,
    // with the pass's steps and places kept. The second loop's body is not a quick one.
    const std::vector<std::string> lines = {
        "s:=0", "for(i:=1:4)", "s:=s+i", "u:=s*2", "w:=s*1e308", "end", "for(i:=1:3)", "s:=s+i", "a[i]:=s", "end",
    };
    for (const quor::tdialect d : {quor::tdialect::editor, quor::tdialect::plotter}) {
        for (long long limit = 0; limit <= 22; ++limit) {
            auto setup = [limit](quor::tsession& s) { s.steplimit = limit; };
            const std::string fast = transcript(lines, d, false, setup);
            EXPECT_EQ(fast, transcript(lines, d, true, setup)) << limit;
            if (limit == 0) {
                EXPECT_EQ(value(fast, "s"), "16") << fast;
                EXPECT_EQ(value(fast, "u"), "20") << fast;
                EXPECT_EQ(value(fast, "w"), "0") << fast;
                EXPECT_EQ(value(fast, "a"), "11") << fast;   // made by its first element
                EXPECT_NE(fast.find(" a=11[0,11,13,16,] "), std::string::npos) << fast;
            }
        }
    }
    // Steps 9 to 12 are the second pass: its range, s:=s+i, u:=s*2 and the overflowing
    // w:=s*1e308, which runs the usual way after two quick statements.
    const std::string t = transcript(lines, quor::tdialect::editor, false, [](quor::tsession& s) { s.steplimit = 11; });
    EXPECT_NE(t.find("fault: 4 5 Error on run: more than 11 steps\n"), std::string::npos) << t;
    EXPECT_EQ(value(t, "u"), "6") << t;
    EXPECT_EQ(value(t, "w"), "1E308") << t;
}

TEST(QuickBodies, AStopAskedDuringABoxInAPassEndsTheNextStatement)
{
    // t:=q reads a variable that is not there: its box asks for the stop, and the next
    // statement, s:=s+i of the second pass, must not run.
    const std::vector<std::string> lines = {"s:=0", "for(i:=1:3)", "s:=s+i", "t:=q", "end"};
    auto none = [](quor::tsession&) {};
    const std::string t = transcript(lines, quor::tdialect::editor, false, none, {false, true});
    EXPECT_EQ(t, transcript(lines, quor::tdialect::editor, true, none, {false, true}));
    EXPECT_EQ(value(t, "s"), "1") << t;
    EXPECT_EQ(value(t, "i"), "2") << t;
    EXPECT_NE(t.find("stopped\n"), std::string::npos) << t;
}
