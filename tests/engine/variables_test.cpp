// Variable lists: scalars, elements, multi-dimensional arrays, texts, copies and listings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fault.h"
#include "fixture.h"
#include "variables.h"

using quor::tdialect;
using events = std::vector<std::string>;
using values = std::vector<double>;

namespace {

const tdialect bothdialects[] = {tdialect::editor, tdialect::plotter};
const char* nameof(tdialect d) { return d == tdialect::editor ? "editor" : "plotter"; }

std::vector<std::string> listing(const quor::tvarlist& vars)
{
    std::vector<std::string> lines;
    vars.listvars(lines);
    return lines;
}

// m: a 2 x 3 array holding 1..6; s: a scalar 5; a: made by a[5]:=1; i, j: 1 and 2.
void setup(quortest::context& ctx)
{
    ctx.vars.dimarray("m", {2, 3});
    for (int k = 0; k < 6; ++k) ctx.vars.setelement("m", k, k + 1);
    for (const char* a : {"s:=5", "a[5]:=1", "i:=1", "j:=2"}) ctx.assign(a);
    ctx.host.take();
}

}  // namespace

TEST(Variables, ReadingReferencesAndIndexesAboveTheirSize)
{
    // The plotter shows no box of its own for a read: only those of the index checks.
    const std::string indexm = "box: Error on invalid index of variable :m[1,2,0]";
    const std::string invalid = "box: Error on invalid variable: ";
    const std::string undefined = "box: The variable: uis not in.the final result maybe incorrected";
    const std::string ranges = "box: array s[] out of range of array ,the result may be incorrected";
    const struct { const char* ref; double value; events editor, plotter; } cases[] = {
        {"a[-1]", -1, {invalid + "a the final result maybe incorrected"}, {}},
        {"m[1,2,0]", -1, {indexm, invalid + "m the final result maybe incorrected"}, {indexm}},
        {"s[0]", 0, {ranges}, {ranges}},
        {"q[1,2]", -1, {"box: Error on invalid variable name :q", invalid + "q the final result maybe incorrected"},
         {"box: Error on invalid variable name :q"}},
        {"u", -1, {undefined}, {}},
        {"u[3]", 0, {undefined}, {}},
    };
    for (tdialect d : bothdialects) {
        for (const auto& c : cases) {
            quortest::context ctx(d);
            setup(ctx);
            EXPECT_EQ(ctx.eval(c.ref), c.value) << nameof(d) << ' ' << c.ref;
            // Boxes only: whether a read also writes memo lines is left open.
            events boxes;
            for (const auto& e : ctx.host.take())
                if (e.rfind("box: ", 0) == 0) boxes.push_back(e);
            EXPECT_EQ(boxes, d == tdialect::editor ? c.editor : c.plotter) << nameof(d) << ' ' << c.ref;
        }
    }
    // An index at or above its size raises a fault.
    quortest::context ctx;
    setup(ctx);
    try {
        ctx.eval("m[i+1,j]+1");
        ADD_FAILURE() << "no fault";
    } catch (const quor::tfault& f) {
        EXPECT_EQ(f.text(), "Error on out of range of variable m");
    }
}

TEST(Variables, WritingSeveralIndexesOfAnUndefinedName)
{
    quortest::context ctx;
    setup(ctx);
    const std::vector<std::string> before = listing(ctx.vars);
    EXPECT_EQ(ctx.vars.setvar("q[1,2]", 9, &ctx.funcs, &ctx.host, ctx.session), 0);
    EXPECT_EQ(ctx.host.take(), (events{"box: Error on invalid variable name :q", "memo: Error on invalid variable name :q"}));
    EXPECT_EQ(listing(ctx.vars), before);
}

TEST(Variables, HugeElementOffsetStoresNothing)
{
    for (tdialect d : bothdialects) {
        for (const char* ref : {"a[1e12]", "a[3e9]", "b[2^40]", "b[1e12]"}) {
            quortest::context ctx(d);
            setup(ctx);
            const std::vector<std::string> before = listing(ctx.vars);
            try {
                ctx.assign(std::string(ref) + ":=1");
                ADD_FAILURE() << nameof(d) << ' ' << ref << ": no fault";
            } catch (const quor::tfault& f) {
                EXPECT_EQ(f.text(), std::string("Error on set ") + ref + "[] value") << nameof(d);
            }
            EXPECT_EQ(listing(ctx.vars), before) << nameof(d) << ' ' << ref;
            EXPECT_TRUE(ctx.host.take().empty()) << nameof(d) << ' ' << ref;
        }
    }
}

