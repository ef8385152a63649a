// Function items and the name-ordered function list: head parsing, insertion and lookup.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "funclist.h"

using quor::tdialect;
using names = std::vector<std::string>;

namespace {

std::unique_ptr<quor::tfuncitem> item(const std::string& name, const std::string& body = "")
{
    auto i = std::make_unique<quor::tfuncitem>();
    i->name = name;
    if (!body.empty()) i->lines = {body};
    return i;
}

names order(const quor::tfunclist& list)
{
    names out;
    for (int i = 0; i < list.count(); ++i) out.push_back(list.item(i).name);
    return out;
}

}  // namespace

TEST(ParseHead, NameResultAndParameters)
{
    const struct { const char* head; const char *name, *result; names params; } cases[] = {
        {"function y=f(x)", "f", "y", {"x"}},
        {"function y= f (a, b)", "f", "y", {"a", " b"}},
        {"function y =f(x)", "f", "", {"x"}},             // a blank before "=" empties the result
        {"function f(x)", "function", "", {"x"}},         // no "=": the first word is the name
        {"function y=f()", "f", "y", {}},                 {"function y=f(,a)", "f", "y", {}},
        {"function y=f(a,,b)", "f", "y", {"a"}},          {"function y=f", "f", "y", {}},
        {"y=f(x)", "f", "y", {"x"}},
        {"function  total=Sum(a,b,c)", "Sum", "total", {"a", "b", "c"}},
        {"function r=g(a[1,2],(b,c),d)", "g", "r", {"a[1,2]", "(b,c)", "d"}},
        {"function r=g(p,'x,y')", "g", "r", {"p", "'x,y'"}},
        {"function r=g(a,b) x=1", "g", "r", {"a", "b"}},
    };
    for (const auto& c : cases) {
        quor::tfuncitem fn;
        fn.lines = {"r:=1"};
        fn.parsehead(c.head);
        EXPECT_EQ(fn.name, c.name) << c.head;
        EXPECT_EQ(fn.resultname, c.result) << c.head;
        EXPECT_EQ(fn.params, c.params) << c.head;
        EXPECT_EQ(fn.lines, names{"r:=1"}) << c.head;   // body lines untouched
    }
    // The plotter splits parameters inside literals.
    quor::tfuncitem fn;
    fn.parsehead("function r=g(p,'x,y')", tdialect::plotter);
    EXPECT_EQ(fn.params, (names{"p", "'x", "y'"}));
}

TEST(ParseHead, AppendsParametersAndCutsLongTexts)
{
    quor::tfuncitem fn;
    fn.parsehead("function y=f(a)");
    fn.parsehead("function z=g(b,c)");
    EXPECT_EQ(fn.name, "g");
    EXPECT_EQ(fn.resultname, "z");
    EXPECT_EQ(fn.params, (names{"a", "b", "c"}));
    const std::string longp(300, 'p'), longn(300, 'n');
    fn.parsehead("function r=" + longn + "(" + longp + ",q)");
    EXPECT_EQ(fn.name, longn.substr(0, 255));
    EXPECT_EQ(fn.params, (names{"a", "b", "c", longp.substr(0, 255), "q"}));

    const auto made = quor::makefuncitem("function r=f(a,b)", {"  r:=a+b ;", "", "R:=1"});
    EXPECT_EQ(made->params, (names{"a", "b"}));
    EXPECT_EQ(made->lines, (names{"  r:=a+b ;", "", "R:=1"}));
}

TEST(FuncList, InsertKeepsByteOrderAndReplaces)
{
    const struct { names inserted, order; } cases[] = {
        {{"g", "a", "m", "g"}, {"a", "g", "m"}},      {{"ab", "Ab"}, {"Ab", "ab"}},
        {{"abc", "ab", "a"}, {"a", "ab", "abc"}},     {{"\xe0x", "z", "Z"}, {"Z", "z", "\xe0x"}},   // unsigned bytes
        {{"b", "b ", "a b"}, {"a b", "b", "b "}},
    };
    for (const auto& c : cases) {
        quor::tfunclist list("global", 2);
        for (std::size_t i = 0; i < c.inserted.size(); ++i) {
            const int n = list.insertfunc(item(c.inserted[i], "line" + std::to_string(i)));
            EXPECT_EQ(n, list.count());
        }
        EXPECT_EQ(order(list), c.order) << testing::PrintToString(c.inserted);
    }
    // The replacement is the newer item.
    quor::tfunclist list("global", 2);
    list.insertfunc(item("g", "old"));
    list.insertfunc(item("g", "new"));
    ASSERT_NE(list.findfunc("g"), nullptr);
    EXPECT_EQ(list.findfunc("g")->lines, names{"new"});
}

TEST(FuncList, FindIsExact)
{
    const struct { names entries, found, absent; } cases[] = {
        {{}, {}, {"a", ""}},
        {{"f"}, {"f"}, {"F", "f ", "", "g"}},
        {{"a", "c"}, {"a", "c"}, {"b", "A", "d", ""}},
        {{"Ab", "ab"}, {"Ab", "ab"}, {"AB", "aB"}},
    };
    for (const auto& c : cases) {
        quor::tfunclist list("global", 2);
        for (const auto& n : c.entries) list.insertfunc(item(n));
        for (const auto& n : c.found) {
            const quor::tfuncitem* f = list.findfunc(n);
            EXPECT_TRUE(f && f->name == n) << n;
        }
        for (const auto& n : c.absent) EXPECT_EQ(list.findfunc(n), nullptr) << '"' << n << '"';
    }
    // Binary search over many entries, inserted in scrambled order.
    quor::tfunclist list("global", 2);
    for (int i = 0; i < 101; ++i) list.insertfunc(item("f" + std::to_string(1000 + (i * 37) % 101 * 2)));
    for (int k = 0; k < 101; ++k) {
        EXPECT_EQ(list.findfunc("f" + std::to_string(1000 + k * 2)), &list.item(k)) << k;
        EXPECT_EQ(list.findfunc("f" + std::to_string(1001 + k * 2)), nullptr) << k;
    }
}

TEST(FuncList, ItemsLeavingWhileCalledStayUntilTheirLastCallEnds)
{
    quor::tfunclist list("l", 0);
    list.insertfunc(item("f", "one"));
    list.insertfunc(item("g", "two"));
    const quor::tfuncitem* f = list.findfunc("f");
    const quor::tfuncitem* g = list.findfunc("g");
    ++f->pins;   // two calls of f running, one of g
    ++f->pins;
    ++g->pins;
    list.insertfunc(item("f", "new"));   // replaced while running: kept
    EXPECT_EQ(list.retired(), 1u);
    EXPECT_EQ(list.findfunc("f")->lines, names{"new"});
    EXPECT_EQ(f->lines, names{"one"});
    list.unpin(*f);
    EXPECT_EQ(list.retired(), 1u);   // one call still runs it
    list.clear();                    // g goes too, still running; the new f runs nowhere
    EXPECT_EQ(list.retired(), 2u);
    EXPECT_EQ(g->lines, names{"two"});
    list.unpin(*f);
    EXPECT_EQ(list.retired(), 1u);
    list.unpin(*g);
    EXPECT_EQ(list.retired(), 0u);
    EXPECT_EQ(list.count(), 0);
    // An item replaced when no call runs it is let go at once.
    list.insertfunc(item("h", "a"));
    list.insertfunc(item("h", "b"));
    EXPECT_EQ(list.retired(), 0u);
}
