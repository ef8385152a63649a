// Variable lists: scalars, elements, multi-dimensional arrays, texts, copies and listings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fault.h"
#include "fixture.h"
#include "variables.h"

using quor::tdialect;
using events = std::vector<std::string>;

namespace {

const tdialect bothdialects[] = {tdialect::editor, tdialect::plotter};
const char* nameof(tdialect d) { return d == tdialect::editor ? "editor" : "plotter"; }

std::vector<std::string> listing(const quor::tvarlist& vars)
{
    std::vector<std::string> lines;
    vars.listvars(lines);
    return lines;
}

events boxesonly(const events& all)
{
    events out;
    for (const auto& e : all)
        if (e.rfind("box: ", 0) == 0) out.push_back(e);
    return out;
}

// m: a 2 x 3 array holding 1..6; s: a scalar 5; a: made by a[5]:=1; i, j: 1 and 2.
void setup(quortest::context& ctx)
{
    ctx.vars.dimarray("m", {2, 3});
    for (int k = 0; k < 6; ++k) ctx.vars.setelement("m", k, k + 1);
    ctx.assign("s:=5");
    ctx.assign("a[5]:=1");
    ctx.assign("i:=1");
    ctx.assign("j:=2");
}

const std::string invalidm = "box: Error on invalid variable: m the final result maybe incorrected";

}  // namespace

TEST(Variables, ReadingReferences)
{
    const std::string nota = "box: array a[] out of range of array ,the result may be incorrected";
    const struct {
        const char* ref;
        double value;
        events editor;   // boxes only: whether a read also writes memo lines is left open
        events plotter;
    } cases[] = {
        {"a", 1, {}, {}},              {"a[5]", 1, {}, {}},              {"a[7]", 0, {nota}, {nota}},
        {"a[-1]", -1, {"box: Error on invalid variable: a the final result maybe incorrected"}, {}},
        {"m[1,2]", 6, {}, {}},         {"m[0,0]", 1, {}, {}},            {"m[i,j]", 6, {}, {}},
        {"m[1.9,2.9]", 6, {}, {}},
        {"m[-0.5,1]", 2, {}, {}},      // truncated toward zero
        {"m[1,-1]", 3, {}, {}},        // indexes are not compared with 0
        {"m[0,-1]", -1, {invalidm}, {}},
        {"m[1]", 2, {}, {}},           // one index is a flat offset
        {"m[4+1]", 6, {}, {}},
        {"m[1,2,0]", -1, {"box: Error on invalid index of variable :m[1,2,0]", invalidm},
         {"box: Error on invalid index of variable :m[1,2,0]"}},
        {"s", 5, {}, {}},
        {"s[0]", 0, {"box: array s[] out of range of array ,the result may be incorrected"},
         {"box: array s[] out of range of array ,the result may be incorrected"}},
        {"s[0,0]", -1,
         {"box: Error on invalid index of variable :s[0,0]",
          "box: Error on invalid variable: s the final result maybe incorrected"},
         {"box: Error on invalid index of variable :s[0,0]"}},
        {"q[1,2]", -1,
         {"box: Error on invalid variable name :q", "box: Error on invalid variable: q the final result maybe incorrected"},
         {"box: Error on invalid variable name :q"}},
        {"u", -1, {"box: The variable: uis not in.the final result maybe incorrected"}, {}},
        {"u[3]", 0, {"box: The variable: uis not in.the final result maybe incorrected"}, {}},
    };
    for (tdialect d : bothdialects) {
        for (const auto& c : cases) {
            quortest::context ctx(d);
            setup(ctx);
            ctx.host.take();
            EXPECT_EQ(ctx.eval(c.ref), c.value) << nameof(d) << ' ' << c.ref;
            EXPECT_EQ(boxesonly(ctx.host.take()), d == tdialect::editor ? c.editor : c.plotter)
                << nameof(d) << ' ' << c.ref;
        }
    }
}

