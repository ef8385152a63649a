// Bad input: random statements built from the language's own pieces must never crash,
// hang or leave the session's nesting counters unbalanced.
#include <gtest/gtest.h>

#include <random>

#include "fixture.h"

using namespace quortest;

namespace {

const char* const pieces[] = {
    "a", "b", "x", "a[", "b[", "]", "(", ")", "((", "))", ",", "'", "''", "'t'", ":=", "+", "-", "*", "/", "^",
    "<", ">", "=", "<>", "<=", " ", "1", "0", "2.5", ".", "e", "1e3", "1e-", "9e999", "-", "--", "X", "_",
    "sin(", "ln(", "sqrt(", "random(", "val(", "pi(", "abs(", "print(", "len(", "setvar(", "redim(", "getdim(",
    "getstr(", "setstr(", "strcpy(", "delvar(", "cleararr(", "showwnd(", "setwndtext(", "getdc(", "plot(",
    "f(", "g(", "[1,2]", "1e12", "-1", ";", "\x01", "\xff"};

std::string randomstatement(std::mt19937& rng)
{
    std::uniform_int_distribution<int> count(1, 14);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::string s;
    for (int i = count(rng); i > 0; --i) s += pieces[pick(rng)];
    return s;
}

}  // namespace

TEST(Robustness, RandomStatementsInBothDialects)
{
    for (quor::tdialect d : {quor::tdialect::editor, quor::tdialect::plotter}) {
        context c(d);
        c.unit({"function y=f(a,b)", "y:=a+b", "endfunction", "function y=g(t)", "y:=len(t)", "endfunction"});
        std::mt19937 rng(20261207);
        for (int i = 0; i < 4000; ++i) {
            const std::string st = randomstatement(rng);
            try {
                c.exec(st);
            } catch (const std::exception&) {
                // Faults are an ordinary outcome of a bad statement.
            }
            ASSERT_EQ(c.session.groupdepth, 0) << st;
            ASSERT_EQ(c.session.calldepth, 0) << st;
            ASSERT_EQ(c.session.blockdepth, 0) << st;
            ASSERT_EQ(c.session.copiedelements, 0) << st;
            c.host.take();
        }
        // The context still evaluates normally afterwards.
        EXPECT_EQ(c.eval("1+2*3"), 7);
    }
}

TEST(Robustness, RandomProgramsRunToAnEnd)
{
    // Balanced random block structures; every loop carries a counter that breaks it.
    const char* const plain[] = {"a:=a+1", "print(a)", "b[a]:=a", "a:=0", "f(1,2)", "break", "else",
                                 "x:=ln(a-2)", "c:=b[a+5]", "delvar(a)", "a:=-a"};
    const char* const openers[] = {"if(a<3)", "for(i:=1:3)", "while(a<5)", "for(j:=3:1:1)", "if(a)"};
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<std::size_t> pickplain(0, std::size(plain) - 1);
    std::uniform_int_distribution<std::size_t> pickopener(0, std::size(openers) - 1);
    int ran = 0;
    for (int n = 0; n < 300; ++n) {
        context c;
        c.unit({"function y=f(a,b)", "y:=a", "endfunction"});
        std::vector<std::string> program{"k:=0", "a:=0"};
        int open = 0;
        for (int i = 0; i < 25; ++i) {
            const int k = kind(rng);
            if (k < 2) {
                const std::string o = openers[pickopener(rng)];
                program.push_back(o);
                if (o[0] != 'i') program.insert(program.end(), {"k:=k+1", "if(k>40)", "break", "end"});
                ++open;
            } else if (k < 4 && open > 0) {
                program.push_back("end");
                --open;
            } else {
                program.push_back(plain[pickplain(rng)]);
            }
        }
        while (open-- > 0) program.push_back("end");
        ASSERT_EQ(c.run(program), "");
        ++ran;
        ASSERT_EQ(c.session.blockdepth, 0);
        ASSERT_EQ(c.session.groupdepth, 0);
    }
    EXPECT_EQ(ran, 300);
}
