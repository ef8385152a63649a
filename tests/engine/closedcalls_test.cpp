// Calls of functions that only use their parameters and result run on slots: both paths
// must still show the same transcript, in both dialects, at the edges of that way.
#include <gtest/gtest.h>

#include "fault.h"
#include "fixture.h"
#include "fast/closed.h"
#include "fast/fastparts.h"
#include "progen.h"

using namespace quortest;

namespace {

const std::vector<std::string> closedunit = {
    "function r=fib(n)", "if(n<2)", "r:=n", "else", "r:=fib(n-1)+fib(n-2)", "end", "endfunction",
    "function r=ack(m,n)", "if(m=0)", "r:=n+1", "else", "if(n=0)", "r:=ack(m-1,1)", "else",
    "r:=ack(m-1,ack(m,n-1))", "end", "end", "endfunction",
    "function r=inc(x)", "x:=x+1", "r:=x*10", "endfunction",
    "function r=twice(x)", "r:=inc(x)+inc(x)", "endfunction",
    "function a=w(a,b)", "a:=a+b", "endfunction",
    "function r=same(u,u)", "r:=u", "endfunction",
    "function r=big(x)", "r:=x*1e300*1e300", "r:=r+sin(x)+pi", "endfunction",
    "function r=dz(x)", "r:=(1/x)+x", "endfunction",
    "function r=down(k)", "if(k<1)", "r:=0", "else", "r:=1+down(k-1)", "end", "endfunction",
    "function r=g(n)", "r:=h(n-1)", "endfunction",
    "function r=h(q)", "r:=q*10", "endfunction",
    "function r=uses(x)", "r:=loc(x)+1", "endfunction",
    "function r=loc(x)", "t:=x", "r:=t", "endfunction",
    "function r=open(x)", "r:=x", "if(x>1)", "r:=2", "endfunction",
    "function r=chain(a,b)", "r:=a:=b:=a+b", "endfunction",
    "function r=cond(x)", "if(x:=x-1)", "r:=x", "end", "endfunction",
    "function r=add(x,y)", "r:=x+y", "endfunction",
    "function r=ov(x)", "r:=x", "r:=fib(x)*1e300*1e300", "endfunction",
    // Locals: read before they are set they are the caller's (or missing).
    "function r=loc2(x)", "r:=t+x", "t:=x", "r:=r+t", "endfunction",
    "function r=outer(x)", "t:=x*10", "r:=loc2(x)+t", "endfunction",
    "function r=hop(x)", "r:=loc2(t)", "endfunction",
    // Loops, a break inside an if inside a loop, a for whose start is its end, a step.
    "function r=sumto(n)", "r:=0", "for(i:=1:n)", "r:=r+i", "end", "endfunction",
    "function r=findsq(n)", "r:=0", "k:=1", "while(k<n)", "if((k*k)>n)", "r:=k", "break", "end", "k:=k+1", "end",
    "endfunction",
    "function r=steps(a,b)", "r:=0", "for(j:=a:2:b)", "r:=r*10+j", "end", "r:=r+j/1000", "endfunction",
    "function r=early(x)", "r:=1", "break", "r:=2", "endfunction",
    "function r=loopfault(n)", "r:=0", "for(i:=1:n)", "r:=r+1/(i-2)", "end", "endfunction",
    "function r=termfault(n)", "r:=0", "for(i:=1:fib(n)*1e300*1e300)", "r:=i", "end", "endfunction",
    "function r=wbox(n)", "r:=0", "while((r+0*(1e300*1e300))<n)", "r:=r+1", "r:=r+0", "end", "endfunction",
    "function r=proc(x)", "bump(x)", "r:=x", "bump(x)", "endfunction",
    "function r=bump(y)", "y:=y+1", "r:=y", "endfunction",
    "function r=stat(x)", "r:=x", "sin(x)", "fib(x)", "endfunction",
    // Elements of parameters: passed by name, inherited by a parameter of the same name.
    "function r=sumarr(a,n)", "r:=0", "for(j:=0:n-1)", "r:=r+a[j]", "end", "endfunction",
    "function r=rsum(a,n)", "if(n<1)", "r:=0", "else", "r:=a[n-1]+rsum(a,n-1)", "end", "endfunction",
    "function r=eabs(a)", "r:=a[q]", "q:=1", "r:=r+a[q]", "endfunction",
    "function r=outerarr(a)", "r:=innerarr(5)+a[1]", "endfunction",
    "function r=innerarr(a)", "r:=a[0]+a+a[-1]", "endfunction",
    "function r=spin(n)", "r:=0", "while(n>0)", "r:=r+1", "end", "endfunction",
    "function r=wfault(n)", "r:=0", "while(r<n)", "r:=r+dz(0)+1", "end", "endfunction",
    "function r=mk(p)", "p[1]:=1", "r:=1", "endfunction",
};

struct tcase {
    std::vector<std::string> lines;
    const char* shows;   // a memo line the run must show
};

}  // namespace

