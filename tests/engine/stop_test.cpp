// Stopping a running program: the host's request ends the run at the next statement,
// through loops and user-function bodies, and never from inside pending-event handling.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fault.h"
#include "fixture.h"
#include "funcstore.h"

namespace {

// Asks for the stop at the given call of processevents; on `nestedat` it evaluates a
// statement itself, as a plot window redrawing during a run does.
struct stoppinghost : quortest::scriptedhost {
    quor::tsession* session = nullptr;
    int stopat = 0;
    int nestedat = -1;
    std::string nestedresult;
    void processevents() override
    {
        ++processed;
        if (processed == stopat) session->stoprequested = true;
        if (processed == nestedat) {
            quortest::context other;
            nestedresult = quor::execstatement("2+3", other.vars, other.funcs, nullptr, *session);
        }
    }
};

struct stopcontext {
    stoppinghost host;
    quor::tsession session{host, quor::tdialect::editor};
    quortest::context lists;
    stopcontext() { host.session = &session; }
    // Runs the lines; true when the run ended by the stop.
    bool run(const std::vector<std::string>& lines)
    {
        quor::tfuncstore store("Main function");
        store.assignlines(lines);
        try {
            store.runstore(lists.vars, lists.funcs, &host, session);
        } catch (const quor::tstopped&) {
            return true;
        }
        return false;
    }
    double value(const std::string& name) { return lists.vars.getvalue(name, &lists.funcs, &host, session); }
};

TEST(stop, endsloopsandbodiesatthenextstatement)
{
    struct row {
        std::vector<std::string> lines;
        int stopat;
        double k;   // k when the run ended
    };
    const row rows[] = {
        {{"k:=0", "while(1)", "k:=k+1", "end"}, 10, 4},            // condition, body, condition...
        {{"k:=0", "for(i:=1:1000000)", "k:=k+1", "end"}, 5, 1},    // the term's two parts count
        {{"k:=0", "while(1)", "k:=k+1;k:=k+1", "end"}, 5, 2},
        {{"k:=0", "while(1)", "k:=k+1", "t:=spin(k)", "end"}, 6, 1},  // inside the function body
        {{"k:=0", "for(i:=1:1e12)", "end"}, 20, 0},                 // a loop with no statements
        {{"k:=0", "for(i:=1:1e12)", "if(0)", "end", "end"}, 40, 0}, // only an empty branch
    };
    for (const row& r : rows) {
        stopcontext c;
        c.lists.unit({"function r=spin(x)", "r:=x", "r:=r+1", "endfunction"});
        c.host.stopat = r.stopat;
        EXPECT_TRUE(c.run(r.lines)) << r.lines[1];
        EXPECT_EQ(c.value("k"), r.k) << r.lines[1];
        EXPECT_EQ(c.host.processed, r.stopat) << r.lines[1];
        // No fault report: the stop is not a failure of the program.
        EXPECT_TRUE(c.host.events.empty()) << r.lines[1];
        EXPECT_FALSE(c.lists.vars.varexists("t"));
    }
}

TEST(stop, emptyloopstopsatthepasstheeventsaskfor)
{
    // Two statements read the term, then every pass over the empty body looks at events.
    stopcontext c;
    c.host.stopat = 20;
    EXPECT_TRUE(c.run({"for(i:=1:1e12)", "end"}));
    EXPECT_EQ(c.value("i"), 18);
    EXPECT_EQ(c.host.processed, 20);
    // Without a request the loop runs to its end, looking at events on every pass.
    stopcontext d;
    EXPECT_FALSE(d.run({"for(i:=1:5)", "end"}));
    EXPECT_EQ(d.value("i"), 6);
    EXPECT_EQ(d.host.processed, 2 + 5);
}

TEST(stop, nostopinsideeventhandlingnorwithoutarequest)
{
    stopcontext c;
    EXPECT_FALSE(c.run({"a:=1", "b:=2"}));
    EXPECT_EQ(c.value("b"), 2);

    // The stop is requested in the handler that then evaluates a statement itself.
    stopcontext d;
    d.host.stopat = 2;
    d.host.nestedat = 2;
    EXPECT_TRUE(d.run({"a:=1", "b:=2", "c:=3"}));
    EXPECT_EQ(d.host.nestedresult, "5");   // the handler's own statement ran
    EXPECT_EQ(d.value("a"), 1);
    EXPECT_FALSE(d.lists.vars.varexists("b"));
}

}  // namespace