TEST(Variables, IndexAtOrAboveItsSizeFails)
{
    for (tdialect d : bothdialects) {
        for (const char* ref : {"m[2,0]", "m[0,3]", "m[i+1,j]"}) {
            quortest::context ctx(d);
            setup(ctx);
            ctx.host.take();
            try {
                ctx.eval(std::string(ref) + "+1");
                ADD_FAILURE() << nameof(d) << ' ' << ref << ": no fault";
            } catch (const quor::tfault& f) {
                EXPECT_EQ(f.text(), "Error on out of range of variable m") << nameof(d) << ' ' << ref;
            }
            // On the write path the line goes to the memo as well.
            ctx.host.take();
            const std::string before = testing::PrintToString(listing(ctx.vars));
            EXPECT_THROW(ctx.vars.setvar(ref, 9, &ctx.funcs, &ctx.host, ctx.session), quor::tfault);
            EXPECT_EQ(ctx.host.take(), events{"memo: Error on out of range of variable m"}) << nameof(d) << ' ' << ref;
            EXPECT_EQ(testing::PrintToString(listing(ctx.vars)), before) << nameof(d) << ' ' << ref;
        }
    }
}

TEST(Variables, WritingReferences)
{
    const struct {
        const char* ref;
        int result;
        events reported;
        std::vector<std::string> changed;   // listing lines of the written variable; empty: nothing changes
    } cases[] = {
        {"m[1,2]", 1, {}, {"m=0", "m[0]=1", "m[1]=2", "m[2]=3", "m[3]=4", "m[4]=5", "m[5]=9"}},
        {"m[1,-1]", 1, {}, {"m=0", "m[0]=1", "m[1]=2", "m[2]=9", "m[3]=4", "m[4]=5", "m[5]=6"}},
        {"m[0,-1]", 0, {}, {}},
        {"a[-1]", 0, {}, {}},
        {"m[1,2,0]", 0, {"box: Error on invalid index of variable :m[1,2,0]", "memo: Error on invalid index of variable :m[1,2,0]"}, {}},
        {"s[0,0]", 0, {"box: Error on invalid index of variable :s[0,0]", "memo: Error on invalid index of variable :s[0,0]"}, {}},
        {"q[1,2]", 0, {"box: Error on invalid variable name :q", "memo: Error on invalid variable name :q"}, {}},
        {"n[2]", 1, {}, {"n=9", "n[0]=0", "n[1]=0", "n[2]=9"}},
        {"a[7]", 1, {}, {"a=1", "a[0]=0", "a[1]=0", "a[2]=0", "a[3]=0", "a[4]=0", "a[5]=1", "a[6]=0", "a[7]=9"}},
        {"s", 1, {}, {"s=9"}},
        {"s ", 1, {}, {"s =9"}},
    };
    for (tdialect d : bothdialects) {
        for (const auto& c : cases) {
            quortest::context ctx(d);
            setup(ctx);
            ctx.host.take();
            const std::vector<std::string> before = listing(ctx.vars);
            EXPECT_EQ(ctx.vars.setvar(c.ref, 9, &ctx.funcs, &ctx.host, ctx.session), c.result) << nameof(d) << ' ' << c.ref;
            EXPECT_EQ(ctx.host.take(), c.reported) << nameof(d) << ' ' << c.ref;
            if (c.changed.empty()) {
                EXPECT_EQ(listing(ctx.vars), before) << nameof(d) << ' ' << c.ref;
            } else {
                // The lines of the written variable in the listing afterwards.
                const std::string n = c.changed.front().substr(0, c.changed.front().find('='));
                std::vector<std::string> lines;
                for (const auto& line : listing(ctx.vars))
                    if (line.rfind(n + "=", 0) == 0 || line.rfind(n + "[", 0) == 0) lines.push_back(line);
                EXPECT_EQ(lines, c.changed) << nameof(d) << ' ' << c.ref;
            }
        }
    }
}