TEST(ClosedCalls, ShowTheSameOnBothPaths)
{
    const tcase cases[] = {
        {{"print(fib(15))"}, "memo: 610 @"},
        {{"print(ack(2,3))"}, "memo: 9 @"},
        {{"n:=3", "print(fib(n))", "print(n)"}, "memo: 2 @"},
        // By name through a chain: twice's x is the caller's a, and inc's x is twice's.
        {{"a:=1", "print(twice(a))", "print(a)"}, "memo: 50 @"},
        {{"a:=1", "print(twice(a)+a)"}, "memo: 53 @"},
        {{"print(w(2,3))"}, "memo: 3 @"},          // the result is a parameter: set to 0 after binding
        {{"print(same(1,2))"}, "memo: 2 @"},       // a parameter twice: the last argument holds
        {{"print(big(1))"}, "memo: "},             // an overflow shows its box
        {{"print(dz(0))"}, "memo: "},              // so does a division by zero
        // A box after a call returns stands on the caller's line.
        {{"a:=1", "print(fib(3)*1e300*1e300)"}, "memo: "},
        {{"a:=1", "print(ov(3))"}, "memo: "},
        {{"print(down(300))"}, "memo: 300 @"},
        // A caller's variable named as an argument text is passed by name.
        {{"n-1:=5", "print(g(7))"}, "memo: 50 @"},
        {{"print(g(7))"}, "memo: 60 @"},
        // A caller's array named like a parameter lies under it in every copy.
        {{"n[2]:=5", "print(fib(6)+n[2])"}, "memo: 13 @"},
        {{"x[1]:=4", "print(inc(x[1])+x[1])"}, "memo: 54 @"},
        // Elements as arguments, their indexes plain, computed, past the end, or calling.
        {{"x[2]:=4", "i:=1", "print(add(x[i+1],x[i]))"}, "memo: 4 @"},
        {{"x[2]:=4", "print(add(x[7],1))"}, "box: array x[] out of range"},
        {{"d[0]:=2", "d[1]:=2", "redim(m,d)", "m[1,1]:=3", "print(add(m[1,1],m[1,fib(2)]))"}, "memo: 6 @"},
        {{"x[2]:=4", "print(add(x[fib(3)],1))"}, "memo: 5 @"},
        {{"a:=1", "v[1]:=4", "print(add(a,v[mk(a)]))", "print(a[1])"}, "memo: 5 @"},
        {{"x[1]:=4", "print(inc(x))", "print(x[1])"}, "memo: 4 @"},
        {{"print(uses(4))"}, "memo: 5 @"},         // calls a function with a local
        {{"print(open(4))"}, "memo: "},            // an if without its end
        {{"print(chain(1,2))"}, "memo: 3 @"},
        {{"print(cond(3)+cond(1))"}, "memo: 2 @"},
        {{"q:=2", "print(fib(q)+fib(q+3)+fib((q)))"}, "memo: 7 @"},
        {{"print(fib(25))"}, ""},                  // stops at the step limit, deep inside
        {{"print(ack(2,'3'))"}, "memo: "},
        {{"print(loc2(2))"}, "memo: 3 @"},                        // t missing: -1 (and a box in the editor)
        {{"t:=5", "print(loc2(2))", "print(t)"}, "memo: 9 @"},
        {{"print(outer(3))"}, "memo: 66 @"},
        {{"t:=4", "print(hop(1))"}, "memo: 12 @"},
        {{"print(sumto(100))", "print(i)"}, "memo: 5050 @"},
        {{"i:=7", "print(sumto(0)+i)"}, "memo: Error on for flow @:93"},   // the for line
        {{"print(findsq(50))"}, "memo: 8 @"},
        {{"print(steps(1,7))", "print(steps(3,3))", "print(steps(5,1))"}, "memo: 1357.009 @"},
        {{"print(early(1))"}, "memo: 1 @"},
        {{"print(loopfault(4))"}, "memo: 1E300 @"},
        {{"print(termfault(3))"}, "memo: "},
        {{"print(wfault(3))"}, "memo: 1E300 @"},
        {{"print(spin(1))"}, "memo: Error on while flow @:"},
        // Call statements: a user function (by name, copied back), a built-in, a closed call.
        {{"a:=1", "print(proc(a))", "print(a)"}, "memo: 3 @"},
        {{"print(stat(4))"}, "memo: 4 @"},
        {{"print(wbox(3))"}, "memo: 3 @"},
        {{"for(j:=0:9)", "v[j]:=j*j", "end", "print(sumarr(v,10)+rsum(v,10))"}, "memo: 570 @"},
        {{"v[2]:=4", "print(sumarr(v,5))", "print(rsum(v,0))"}, "memo: 4 @"},       // past the end: boxes, 0
        {{"v[1]:=3", "w:=2", "print(sumarr(w,2)+sumarr(7,1))"}, "memo: 0 @"},      // no elements
        {{"v[1]:=3", "v:=10", "print(outerarr(v))"}, "memo: 7 @"},    // 0+5-1 inside, and 3
        {{"a[1]:=3", "a:=10", "print(innerarr(4)+a)"}, "memo: 13 @"},  // the caller's a lies under it
        {{"v[1]:=3", "print(eabs(v))"}, "memo: 2 @"},   // q missing, then set: -1, then 3   // the condition's box (editor) stands on the while line
        // An argument that calls a function which makes the by-name variable an array.
        {{"a:=1", "print(add(a,mk(a)))", "print(a[1])"}, "memo: 2 @"},
    };
    for (const tcase& c : cases)
        for (const quor::tdialect d : {quor::tdialect::editor, quor::tdialect::plotter}) {
            tprogram p;
            p.unit = closedunit;
            p.lines = c.lines;
            const std::string literal = runtranscript(p, d, true);
            EXPECT_EQ(runtranscript(p, d, false), literal) << c.lines.back();
            EXPECT_NE(literal.find(c.shows), std::string::npos) << c.lines.back() << "\n" << literal;
        }
}

