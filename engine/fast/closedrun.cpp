// Running closed functions on slots. Every function here follows its counterpart among the
// runners of scanned stores (runcompiled, runrange, runif, runplain, execplain, assign, run,
// rungeneral, callform, fastcalluserfunc) step by step, with the same guards, steps,
// places, boxes and faults; a variable is a slot of the running call instead of a record
// of its copied list.
#include <memory>

#include "calls.h"
#include "closed.h"
#include "fastparts.h"
#include "funcstore.h"
#include "host.h"

namespace quor {
namespace fast {

namespace {

// What every call of a closed run shares: the session, the memo and the elements each call
// level copies (those of the list the run was entered from).
struct tkrun {
    tmemo* memo;
    tsession& s;
    long long elements;
};

// The nesting counters of brackets and blocks: a closed body nests both only as deep as its
// text (the analysis bounds it far below their limits), and each call starts them afresh,
// so their guards cannot fail inside a closed run and are not taken; the stack is looked
// at once per call level. Everything else a guard or runner does is done as it does it.

double kgeneral(const tkexpr& k, double* slots, tkrun& r);
double kuser(const tkcall& c, double* slots, tkrun& r);

inline double operand(const tkstep& st, const double* slots)
{
    return st.kind == tcstep::number ? st.value : slots[st.slot];
}

// quickvalue on slots: an operand is a number or a slot.
[[gnu::always_inline]] inline bool kquick(const tkexpr& k, const double* slots, tsession& s, double& v)
{
    const tcexpr& x = *k.form;
    if (s.evalbytes + x.length > maxevalbytes) return false;
    const double left = operand(k.steps[0], slots);
    if (x.single) {
        v = left;
        return true;
    }
    const double right = operand(k.steps[2], slots);
    if (!x.ternary) return quickop(x.op, left, right, v);
    const double third = operand(k.steps[4], slots);
    double t;
    if (x.leftfirst) return quickop(x.op, left, right, t) && quickop(x.op2, t, third, v);
    return quickop(x.op2, right, third, t) && quickop(x.op, left, t, v);
}

// run: the quick way for the short shapes, else the general reduction (which gives the
// same result for them, boxes included).
[[gnu::always_inline]] inline double keval(const tkexpr& k, double* slots, tkrun& r)
{
    const tcexpr& x = *k.form;
    double v;
    if ((x.single || x.binary || x.ternary) && kquick(k, slots, r.s, v)) return v;
    return kgeneral(k, slots, r);
}

// callform.
[[gnu::noinline]] double kcallform(const tkcall& c, double* slots, tkrun& r)
{
    try {
        if (c.math == 8) return 3.141592653589793;
        if (c.math >= 0) return applybuiltin(c.math, keval(*c.arg, slots, r), r.s);
        return kuser(c, slots, r);
    } catch (const std::exception&) {
        const std::string text = "Error on function " + c.form->name + " inside compiler ";
        memoline(r.memo, text);
        throw tfault(text);
    }
}

// rungeneral.
[[gnu::noinline]] double kgeneral(const tkexpr& k, double* slots, tkrun& r)
{
    tsession& s = r.s;
    const tcexpr& x = *k.form;
    if (s.evalbytes + x.length > maxevalbytes) toolong(r.memo);
    const tcharge<long long> held(s.evalbytes, x.length);
    constexpr std::size_t small = 16;
    double abuf[small];
    int obuf[small];
    double* a = abuf;
    int* o = obuf;
    std::unique_ptr<double[]> abig;
    std::unique_ptr<int[]> obig;
    if (x.operands > small || x.operators > small) [[unlikely]] {
        abig.reset(new double[x.operands]);
        obig.reset(new int[x.operators]);
        a = abig.get();
        o = obig.get();
    }
    std::size_t na = 0, no = 0;
    for (const tkstep& step : k.steps) {
        switch (step.kind) {
        case tcstep::number: a[na++] = step.value; break;
        case tcstep::op: o[no++] = step.code; break;
        case tcstep::nested: a[na] = keval(*step.group, slots, r); ++na; break;
        case tcstep::call: a[na] = kcallform(*step.call, slots, r); ++na; break;
        case tcstep::var: a[na++] = slots[step.slot]; break;
        }
    }
    if (no == 0 && na == 1) return a[0];
    if (no == 1 && na == 2) return applycode(o[0], a[0], a[1], s);
    if (no == 2 && na == 3) {
        if (codepriority(o[0]) >= codepriority(o[1])) return applycode(o[1], applycode(o[0], a[0], a[1], s), a[2], s);
        return applycode(o[0], a[0], applycode(o[1], a[1], a[2], s), s);
    }
    return reducecodes(a, o, na, no, s);
}

// execplain and assign: the statement's step, then its value set to every target.
[[gnu::always_inline]] inline double kstatement(const tkstatement& st, double* slots, tkrun& r)
{
    r.s.beforestatement();
    const double v = keval(st.expr, slots, r);
    for (const int t : st.targets) slots[t] = v;
    return v;
}

// runplain: lines first..last, all statements, each at its place.
[[gnu::noinline]] void kplain(const tkfunc& f, tfaultplace& fault, int first, int last, double* slots, tkrun& r)
{
    tsession& s = r.s;
    const tcstore& st = f.body->store;
    s.step();
    if (first > last) s.idlepass();
    int current = first;
    try {
        for (; current <= last; ++current) {
            s.place = {&st.source, st.lines[static_cast<std::size_t>(current)].sourceline};
            kstatement(f.lines[static_cast<std::size_t>(current)], slots, r);
        }
    } catch (const std::exception& e) {
        notefault(fault, st, current, e);
        throw;
    }
}

// runrange over lines that are plain statements and ifs (runif taken in line, its parts
// without flow lines run as runplain runs them).
[[gnu::noinline]] void krange(const tkfunc& f, tfaultplace& fault, int first, int last, double* slots, tkrun& r)
{
    tsession& s = r.s;
    const tcstore& st = f.body->store;
    s.step();
    if (first > last) s.idlepass();
    int current = first;
    try {
        while (current <= last) {
            const tcline& l = st.lines[static_cast<std::size_t>(current)];
            s.place = {&st.source, l.sourceline};
            const double v = kstatement(f.lines[static_cast<std::size_t>(current)], slots, r);
            if (l.code == kwif) {
                if (numberfromvalue(v) >= 1) {
                    const int bodylast = (l.elseindex >= 0 ? l.elseindex : l.end) - 1;
                    if (l.plainbody) kplain(f, fault, current + 1, bodylast, slots, r);
                    else krange(f, fault, current + 1, bodylast, slots, r);
                } else if (l.elseindex >= 0) {
                    if (l.plainelse) kplain(f, fault, l.elseindex + 1, l.end - 1, slots, r);
                    else krange(f, fault, l.elseindex + 1, l.end - 1, slots, r);
                }
            }
            current = l.end + 1;
        }
    } catch (const std::exception& e) {
        notefault(fault, st, current, e);
        throw;
    }
}

// runcompiled: a fault ends the body with its box and memo line, and the call goes on.
// The statements' places are let go when the body ends, as the ranges let them go.
void kbody(const tkfunc& f, double* slots, tkrun& r)
{
    const tcstore& st = f.body->store;
    tfaultplace fault;
    try {
        const tplaceguard keepplace(r.s);
        if (st.plain) kplain(f, fault, 0, st.count() - 1, slots, r);
        else krange(f, fault, 0, st.count() - 1, slots, r);
    } catch (const std::exception& e) {
        endstore(st, fault, e, r.memo, r.s);
    }
}

// fastcalluserfunc of a closed function from a closed caller: the caller's slots are the
// variables an argument may name. The call's frame is tcallframe's: a level of call nesting
// and the caller's elements charged to the copy budget.
double kuser(const tkcall& c, double* slots, tkrun& r)
{
    const tkfunc& f = *c.callee;
    tsession& s = r.s;
    if (s.calldepth >= maxcalldepth) nestingfault(maxcalldepth, r.memo);
    s.checkstack();
    if (s.copiedelements + r.elements > s.copylimit) throw tfault("Error on assign varlist");
    struct tframe {
        tsession& s;
        long long elements;
        tframe(tsession& session, long long n) : s(session), elements(n)
        {
            ++s.calldepth;
            s.copiedelements += elements;
        }
        ~tframe()
        {
            --s.calldepth;
            s.copiedelements -= elements;
        }
    } const frame(s, r.elements);
    double own[maxslots];
    const std::size_t m = c.args.size();
    for (std::size_t i = 0; i < m; ++i) {
        const tkarg& a = c.args[i];
        own[f.params[i]] = a.slot >= 0 ? slots[a.slot] : keval(*a.expr, slots, r);
    }
    own[f.result] = 0;
    kbody(f, own, r);
    for (std::size_t i = 0; i < m; ++i)
        if (c.args[i].slot >= 0) slots[c.args[i].slot] = own[f.params[i]];
    return own[f.result];
}

// An expression whose evaluation calls nothing (its groups and the indexes of its elements
// looked into), so that it cannot change any variable or function.
bool pureform(const tcexpr& x, int depth);

bool pureref(const tcref& r, int depth)
{
    if (!r.indexed) return true;
    if (r.dims == 1) return pureform(formof(r.indexexpr), depth + 1);
    // Several indexes: the items the index evaluation reads, up to the first empty one.
    for (const auto& item : r.items)
        if (!pureform(formof(item), depth + 1)) return false;
    return true;
}

bool pureform(const tcexpr& x, int depth)
{
    if (depth > 64) return false;
    for (const tcstep& st : x.steps) {
        if (st.kind == tcstep::call) return false;
        if (st.kind == tcstep::nested && !pureform(formof(*st.group), depth + 1)) return false;
        if (st.kind == tcstep::var && !pureref(*st.ref, depth)) return false;
    }
    return true;
}

bool purearg(const tcarg& a)
{
    if (a.pure < 0) a.pure = pureform(formof(a.expr), 0) ? 1 : 0;
    return a.pure == 1;
}

bool hasname(const std::vector<std::string>& names, const std::string& key)
{
    for (const std::string& n : names)
        if (samename(n, key)) return true;
    return false;
}

// A variable that is a number only: no elements, the sizes and strides of a scalar.
bool plainscalar(const tvar& v)
{
    return v.data.empty() && v.demension.size() == 1 && v.demension[0] == -1 && v.asistance.size() == 1 &&
           v.asistance[0] == 1;
}

}  // namespace

bool closedcall(const tkclosure& k, const std::vector<tcarg>& args, tvarlist& vars, tfunclist& funcs, tmemo* memo,
                tsession& s, double& result)
{
    const tkfunc& f = *k.funcs[0];
    const std::size_t m = args.size();
    for (const tcarg& a : args)
        if (a.quoted || !purearg(a)) return false;
    // The caller's variables stay as they are in every copy the calls would make: none with
    // elements may be a slot of the closure (a call would replace it), none may be named as
    // an argument that the closure passes as an expression.
    long long elements = 0;
    for (const tvar& v : vars.items) {
        if (!v.data.empty()) {
            elements += v.count();
            if (hasname(k.slotnames, v.name)) return false;
        }
        if (!k.argnames.empty() && hasname(k.argnames, v.name)) return false;
    }
    // Arguments naming a variable of the caller are passed by name: numbers only here.
    tvar* source[maxslots];
    for (std::size_t i = 0; i < m; ++i) {
        source[i] = lookup(vars, args[i].key, args[i].hint);
        if (source[i] && !(args[i].bare && plainscalar(*source[i]))) return false;
    }
    // While the body runs, the closure and the items it calls stay (the root's call has
    // pinned the root).
    struct tkeep {
        const tkclosure& k;
        tfunclist& funcs;
        tkeep(const tkclosure& c, tfunclist& l) : k(c), funcs(l)
        {
            ++k.funcs[0]->body->closedruns;
            for (std::size_t i = 1; i < k.funcs.size(); ++i) ++k.funcs[i]->item->pins;
        }
        ~tkeep()
        {
            for (std::size_t i = 1; i < k.funcs.size(); ++i) funcs.unpin(*k.funcs[i]->item);
            --k.funcs[0]->body->closedruns;
        }
    } const keep(k, funcs);
    double own[maxslots];
    for (std::size_t i = 0; i < m; ++i) {
        double v;
        if (source[i]) {
            v = source[i]->value;
        } else {
            const tcexpr& x = formof(args[i].expr);
            if (!((x.single || x.binary) && quickvalue(x, vars, s, 1, v))) v = run(x, vars, &funcs, memo, s);
        }
        own[f.params[i]] = v;
    }
    own[f.result] = 0;
    tkrun r{memo, s, elements};
    kbody(f, own, r);
    for (std::size_t i = 0; i < m; ++i)
        if (source[i]) source[i]->value = own[f.params[i]];
    result = own[f.result];
    return true;
}

}  // namespace fast
}  // namespace quor
