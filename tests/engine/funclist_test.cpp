// Function items and the name-ordered function list: head parsing, insertion, lookup and
// the name tables.
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
    const struct {
        const char* head;
        const char *name, *result;
        names params, plotterparams;
    } cases[] = {
        {"function y=f(x)", "f", "y", {"x"}, {"x"}},
        {"function y= f (a, b)", "f", "y", {"a", " b"}, {"a", " b"}},
        {"function y =f(x)", "f", "", {"x"}, {"x"}},            // a blank before "=" empties the result
        {"function f(x)", "function", "", {"x"}, {"x"}},        // no "=": the first word is the name
        {"function y=f()", "f", "y", {}, {}},
        {"function y=f(,a)", "f", "y", {}, {}},
        {"function y=f(a,,b)", "f", "y", {"a"}, {"a"}},
        {"function y=f", "f", "y", {}, {}},
        {"y=f(x)", "f", "y", {"x"}, {"x"}},
        {"function  total=Sum(a,b,c)", "Sum", "total", {"a", "b", "c"}, {"a", "b", "c"}},
        {"function r=g(a[1,2],(b,c),d)", "g", "r", {"a[1,2]", "(b,c)", "d"}, {"a[1,2]", "(b,c)", "d"}},
        {"function r=g(p,'x,y')", "g", "r", {"p", "'x,y'"}, {"p", "'x", "y'"}},
        {"function r=g(a,b) x=1", "g", "r", {"a", "b"}, {"a", "b"}},
    };
    for (tdialect d : {tdialect::editor, tdialect::plotter}) {
        for (const auto& c : cases) {
            quor::tfuncitem fn;
            fn.lines = {"r:=1"};
            fn.parsehead(c.head, d);
            EXPECT_EQ(fn.name, c.name) << c.head;
            EXPECT_EQ(fn.resultname, c.result) << c.head;
            EXPECT_EQ(fn.params, d == tdialect::editor ? c.params : c.plotterparams) << c.head;
            EXPECT_EQ(fn.paramcount(), static_cast<int>(fn.params.size())) << c.head;
            EXPECT_EQ(fn.lines, names{"r:=1"}) << c.head;   // body lines untouched
        }
    }
}

TEST(ParseHead, AppendsParametersAndCutsLongTexts)
{
    quor::tfuncitem fn;
    fn.parsehead("function y=f(a)");
    fn.parsehead("function z=g(b,c)");
    EXPECT_EQ(fn.name, "g");
    EXPECT_EQ(fn.resultname, "z");
    EXPECT_EQ(fn.params, (names{"a", "b", "c"}));

    const std::string longp(300, 'p');
    const std::string longn(300, 'n');
    quor::tfuncitem cut;
    cut.parsehead("function r=" + longn + "(" + longp + ",q)");
    EXPECT_EQ(cut.name, longn.substr(0, 255));
    EXPECT_EQ(cut.params, (names{longp.substr(0, 255), "q"}));
}

TEST(MakeFuncItem, HeadAndBody)
{
    const auto fn = quor::makefuncitem("function r=f(a,b)", {"  r:=a+b ;", "", "R:=1"});
    EXPECT_EQ(fn->name, "f");
    EXPECT_EQ(fn->resultname, "r");
    EXPECT_EQ(fn->params, (names{"a", "b"}));
    EXPECT_EQ(fn->lines, (names{"  r:=a+b ;", "", "R:=1"}));
}

TEST(FuncList, InsertKeepsByteOrderAndReplaces)
{
    const struct {
        names inserted;
        names order;
    } cases[] = {
        {{"g", "a", "m"}, {"a", "g", "m"}},
        {{"g", "a", "m", "g"}, {"a", "g", "m"}},
        {{"ab", "Ab"}, {"Ab", "ab"}},
        {{"abc", "ab", "a"}, {"a", "ab", "abc"}},
        {{"\xe0x", "z", "Z"}, {"Z", "z", "\xe0x"}},   // unsigned bytes
        {{"b", "b ", "a b"}, {"a b", "b", "b "}},
        {{"x", "x"}, {"x"}},
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
    list.insertfunc(item("a"));
    list.insertfunc(item("g", "new"));
    ASSERT_NE(list.findfunc("g"), nullptr);
    EXPECT_EQ(list.findfunc("g")->lines, names{"new"});
    EXPECT_EQ(list.count(), 2);
}

TEST(FuncList, FindIsExact)
{
    const struct {
        names entries;
        names found;
        names absent;
    } cases[] = {
        {{}, {}, {"a", ""}},
        {{"f"}, {"f"}, {"F", "f ", "", "g"}},
        {{"a", "c"}, {"a", "c"}, {"b", "A", "d", ""}},
        {{"a", "c", "e"}, {"a", "c", "e"}, {"b", "d", "f", "0"}},
        {{"Ab", "ab"}, {"Ab", "ab"}, {"AB", "aB"}},
    };
    for (const auto& c : cases) {
        quor::tfunclist list("global", 2);
        for (const auto& n : c.entries) list.insertfunc(item(n));
        for (const auto& n : c.found) {
            const quor::tfuncitem* f = list.findfunc(n);
            ASSERT_NE(f, nullptr) << n;
            EXPECT_EQ(f->name, n);
        }
        for (const auto& n : c.absent) EXPECT_EQ(list.findfunc(n), nullptr) << '"' << n << '"';
    }

    // Binary search over many entries, inserted in scrambled order.
    quor::tfunclist list("global", 2);
    for (int i = 0; i < 101; ++i) list.insertfunc(item("f" + std::to_string(1000 + (i * 37) % 101 * 2)));
    EXPECT_EQ(list.count(), 101);
    for (int k = 0; k < 101; ++k) {
        const std::string present = "f" + std::to_string(1000 + k * 2);
        const std::string missing = "f" + std::to_string(1001 + k * 2);
        ASSERT_NE(list.findfunc(present), nullptr) << present;
        EXPECT_EQ(list.findfunc(present)->name, present);
        EXPECT_EQ(list.findfunc(missing), nullptr) << missing;
    }
}

TEST(NameTable, WholeLinesWithoutRegardToCase)
{
    const quor::tnametable table{"", "abs", "Sin", "print", "ABS", "a b"};
    const struct {
        const char* name;
        int index;
    } cases[] = {
        {"abs", 1}, {"ABS", 1}, {"sin", 2}, {"SIN", 2}, {"Print", 3}, {"a b", 5},
        {"ab", -1}, {"abs ", -1}, {"prin", -1}, {"cos", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(quor::tableindex(table, c.name), c.index) << '"' << c.name << '"';
}