TEST(Variables, ElementOffsetsAndIndexes)
{
    quortest::context ctx;
    setup(ctx);
    const struct { const char* index; std::int64_t offset; } offsets[] = {
        {"1,2", 5}, {"1,-1", 2}, {"0,-1", -1}, {"i,j", 5}, {"m[0,0],1", 4}, {"(1),2", 5},
        {"1", 1},   {"7", 7},   // a single index is never compared with the sizes
        {"2.9", 2}, {"-1.5", -1},
    };
    for (const auto& o : offsets)
        EXPECT_EQ(ctx.vars.elementoffset("m", o.index, &ctx.host, &ctx.funcs, ctx.session), o.offset) << o.index;

    const struct { const char* text; std::vector<std::int64_t> indexes; } lists[] = {
        {"1,2+1", {1, 3}}, {"2.7,-2.7", {2, -2}}, {"(1+1)*2, 3", {4, 3}}, {"1,,2", {1}}, {"", {}},
        {"m[0,1],i", {2, 1}},
    };
    for (const auto& l : lists)
        EXPECT_EQ(ctx.vars.evalindexes(l.text, &ctx.funcs, &ctx.host, ctx.session), l.indexes) << l.text;
    EXPECT_TRUE(ctx.host.take().empty());
}

TEST(Variables, DimArray)
{
    const struct {
        std::vector<std::int64_t> sizes;
        int count;
        quor::cdemension demension;
        quor::casistance asistance;
    } cases[] = {
        {{2, 3}, 6, {2, 3}, {3, 1}},    {{4}, 4, {4}, {1}},
        {{2, 3, 4}, 24, {2, 3, 4}, {12, 4, 1}},                {{1, 1}, 1, {1, 1}, {1, 1}},
        // Empty or negative sizes hold no elements and count as 0 in the strides before them
        // (a negative index may pass their bound, and the stride then decides the message).
        {{0, 3}, 0, {0, 3}, {3, 1}},    {{3, 0}, 0, {3, 0}, {0, 1}},
        {{-2}, 0, {-2}, {1}},           {{2, -1}, 0, {2, -1}, {0, 1}},
    };
    for (const auto& c : cases) {
        for (bool existing : {false, true}) {   // an existing variable keeps its value, not its elements
            quor::tvarlist vars("global", 2);
            if (existing) {
                vars.setelement("y", 9, 5);
                vars.setscalar("y", 7);
            }
            vars.dimarray("y", c.sizes);
            const quor::tvar& y = *vars.find("y");
            EXPECT_EQ(y.value, existing ? 7 : 0) << c.count;
            EXPECT_EQ(y.data, values(static_cast<std::size_t>(c.count), 0.0)) << c.count;
            EXPECT_EQ(y.demension, c.demension) << c.count;
            EXPECT_EQ(y.asistance, c.asistance) << c.count;
        }
    }
}

TEST(Variables, ScalarsElementsAndLongNames)
{
    quor::tvarlist vars("global", 2);
    // Name, value, sizes, strides and elements; appended as a scalar.
    EXPECT_EQ(vars.addvar(quor::tvar{"r", 4, {3}, {1}, {1, 2, 3}}), 0);
    EXPECT_TRUE(vars.items[0].data.empty());
    EXPECT_EQ(vars.items[0].demension, quor::cdemension{-1});
    EXPECT_EQ(vars.items[0].asistance, quor::casistance{1});

    vars.setelement("v", 1, 8);   // a new variable takes the element as its value
    EXPECT_EQ(vars.find("v")->value, 8);
    vars.setscalar("v", 3);       // elements stay
    vars.setelement("v", 3, 2);   // grows with zeros, the value stays
    EXPECT_EQ(vars.find("v")->data, (values{0, 8, 0, 2}));
    EXPECT_EQ(vars.find("v")->value, 3);

    // Names are cut to 255 bytes: the second write finds the first variable.
    const std::string name(300, 'v');
    quortest::context ctx;
    ctx.assign(name + ":=1");
    ctx.assign(name + ":=2");
    EXPECT_EQ(ctx.vars.count(), 1);
    EXPECT_EQ(ctx.vars.items[0].name, name.substr(0, 255));
    EXPECT_EQ(ctx.eval(name), 2);
    EXPECT_TRUE(ctx.host.take().empty());
}