TEST(ClosedCalls, ChargeWhatTheCopiesWouldHoldAgainstTheCopyBudget)
{
    // Each call level charges the elements of its caller's list. A caller's array named like
    // a parameter bound by name is replaced in the copy; an array passed by name is held
    // twice, once under its own name and once under the parameter's.
    const std::vector<std::string> unit = {"function r=f(x)", "if(x<1)", "r:=0", "else", "r:=1+f(x-1)", "end",
                                           "endfunction", "function r=g(p)", "if(p<1)", "r:=0", "else",
                                           "r:=1+g(p-1)", "end", "endfunction",
                                           // The same reading an element: call levels carry elements.
                                           "function r=ga(p)", "if(p<1)", "r:=p[0]", "else", "r:=1+ga(p-1)", "end",
                                           "endfunction",
                                           "function r=gb(p)", "r:=gc(p)+1", "endfunction",
                                           "function r=gc(q)", "r:=q[4]+q", "endfunction",
                                           "function r=gx(x)", "if(x<1)", "r:=x[0]", "else", "r:=1+gx(x-1)", "end",
                                           "endfunction"};
    const struct {
        long long limit;
        const char* call;
        double value;
        const char* first;   // the first event, "" for none
        std::int64_t elementlimit = quor::maxlistelements;
    } cases[] = {
        {10, "f(y)", 3, ""},
        {12, "g(x)", 3, "memo: Error on function g inside compiler "},
        {15, "g(x)", 3, "memo: Error on function g inside compiler "},
        {200, "g(x)", 3, ""},
        {12, "ga(x)", 3, "memo: Error on function ga inside compiler "},
        {15, "ga(x)", 3, "memo: Error on function ga inside compiler "},
        {200, "ga(x)", 3, ""},
        // x bound by name to y: the caller's array is no longer in the copies (x[0] is not there).
        {10, "gx(y)", 3, "box: array x[] out of range of array ,the result may be incorrected"},
        // The list's element limit: binding x by name holds its elements twice, gc's q three
        // times.
        {200, "gb(x)", 5, "", 15},
        {200, "gb(x)", 5, "memo: Error on function gc inside compiler ", 14},
        {200, "gb(x)", 5, "memo: Error on function gb inside compiler ", 9},
    };
    for (const auto& k : cases) {
        std::vector<std::string> seen[2];
        for (const bool reference : {true, false}) {
            context c;
            c.session.reference = reference;
            c.session.copylimit = k.limit;
            c.vars.elementlimit = k.elementlimit;
            c.unit(unit);
            c.assign("x[4]:=1");
            c.assign("x:=3");
            c.assign("y:=3");
            double v = -1;
            try {
                v = c.eval(k.call);
            } catch (const quor::tfault&) {
                v = -2;
            }
            const auto events = c.host.take();
            const std::string where = std::string(k.call) + (reference ? " literal" : " fast");
            if (*k.first) {
                ASSERT_FALSE(events.empty()) << where;
                EXPECT_EQ(events[0], k.first) << where;
            } else {
                EXPECT_EQ(v, k.value) << where;
                EXPECT_TRUE(events.empty()) << where;
            }
            EXPECT_EQ(c.session.copiedelements, 0) << where;
            seen[reference ? 0 : 1] = events;
            seen[reference ? 0 : 1].push_back("value " + std::to_string(v));
        }
        // The fault comes at the same call level on both paths (the value tells the level).
        EXPECT_EQ(seen[1], seen[0]) << k.call << " " << k.limit;
    }
}