TEST(Variables, HugeElementOffsetStoresNothing)
{
    for (tdialect d : bothdialects) {
        for (const char* ref : {"a[1e12]", "a[3e9]", "b[2^40]", "b[1e12]"}) {
            quortest::context ctx(d);
            setup(ctx);
            ctx.host.take();
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
    ctx.host.take();
    const struct {
        const char* index;
        std::int64_t offset;
    } offsets[] = {
        {"1,2", 5}, {"0,0", 0}, {"1,-1", 2}, {"0,-1", -1}, {"i,j", 5}, {"m[0,0],1", 4}, {"(1),2", 5},
        {"1", 1},   {"7", 7},   // a single index is never compared with the sizes
        {"2.9", 2}, {"-1.5", -1},
    };
    for (const auto& o : offsets)
        EXPECT_EQ(ctx.vars.elementoffset("m", o.index, &ctx.host, &ctx.funcs, ctx.session), o.offset) << o.index;

    const struct {
        const char* text;
        std::vector<std::int64_t> indexes;
    } lists[] = {
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
        quor::casistance asistance;   // empty: not checked
    } cases[] = {
        {{2, 3}, 6, {2, 3}, {3, 1}},
        {{4}, 4, {4}, {1}},
        {{2, 3, 4}, 24, {2, 3, 4}, {12, 4, 1}},
        {{1, 1}, 1, {1, 1}, {1, 1}},
        {{0, 3}, 0, {0, 3}, {}},
        {{3, 0}, 0, {3, 0}, {}},
        {{-2}, 0, {-2}, {}},
        {{2, -1}, 0, {2, -1}, {}},
    };
    for (const auto& c : cases) {
        for (bool existing : {false, true}) {
            quor::tvarlist vars("global", 2);
            if (existing) {
                vars.setelement("y", 9, 5);
                vars.setscalar("y", 7);
            }
            vars.dimarray("y", c.sizes);
            const quor::tvar* y = vars.find("y");
            ASSERT_NE(y, nullptr) << c.count;
            EXPECT_EQ(y->value, existing ? 7 : 0) << c.count;
            EXPECT_EQ(y->data, std::vector<double>(static_cast<std::size_t>(c.count), 0.0)) << c.count;
            EXPECT_EQ(y->demension, c.demension) << c.count;
            if (!c.asistance.empty()) {
                EXPECT_EQ(y->asistance, c.asistance) << c.count;
            }
        }
    }
}

TEST(Variables, ScalarsAndElements)
{
    quor::tvarlist vars("global", 2);
    quor::tvar record;
    record.name = "r";
    record.value = 4;
    record.data = {1, 2, 3};
    record.demension = {3};
    EXPECT_EQ(vars.addvar(record), 0);   // appended as a scalar
    EXPECT_TRUE(vars.items[0].data.empty());
    EXPECT_EQ(vars.items[0].demension, quor::cdemension{-1});
    EXPECT_EQ(vars.items[0].asistance, quor::casistance{1});

    vars.setelement("v", 1, 8);   // a new variable takes the element as its value
    EXPECT_EQ(vars.find("v")->value, 8);
    vars.setscalar("v", 3);       // elements stay
    vars.setelement("v", 3, 2);   // grows with zeros, the value stays
    EXPECT_EQ(vars.find("v")->data, (std::vector<double>{0, 8, 0, 2}));
    EXPECT_EQ(vars.find("v")->value, 3);

    vars.dimarray("w", {2, 2});
    vars.setscalar("w", 6);
    vars.cleararray("w");
    const quor::tvar* w = vars.find("w");
    EXPECT_EQ(w->value, 6);
    EXPECT_TRUE(w->data.empty() && w->demension.empty() && w->asistance.empty());
}

TEST(Variables, LongNamesAreCutTo255Bytes)
{
    const std::string name(300, 'v');
    for (tdialect d : bothdialects) {
        quortest::context ctx(d);
        ctx.assign(name + ":=1");
        ctx.assign(name + ":=2");
        EXPECT_EQ(ctx.vars.count(), 1) << nameof(d);   // the second write finds the first variable
        EXPECT_EQ(ctx.vars.items[0].name, name.substr(0, 255)) << nameof(d);
        EXPECT_EQ(ctx.eval(name), 2) << nameof(d);
        EXPECT_TRUE(ctx.host.take().empty()) << nameof(d);
    }
}

TEST(Variables, Texts)
{
    for (tdialect d : bothdialects) {
        quortest::context ctx(d);
        auto& vars = ctx.vars;
        EXPECT_EQ(vars.settext("t", "ab"), 1);
        EXPECT_EQ(vars.find("t")->value, 97);   // the first code
        vars.settext("t", "c");                 // the old tail stays
        EXPECT_EQ(vars.find("t")->data, (std::vector<double>{99, 98}));
        EXPECT_EQ(vars.gettext("t", ctx.session), "cb");

        vars.settext("e", "");
        EXPECT_FALSE(vars.varexists("e"));
        vars.settext("h", "\xe9!");
        EXPECT_EQ(vars.find("h")->data, (std::vector<double>{233, 33}));

        vars.setscalar("k", 5);
        vars.settext("k", "xy");
        EXPECT_EQ(vars.find("k")->value, 5);

        vars.setelement("c", 0, 353.9);   // truncated, modulo 256
        vars.setelement("c", 1, 65);
        EXPECT_EQ(vars.gettext("c", ctx.session), "aA");
        vars.setscalar("n", 1);
        EXPECT_EQ(vars.gettext("n", ctx.session), "");
        EXPECT_TRUE(ctx.host.take().empty()) << nameof(d);

        EXPECT_EQ(vars.gettext("zz", ctx.session), "");
        EXPECT_EQ(ctx.host.take(), events{"box: NO such variable:zz"}) << nameof(d);
    }
}

TEST(Variables, CopyVar)
{
    for (tdialect d : bothdialects) {
        quortest::context ctx(d);
        quor::tvarlist source("source", 2);
        source.dimarray("src", {2, 2});
        for (int k = 0; k < 4; ++k) source.setelement("src", k, 10 + k);
        source.setscalar("src", 3);

        quor::tvarlist target("target", 0);
        target.setelement("dst", 4, 9);
        quor::copyvar(target, "dst", "src", source, ctx.session);
        const quor::tvar* dst = target.find("dst");
        EXPECT_EQ(dst->value, 3) << nameof(d);
        EXPECT_EQ(dst->data, (std::vector<double>{10, 11, 12, 13})) << nameof(d);
        EXPECT_EQ(dst->demension, (quor::cdemension{2, 2})) << nameof(d);
        EXPECT_EQ(dst->asistance, (quor::casistance{2, 1})) << nameof(d);

        quor::copyvar(target, "one", "src[1]", source, ctx.session);   // an element into a scalar
        EXPECT_EQ(target.find("one")->value, 11) << nameof(d);
        EXPECT_TRUE(target.find("one")->data.empty()) << nameof(d);
        EXPECT_EQ(target.find("one")->demension, quor::cdemension{-1}) << nameof(d);

        quor::copyvar(target, "el[2]", "src", source, ctx.session);    // the value into an element
        EXPECT_EQ(target.find("el")->data, (std::vector<double>{0, 0, 3})) << nameof(d);
        EXPECT_TRUE(ctx.host.take().empty()) << nameof(d);

        quor::copyvar(target, "miss", "nosuch", source, ctx.session);
        EXPECT_EQ(target.find("miss")->value, -1) << nameof(d);
        EXPECT_TRUE(target.find("miss")->data.empty()) << nameof(d);
        const events expected = d == tdialect::editor
                                    ? events{"box: The variable: nosuchis not in.the final result maybe incorrected"}
                                    : events{};
        EXPECT_EQ(ctx.host.take(), expected) << nameof(d);
    }
}

TEST(Variables, AssignListCopiesWithoutSizes)
{
    quor::tvarlist source("global", 2);
    source.setscalar("x", 1);
    source.dimarray("m", {2, 3});
    source.setelement("m", 5, 4);
    quor::tvarlist temp("temp", 0);
    temp.setscalar("old", 9);
    temp.assignlist(source);
    EXPECT_EQ(listing(temp), listing(source));   // names, values and elements; "old" is gone
    for (const auto& v : temp.items) EXPECT_TRUE(v.demension.empty() && v.asistance.empty()) << v.name;
    EXPECT_EQ(source.items[1].demension, (quor::cdemension{2, 3}));
}

TEST(Variables, Listing)
{
    quor::tvarlist vars("global", 2);
    vars.setscalar("x", 2);
    vars.dimarray("y", {2});
    vars.setscalar("z", 0.1 + 0.2);
    vars.setelement("z", 0, 1e-6);
    const std::vector<std::string> expected{"x=2", "y=0", "y[0]=0", "y[1]=0", "z=0.3", "z[0]=1E-6"};
    EXPECT_EQ(listing(vars), expected);

    std::vector<std::string> lines{"keep"};
    vars.listelements("nosuch", lines);
    vars.listelements("x", lines);
    EXPECT_EQ(lines, std::vector<std::string>{"keep"});
}