TEST(Variables, Texts)
{
    quortest::context ctx;
    auto& vars = ctx.vars;
    EXPECT_EQ(vars.settext("t", "ab"), 1);
    EXPECT_EQ(vars.find("t")->value, 97);   // the first code
    vars.settext("e", "");
    EXPECT_FALSE(vars.varexists("e"));
    vars.settext("h", "\xe9!");
    EXPECT_EQ(vars.find("h")->data, (values{233, 33}));
    vars.setscalar("k", 5);
    vars.settext("k", "xy");
    EXPECT_EQ(vars.find("k")->value, 5);

    vars.setelement("c", 0, 353.9);   // truncated, modulo 256
    vars.setelement("c", 1, 65);
    EXPECT_EQ(vars.gettext("c", ctx.session), "aA");
    vars.setscalar("n", 1);
    EXPECT_EQ(vars.gettext("n", ctx.session), "");
    EXPECT_TRUE(ctx.host.take().empty());
}

TEST(Variables, CopyVar)
{
    quortest::context ctx;
    quor::tvarlist source("source", 2), target("target", 0);
    source.dimarray("src", {2, 2});
    for (int k = 0; k < 4; ++k) source.setelement("src", k, 10 + k);
    source.setscalar("src", 3);
    const auto var = [&](const char* n) { return *target.find(n); };

    target.setelement("dst", 4, 9);
    quor::copyvar(target, "dst", "src", source, ctx.session);
    EXPECT_EQ(var("dst").value, 3);
    EXPECT_EQ(var("dst").data, (values{10, 11, 12, 13}));
    EXPECT_EQ(var("dst").demension, (quor::cdemension{2, 2}));
    EXPECT_EQ(var("dst").asistance, (quor::casistance{2, 1}));
    quor::copyvar(target, "one", "src[1]", source, ctx.session);   // an element into a scalar
    EXPECT_EQ(var("one").value, 11);
    EXPECT_TRUE(var("one").data.empty());
    EXPECT_EQ(var("one").demension, quor::cdemension{-1});
    quor::copyvar(target, "el[2]", "src", source, ctx.session);    // the value into an element
    EXPECT_EQ(var("el").data, (values{0, 0, 3}));
    EXPECT_TRUE(ctx.host.take().empty());

    quor::copyvar(target, "miss", "nosuch", source, ctx.session);
    EXPECT_EQ(var("miss").value, -1);
    EXPECT_TRUE(var("miss").data.empty());
    EXPECT_EQ(ctx.host.take(), events{"box: The variable: nosuchis not in.the final result maybe incorrected"});
}

TEST(Variables, AssignListAndListing)
{
    quor::tvarlist source("global", 2);
    source.setscalar("x", 2);
    source.dimarray("y", {2});
    source.setscalar("z", 0.1 + 0.2);
    source.setelement("z", 0, 1e-6);
    const std::vector<std::string> expected{"x=2", "y=0", "y[0]=0", "y[1]=0", "z=0.3", "z[0]=1E-6"};
    EXPECT_EQ(listing(source), expected);
    std::vector<std::string> lines{"keep"};
    source.listelements("nosuch", lines);
    source.listelements("x", lines);
    EXPECT_EQ(lines, std::vector<std::string>{"keep"});

    // A copied list has the names, values and elements, but no sizes; "old" is gone.
    quor::tvarlist temp("temp", 0);
    temp.setscalar("old", 9);
    temp.assignlist(source);
    EXPECT_EQ(listing(temp), expected);
    for (const auto& v : temp.items) EXPECT_TRUE(v.demension.empty() && v.asistance.empty()) << v.name;
}