TEST(ClosedCalls, TheAnalysisTellsWhichFunctionsAreClosed)
{
    // Whether a function runs on slots decides only the speed; this pins which do, so that
    // a change cannot silently send them the general way (or let one in that must not).
    context c;
    c.unit(closedunit);
    c.unit({"function r=txt(x)", "r:=len(x)", "endfunction",
            "function r=arr(x)", "r:=x[1]", "endfunction",
            "function r=cmd(x)", "print(x)", "r:=x", "endfunction",
            "function r=callstxt(x)", "r:=txt(x)", "endfunction",
            "function r=quoted(x)", "r:=h('ab')", "endfunction",
            "function r=nothere(x)", "r:=missingfn(x)", "endfunction",
            "function r=callsmk(x)", "r:=mk(x)", "endfunction",
            "function r=elocal(x)", "q:=x", "r:=q[1]", "endfunction",
            "function r=eresult(x)", "r:=r[1]", "endfunction",
            "function r=etwo(x)", "r:=x[1,1]", "endfunction",
            "function r=ewrite(x)", "x[1]:=2", "r:=x", "endfunction",
            "function r=edup(a,a)", "r:=a[0]", "endfunction",
            "function r=edupcall(a)", "r:=same(a,a[0])", "endfunction",
            // A user function named like a string function: its call statement runs the latter.
            "function r=strcpy(x)", "r:=x", "endfunction",
            "function r=shadow(x)", "strcpy(x)", "r:=x", "endfunction",
            "function r=shadowed(x)", "r:=strcpy(x)", "endfunction",
            "function r=eval(x)", "r:=val('x')", "endfunction",
            "function r=wide(a1,a2,a3,a4,a5,a6,a7,a8,a9,a10,a11,a12,a13,a14,a15,a16,a17,a18,a19,a20,a21,a22,a23)",
            "r:=a1", "endfunction",
            "function r=wider(a1,a2,a3,a4,a5,a6,a7,a8,a9,a10,a11,a12,a13,a14,a15,a16,a17,a18,a19,a20,a21,a22,a23,a24)",
            "r:=a1", "endfunction"});
    const struct {
        const char* name;
        bool closed;
        std::size_t slots;   // of its closure, when closed
    } cases[] = {
        {"fib", true, 2},     {"ack", true, 3},       {"twice", true, 2},  {"w", true, 2},
        {"same", true, 2},    {"big", true, 3},       {"loc2", true, 3},   {"outer", true, 3},
        {"sumto", true, 3},   {"findsq", true, 3},    {"early", true, 2},  {"termfault", true, 3},
        {"proc", true, 3},    {"stat", true, 3},      {"g", true, 3},      {"wide", true, 24},
        {"uses", true, 3},    {"open", false, 0},    {"callsmk", false, 0},     {"mk", false, 0},    {"txt", false, 0},
        {"arr", true, 2},     {"cmd", false, 0},      {"callstxt", false, 0}, {"quoted", false, 0},
        {"nothere", false, 0}, {"eval", false, 0},    {"wider", false, 0},
        {"shadow", false, 0}, {"shadowed", true, 2},
        {"sumarr", true, 4},  {"rsum", true, 3},     {"outerarr", true, 2},
        {"elocal", false, 0}, {"eresult", false, 0}, {"etwo", false, 0}, {"ewrite", false, 0},
        {"edup", false, 0},   {"edupcall", false, 0}, {"same", true, 2},
    };
    for (const auto& k : cases) {
        const quor::tfuncitem* item = c.funcs.findfunc(k.name);
        ASSERT_NE(item, nullptr) << k.name;
        const quor::tcbody& body = quor::fast::bodyof(*item, c.session.dialect);
        const quor::fast::tkclosure* closure = quor::fast::closedof(*item, body, c.funcs, c.session.dialect);
        EXPECT_EQ(closure != nullptr, k.closed) << k.name;
        if (closure) {
            EXPECT_EQ(closure->slotnames.size(), k.slots) << k.name;
        }
    }
    // A function that is replaced is worked out again: callsmk calls mk, which no longer
    // writes an element; the closure names only parameters and results.
    c.unit({"function r=mk(p)", "r:=p+1", "endfunction"});
    const quor::tfuncitem* callsmk = c.funcs.findfunc("callsmk");
    const quor::fast::tkclosure* now =
        quor::fast::closedof(*callsmk, quor::fast::bodyof(*callsmk, c.session.dialect), c.funcs, c.session.dialect);
    ASSERT_NE(now, nullptr);
    EXPECT_TRUE(now->own);
    EXPECT_EQ(c.eval("callsmk(4)"), 5);
    const quor::tfuncitem* outer = c.funcs.findfunc("outer");
    EXPECT_FALSE(quor::fast::closedof(*outer, quor::fast::bodyof(*outer, c.session.dialect), c.funcs, c.session.dialect)->own);
}
