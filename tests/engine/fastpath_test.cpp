// The fast path's own pieces: the linear reduction against the literal deleting one,
// shared element storage, and caches that follow changes made between runs.
#include <gtest/gtest.h>

#include <random>

#include "fixture.h"
#include "partlist.h"
#include "units.h"

using namespace quortest;

namespace {

// The reduction as literally described: each folded pair is deleted in place.
double deletinginplace(std::vector<double> a, std::vector<std::string> o, quor::tsession& s)
{
    quor::toperatorlist ops;
    ops.items = o;
    for (int p = 3; p >= 0; --p) {
        std::size_t i = 0;
        while (i < ops.items.size()) {
            if (ops.priority(static_cast<int>(i)) == p) {
                a[i + 1] = ops.operate(static_cast<int>(i), a[i], a[i + 1], s);
                a.erase(a.begin() + static_cast<long>(i));
                ops.items.erase(ops.items.begin() + static_cast<long>(i));
            } else {
                ++i;
            }
        }
    }
    return a[0];
}

}  // namespace

TEST(FastPath, LinearReductionFoldsAsDeletingInPlace)
{
    const char* const signs[] = {"<", ">", "=", "<>", "<=", ">=", "^", "*", "/", "+", "-"};
    const double values[] = {0, 1, 2, -3, 0.5, 7, 1e300, -2.5};
    std::mt19937 rng(11);
    for (int round = 0; round < 3000; ++round) {
        context literal, linear;
        const int n = std::uniform_int_distribution<int>(0, 12)(rng);
        std::vector<double> a{values[rng() % std::size(values)]};
        std::vector<std::string> o;
        for (int i = 0; i < n; ++i) {
            o.push_back(signs[rng() % std::size(signs)]);
            a.push_back(values[rng() % std::size(values)]);
        }
        const double want = deletinginplace(a, o, literal.session);
        quor::tdatalist d;
        d.items = a;
        quor::toperatorlist ops;
        ops.items = o;
        const double got = quor::reducelists(d, ops, linear.session);
        ASSERT_TRUE(got == want || (std::isnan(got) && std::isnan(want))) << round << ": " << got << " vs " << want;
        ASSERT_EQ(linear.host.take(), literal.host.take()) << round;   // the same boxes, in order
        std::vector<int> codes;
        for (const auto& sign : o) codes.push_back(quor::opcode(sign));
        context bycode;
        std::vector<double> b = a;
        const double viacodes = quor::reducecodes(b.data(), codes.data(), b.size(), codes.size(), bycode.session);
        ASSERT_TRUE(viacodes == want || (std::isnan(viacodes) && std::isnan(want))) << round;
    }
}

TEST(FastPath, ElementsAreSharedUntilWritten)
{
    quor::telements a;
    a.assign(4, 1.0);
    quor::telements b = a;
    EXPECT_EQ(&a.values(), &b.values());   // one store for both
    b.set(2, 9);
    EXPECT_EQ(a, (std::vector<double>{1, 1, 1, 1}));
    EXPECT_EQ(b, (std::vector<double>{1, 1, 9, 1}));
    a.clear();
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(b.size(), 4u);

    // A call's temporary list shares the caller's elements; writing it leaves them alone.
    context c;
    c.vars.setelement("big", 99999, 5);
    quor::tvarlist temp("temp", 0);
    temp.assignlist(c.vars);
    EXPECT_EQ(&temp.find("big")->data.values(), &c.vars.find("big")->data.values());
    temp.setelement("big", 0, 3);
    EXPECT_EQ(c.vars.find("big")->data[0], 0);
    EXPECT_EQ(temp.find("big")->data[0], 3);
    EXPECT_EQ(c.vars.find("big")->data[99999], 5);
}

TEST(FastPath, CachesFollowChangesBetweenRuns)
{
    // Each step runs on a fast and a reference context alike; every result and event must match.
    struct step {
        const char* what;   // "exec", "unit", "dialect", "delvar"
        std::vector<std::string> text;
    };
    const std::vector<step> steps = {
        {"unit", {"function y=f(a,b)", "y:=a+b", "endfunction"}},
        {"exec", {"x:=f(2,3)"}},
        {"unit", {"function y=f(a,b)", "y:=a*b", "endfunction"}},
        {"exec", {"x:=f(2,3)"}},
        {"unit", {"function y=f(a)", "y:=len(a)", "endfunction"}},
        {"exec", {"x:=f(2,3)"}},
        {"exec", {"q:=x+1"}},
        {"delvar", {}},
        {"exec", {"q:=x+1"}},
        {"exec", {"x:=1"}},
        {"exec", {"q:=x+1"}},
        {"exec", {"print(f('a,b'))"}},
        {"dialect", {}},
        {"exec", {"print(f('a,b'))"}},
        {"exec", {"w:=(1+')')"}},
        {"dialect", {}},
        {"exec", {"w:=(1+')')"}},
    };
    context fast, reference;
    reference.session.reference = true;
    fast.session.reference = false;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        for (context* c : {&fast, &reference}) {
            const std::string what = steps[i].what;
            std::string result;
            if (what == "unit") c->unit(steps[i].text);
            else if (what == "delvar") c->vars.deletevar(c->vars.varindex("x"));
            else if (what == "dialect")
                c->session.dialect = c->session.editor() ? quor::tdialect::plotter : quor::tdialect::editor;
            else result = faulttext([&] { result = c->exec(steps[i].text[0]); }, result);
            c->host.events.push_back("result: " + result);
        }
        ASSERT_EQ(fast.host.take(), reference.host.take()) << "step " << i;
    }
    std::vector<std::string> f, r;
    fast.vars.listvars(f);
    reference.vars.listvars(r);
    EXPECT_EQ(f, r);
    EXPECT_EQ(f.front(), "q=2");   // x was deleted and made again after q
}

TEST(FastPath, EventChecksArePaced)
{
    // A clock is read only every third call; with no minimum interval each reading is due.
    quor::tpacer often(0, 3);
    std::vector<bool> got;
    for (int i = 0; i < 7; ++i) got.push_back(often.due());
    EXPECT_EQ(got, (std::vector<bool>{true, false, false, true, false, false, true}));
    // With an interval far away only the first call is due.
    quor::tpacer rarely(1000000, 2);
    EXPECT_TRUE(rarely.due());
    for (int i = 0; i < 10; ++i) EXPECT_FALSE(rarely.due()) << i;
}
