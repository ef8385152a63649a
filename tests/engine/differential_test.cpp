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
    EXPECT_NE(one.find("memo: 1\n"), std::string::npos);
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
