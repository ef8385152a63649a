// The fast path against the literal algorithms: random programs from the grammar, run both
// ways in both dialects, must show exactly the same transcript.
#include <gtest/gtest.h>

#include "progen.h"
#include "tempdir.h"

using namespace quortest;

TEST(Differential, RandomProgramsShowTheSameOnBothPaths)
{
    tempdir dir;
    const std::string unit = dir.write("unit2.txt", loadedunittext());
    int compared = 0;
    const std::string difference = comparepaths(1, 2000, unit, compared);
    EXPECT_EQ(difference, "");
    if (difference.empty()) {
        EXPECT_EQ(compared, 4000);
    }
}

TEST(Differential, TranscriptsTellRunsApart)
{
    // The comparison can fail: different programs give different transcripts.
    tempdir dir;
    const std::string unit = dir.write("unit2.txt", loadedunittext());
    tprogram p;
    p.lines = {"a:=1", "print(a)"};
    const std::string one = runtranscript(p, quor::tdialect::editor, false);
    p.lines = {"a:=2", "print(a)"};
    EXPECT_NE(one, runtranscript(p, quor::tdialect::editor, false));
    EXPECT_NE(one.find("memo: 1 @"), std::string::npos);
    EXPECT_NE(one.find("var: a=1 [0] "), std::string::npos);
}

TEST(Differential, ProgramsReachTheRarerShapes)
{
    // Calls of exactly 16 arguments, an operator right after "<", an if with two else lines.
    int sixteen = 0, signs = 0, elses = 0;
    for (std::uint32_t seed = 1; seed <= 2000; ++seed) {
        const tprogram p = randomprogram(seed, "unit2.txt");
        int open = 0;
        for (std::size_t i = 0; i < p.lines.size(); ++i) {
            const std::string& l = p.lines[i];
            sixteen += l.find("w16(") != std::string::npos;
            signs += l.find("<-") != std::string::npos;
            if (l == "else" && open++ == 1) ++elses;
            if (l.rfind("if(", 0) == 0 || l == "end") open = 0;
        }
    }
    EXPECT_GT(sixteen, 20);
    EXPECT_GT(signs, 5);
    EXPECT_GT(elses, 5);
}

TEST(Differential, CallsMadeAgainAtOneLevelSeeAFreshList)
{
    // A call reuses what the last call at its level left when the function and the caller's
    // names are the same; each program here breaks one condition of that.
    const std::vector<std::string> unit = {
        "function y=loc(u1)", "y:=u1+z9", "z9:=u1", "endfunction",
        "function y=del(u1,u2)", "delvar(u1)", "y:=u2+u1+w", "w:=1", "endfunction",
        "function y=rd(u1)", "y:=u1+b", "endfunction",
        "function y=arr(u1)", "u1[3]:=4", "y:=len(u1)+u1", "endfunction",
        "function y=txt2(u1,u2)", "y:=len(u1)+u2", "endfunction",
        "function y=same(u1,u1)", "y:=u1", "endfunction",
    };
    const std::vector<std::vector<std::string>> programs = {
        {"print(loc(1)+loc(2))", "print(loc(3))", "z9:=5", "print(loc(4))"},   // a local read before it is set
        {"a:=1", "print(rd(a))", "delvar(a)", "b:=2", "print(rd(b))", "print(b)"},   // same count, other names
        {"print(del(1,2)-del(3,4))", "print(del(5,6))"},                        // a parameter deleted, a local made
        {"print(arr(1)+arr(2))", "print(arr(3))"},                              // a parameter made an array
        {"print(txt2('ab',1)+txt2('',2))", "print(txt2('',3)+txt2(4,5))"},      // texts, one empty
        {"print(same(1,2)+same(3,4))", "u1:=7", "print(same(5,6)+u1)"},         // a parameter twice
        {"print(loc(1)+del(2,3)+loc(4)+arr(5)+loc(6))"},                        // functions taking turns
    };
    for (std::size_t i = 0; i < programs.size(); ++i)
        for (const quor::tdialect d : {quor::tdialect::editor, quor::tdialect::plotter}) {
            tprogram p;
            p.unit = unit;
            p.lines = programs[i];
            const std::string literal = runtranscript(p, d, true);
            EXPECT_EQ(runtranscript(p, d, false), literal) << "program " << i;
            EXPECT_NE(literal.find("memo: "), std::string::npos) << "program " << i;
        }
}

TEST(Differential, ElementsOfSeveralIndexesGoTheLongWayAtTheirEdges)
{
    // Element references of two and three indexes inside longer expressions and as targets
    // of them: in range, negative, past a size, on a missing variable, with too few indexes,
    // and written inside a call, whose copy of the caller's array must not reach the caller.
    tprogram p;
    p.unit = {"function r=poke(u)", "m[1,1]:=u+1+1", "r:=m[1,1]+0+0", "endfunction"};
    p.lines = {"d[0]:=2", "d[1]:=3", "redim(m,d)", "e[0]:=2", "e[1]:=2", "e[2]:=2", "redim(c,e)",
               "m[1,2]:=5+1+1", "print(m[1,2]+0+0)", "m[-1,0]:=1+1+1", "print(m[-1,2]+1+1)",
               "print(m[1]+1+1)",
               "print(q[1,1]+1+1)", "k:=1", "m[k,k+1]:=k+k+k", "print(m[k,2]*1*1)",
               "c[1,1,1]:=2+2+2", "print(c[1,1,1]+c[0,0,0]+c[1,0,1])", "c[1,1]:=1+1+1",
               "print(poke(4)+m[1,1]+0)", "print(m[1,1])", "m[2,0]:=1+1+1"};   // past a size: the run stops
    for (const quor::tdialect d : {quor::tdialect::editor, quor::tdialect::plotter}) {
        const std::string literal = runtranscript(p, d, true);
        EXPECT_EQ(runtranscript(p, d, false), literal);
        EXPECT_NE(literal.find("memo: 7 @"), std::string::npos) << literal;
        EXPECT_NE(literal.find("memo: 6 @"), std::string::npos) << literal;
        EXPECT_NE(literal.find("memo: Error on out of range of variable m @"), std::string::npos) << literal;
    }
}

TEST(Differential, ThreeOperandsReduceByPriorityOnBothPaths)
{
    // Three plain operands between two operators the quick way knows: the operator of higher
    // priority first (comparisons, then *, then + and -), the left one when alike; an
    // overflow on the way takes the general way, with its box.
    const struct { const char* expr; const char* value; } cases[] = {
        {"a+b*c", "14"},   {"a*b+c", "10"},   {"a-b-c", "-5"},  {"a-b+c", "3"},
        {"a<b+c", "5"},    {"a+b<c", "3"},    {"a*b*c", "24"},  {"a=b-c", "-4"},
        {"a*h*h", ""},     {"h*h-h", ""},     {"a-b*h", ""},
    };
    for (const auto& c : cases) {
        tprogram p;
        p.lines = {"a:=2", "b:=3", "c:=4", "h:=1e200", "for(i:=1:3)", std::string("r:=") + c.expr, "end",
                   std::string("print(") + c.expr + ")", "print(r)"};
        for (const quor::tdialect d : {quor::tdialect::editor, quor::tdialect::plotter}) {
            const std::string literal = runtranscript(p, d, true);
            EXPECT_EQ(runtranscript(p, d, false), literal) << c.expr;
            if (*c.value) {
                EXPECT_NE(literal.find(std::string("memo: ") + c.value + " @"), std::string::npos) << c.expr << "\n" << literal;
            }
        }
    }
}
