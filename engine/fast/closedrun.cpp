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

// What every call of a closed run shares: the session, the memo, and what it needs of the
// list the run was entered from.
struct tkrun {
    tmemo* memo;
    tsession& s;
    long long elements;   // the elements that list holds (each call level copies them)
    std::size_t slots;    // the closure's slot count
    bool own;             // views are not copied (tkclosure::own)
    bool arrays;          // views carry elements (tkclosure::arrays), and then:
    long long rest;       // the elements of that list's variables of other names
    std::int64_t limit;   // that list's element limit
};

inline long long countof(const telements* d) { return d ? static_cast<long long>(d->size()) : 0; }

// The elements a call level's copied list holds: those of the closure's names and the rest.
inline long long elementsof(const tkframe& f, const tkrun& r)
{
    long long n = r.rest;
    for (std::size_t i = 0; i < r.slots; ++i) n += countof(f.data[i]);
    return n;
}

// copybare's check of a variable's elements bound by name into a list holding total: the
// growth past the list's limit is a store fault.
inline void reserve(long long total, long long growth, const tkrun& r)
{
    if (growth > 0 && total + growth > r.limit) throw tfault("variables larger than storage allows");
}

// The nesting counters of brackets and blocks: a closed body nests both only as deep as its
// text (the analysis bounds it far below their limits), and each call starts them afresh,
// so their guards cannot fail inside a closed run and are not taken; the stack is looked
// at once per call level. Everything else a guard or runner does is done as it does it.

double kgeneral(const tkexpr& k, tkframe& f, tkrun& r);
double kcallform(const tkcall& c, tkframe& f, tkrun& r);
void kplain(const tkfunc& fn, tfaultplace& fault, int first, int last, tkframe& f, tkrun& r);
int krange(const tkfunc& fn, tfaultplace& fault, int first, int last, tkframe& f, tkrun& r);

inline double operand(const tkstep& st, const tkframe& f)
{
    return st.kind == tcstep::number ? st.value : f.v[st.slot];
}

inline bool present(const tkframe& f, std::uint32_t slots) { return (f.present & slots) == slots; }

// quickoperand of an element whose index is a plain operand: the element when the index,
// `held` bytes of expression text held, would pass its guard and the element is there.
[[gnu::always_inline]] inline bool kquickelement(const tkstep& st, const tkframe& f, tsession& s, long long held, double& x)
{
    const tkexpr& ix = *st.index;
    const tkstep& i = ix.steps[0];
    if (s.evalbytes + held + ix.form->length > maxevalbytes) return false;
    double index;
    if (i.kind == tcstep::number) {
        index = i.value;
    } else {
        if (!present(f, std::uint32_t(1) << i.slot)) return false;
        index = f.v[i.slot];
    }
    const std::int64_t at = truncint(index);
    const telements* d = f.data[st.slot];
    if (at < 0 || at >= countof(d) || !present(f, std::uint32_t(1) << st.slot)) return false;
    x = (*d)[static_cast<std::size_t>(at)];
    return true;
}

// kquick of a short shape with elements among its operands.
[[gnu::noinline]] bool kquickelements(const tkexpr& k, const tkframe& f, tsession& s, double& v)
{
    const tcexpr& x = *k.form;
    double a[3];
    const std::size_t n = x.single ? 1 : x.binary ? 2 : 3;
    for (std::size_t j = 0; j < n; ++j) {
        const tkstep& st = k.steps[2 * j];
        if (st.index) {
            if (!kquickelement(st, f, s, x.length, a[j])) return false;
        } else {
            a[j] = operand(st, f);
        }
    }
    if (x.single) {
        v = a[0];
        return true;
    }
    if (!x.ternary) return quickop(x.op, a[0], a[1], v);
    double t;
    if (x.leftfirst) return quickop(x.op, a[0], a[1], t) && quickop(x.op2, t, a[2], v);
    return quickop(x.op2, a[1], a[2], t) && quickop(x.op, a[0], t, v);
}

// quickvalue on slots: an operand is a number or a slot whose variable is there (or an
// element of a plain index that is there).
[[gnu::always_inline]] inline bool kquick(const tkexpr& k, const tkframe& f, tsession& s, double& v)
{
    const tcexpr& x = *k.form;
    if (s.evalbytes + x.length > maxevalbytes || !present(f, k.reads)) return false;
    if (k.elements) return kquickelements(k, f, s, v);
    const double left = operand(k.steps[0], f);
    if (x.single) {
        v = left;
        return true;
    }
    const double right = operand(k.steps[2], f);
    if (!x.ternary) return quickop(x.op, left, right, v);
    const double third = operand(k.steps[4], f);
    double t;
    if (x.leftfirst) return quickop(x.op, left, right, t) && quickop(x.op2, t, third, v);
    return quickop(x.op2, right, third, t) && quickop(x.op, left, t, v);
}

// run: the quick way for the short shapes, else the general reduction (which gives the
// same result for them, boxes included).
[[gnu::always_inline]] inline double keval(const tkexpr& k, tkframe& f, tkrun& r)
{
    const tcexpr& x = *k.form;
    double v;
    if (k.quick && kquick(k, f, r.s, v)) return v;
    if (k.steps.size() == 1 && k.steps[0].kind == tcstep::call) {
        // One call: what the general reduction does for it, without its operand stacks.
        tsession& s = r.s;
        if (s.evalbytes + x.length > maxevalbytes) toolong(r.memo);
        const tcharge<long long> held(s.evalbytes, x.length);
        return kcallform(*k.steps[0].call, f, r);
    }
    return kgeneral(k, f, r);
}

// getref of a variable not there: its box (in the editor) and -1.
[[gnu::noinline]] double missing(const tkstep& st, tkrun& r)
{
    if (r.s.editor()) r.s.host.showmessage("The variable: " + st.ref->ref + "is not in.the final result maybe incorrected");
    return -1;
}

// runcompiled: a fault ends the body with its box and memo line, and the call goes on.
// The statements' places are let go when the body ends, as the ranges let them go.
[[gnu::always_inline]] inline void kbody(const tkfunc& fn, tkframe& f, tkrun& r)
{
    const tcstore& st = fn.body->store;
    tfaultplace fault;
    try {
        const tplaceguard keepplace(r.s);
        if (st.plain) kplain(fn, fault, 0, st.count() - 1, f, r);
        else krange(fn, fault, 0, st.count() - 1, f, r);
    } catch (const std::exception& e) {
        endstore(st, fault, e, r.memo, r.s);
    }
}

// fastcalluserfunc of a closed function from a closed caller: the call's view starts as the
// caller's, an argument naming a variable the caller has is passed by name. The call's
// frame is tcallframe's: a level of call nesting and the caller's elements charged to the
// copy budget.
template <bool arrays>
[[gnu::always_inline]] inline double kuser(const tkcall& c, tkframe& caller, tkrun& r)
{
    const tkfunc& fn = *c.callee;
    tsession& s = r.s;
    if (s.calldepth >= maxcalldepth) nestingfault(maxcalldepth, r.memo);
    s.checkstack();
    const long long elements = arrays ? elementsof(caller, r) : r.elements;
    if (s.copiedelements + elements > s.copylimit) throw tfault("Error on assign varlist");
    struct tlevel {
        tsession& s;
        long long elements;
        tlevel(tsession& session, long long n) : s(session), elements(n)
        {
            ++s.calldepth;
            s.copiedelements += elements;
        }
        ~tlevel()
        {
            --s.calldepth;
            s.copiedelements -= elements;
        }
    } const level(s, elements);
    // The values live in the call's own stack frame, as many as the closure has slots.
    tkframe own{static_cast<double*>(__builtin_alloca(r.slots * sizeof(double)))};
    if (r.own) {
        own.present = ~std::uint32_t(0);   // only slots the binding sets are read
    } else {
        for (std::size_t i = 0; i < r.slots; ++i) own.v[i] = caller.v[i];
        own.present = caller.present;
    }
    long long total = elements;   // what the copied list holds while arguments are bound
    if constexpr (arrays) {
        own.data = static_cast<const telements**>(__builtin_alloca(r.slots * sizeof(const telements*)));
        for (std::size_t i = 0; i < r.slots; ++i) own.data[i] = caller.data[i];
    }
    const std::size_t m = c.args.size();
    std::uint32_t byname = 0;
    for (std::size_t i = 0; i < m; ++i) {
        const tkarg& a = c.args[i];
        const int p = fn.params[i];
        if (a.slot >= 0 && present(caller, std::uint32_t(1) << a.slot)) {
            own.v[p] = caller.v[a.slot];
            if constexpr (arrays) {
                const long long growth = countof(caller.data[a.slot]) - countof(own.data[p]);
                reserve(total, growth, r);
                total += growth;
                own.data[p] = caller.data[a.slot];
            }
            byname |= std::uint32_t(1) << i;
        } else {
            own.v[p] = keval(*a.expr, caller, r);
        }
        own.present |= std::uint32_t(1) << p;
    }
    own.v[fn.result] = 0;
    own.present |= std::uint32_t(1) << fn.result;
    kbody(fn, own, r);
    for (std::size_t i = 0; byname != 0; ++i, byname >>= 1)
        if (byname & 1) caller.v[c.args[i].slot] = own.v[fn.params[i]];
    return own.v[fn.result];
}

// getvalue of an element of one index: the index, then the variable and its elements.
[[gnu::noinline]] double kelement(const tkstep& st, tkframe& f, tkrun& r)
{
    const std::int64_t k = truncint(keval(*st.index, f, r));
    tsession& s = r.s;
    const std::string& name = st.ref->name;
    if (k < 0) {
        if (s.editor()) s.host.showmessage("Error on invalid variable: " + name + " the final result maybe incorrected");
        return -1;
    }
    if (!present(f, std::uint32_t(1) << st.slot)) {
        if (s.editor()) s.host.showmessage("The variable: " + name + "is not in.the final result maybe incorrected");
        return 0;
    }
    const telements* d = f.data[st.slot];
    if (k >= countof(d)) {
        s.host.showmessage("array " + name + "[] out of range of array ,the result may be incorrected");
        return 0;
    }
    return (*d)[static_cast<std::size_t>(k)];
}

// callform.
[[gnu::noinline]] double kcallform(const tkcall& c, tkframe& f, tkrun& r)
{
    try {
        if (c.math == 8) return 3.141592653589793;
        if (c.math >= 0) return applybuiltin(c.math, keval(*c.arg, f, r), r.s);
        return r.arrays ? kuser<true>(c, f, r) : kuser<false>(c, f, r);
    } catch (const std::exception&) {
        const std::string text = "Error on function " + c.form->name + " inside compiler ";
        memoline(r.memo, text);
        throw tfault(text);
    }
}

// rungeneral.
[[gnu::noinline]] double kgeneral(const tkexpr& k, tkframe& f, tkrun& r)
{
    tsession& s = r.s;
    const tcexpr& x = *k.form;
    if (s.evalbytes + x.length > maxevalbytes) toolong(r.memo);
    const tcharge<long long> held(s.evalbytes, x.length);
    tstacks<8> stacks(x);
    double* const a = stacks.a;
    int* const o = stacks.o;
    std::size_t na = 0, no = 0;
    for (const tkstep& step : k.steps) {
        switch (step.kind) {
        case tcstep::number: a[na++] = step.value; break;
        case tcstep::op: o[no++] = step.code; break;
        case tcstep::nested: a[na] = keval(*step.group, f, r); ++na; break;
        case tcstep::call: a[na] = kcallform(*step.call, f, r); ++na; break;
        case tcstep::var:
            if (step.index) a[na] = kelement(step, f, r);
            else a[na] = present(f, std::uint32_t(1) << step.slot) ? f.v[step.slot] : missing(step, r);
            ++na;
            break;
        }
    }
    return reducestacks(a, o, na, no, s);
}

// Sets the targets of a statement (made when missing, as setscalar makes them).
inline void settargets(const tkstatement& st, tkframe& f, double v)
{
    for (const int t : st.targets) f.v[t] = v;
    f.present |= st.sets;
}

// execplain and assign: the statement's step, then its value set to every target.
[[gnu::always_inline]] inline double kstatement(const tkstatement& st, tkframe& f, tkrun& r)
{
    r.s.beforestatement();
    const double v = keval(st.expr, f, r);
    settargets(st, f, v);
    return v;
}

// numberof of a statement.
[[gnu::always_inline]] inline double knumber(const tkstatement& st, tkframe& f, tkrun& r) { return numberfromvalue(kstatement(st, f, r)); }

// runplain: lines first..last, all statements, each at its place.
[[gnu::noinline]] void kplain(const tkfunc& fn, tfaultplace& fault, int first, int last, tkframe& f, tkrun& r)
{
    tsession& s = r.s;
    const tcstore& st = fn.body->store;
    s.step();
    if (first > last) s.idlepass();
    int current = first;
    try {
        for (; current <= last; ++current) {
            s.place = {&st.source, st.lines[static_cast<std::size_t>(current)].sourceline};
            kstatement(fn.lines[static_cast<std::size_t>(current)].stmt, f, r);
        }
    } catch (const std::exception& e) {
        notefault(fault, st, current, e);
        throw;
    }
}

// runpart: a part without flow lines runs as runplain (and as runquick, which does the same).
inline int kpart(bool plain, const tkfunc& fn, tfaultplace& fault, int first, int last, tkframe& f, tkrun& r)
{
    if (!plain) return krange(fn, fault, first, last, f, r);
    kplain(fn, fault, first, last, f, r);
    return 1;
}

// runwhile.
[[gnu::noinline]] void kwhile(const tkfunc& fn, tfaultplace& fault, int E, int I, tkframe& f, tkrun& r)
{
    const tcstore& st = fn.body->store;
    const tcline& l = st.lines[static_cast<std::size_t>(I)];
    try {
        for (;;) {
            // The condition stands on the while line, where the body's range leaves the place.
            r.s.place = {&st.source, l.sourceline};
            if (knumber(fn.lines[static_cast<std::size_t>(I)].stmt, f, r) < 1) break;
            if (kpart(l.plainbody, fn, fault, I + 1, E - 1, f, r) == kwbreak) break;
        }
    } catch (const std::exception&) {
        r.s.place = {&st.source, l.sourceline};
        memoline(r.memo, "Error on while flow");
        throw tfault("Error on while flow");
    }
}

// runfor, with its passes as forpasses makes them.
[[gnu::noinline]] void kfor(const tkfunc& fn, tfaultplace& fault, int E, int I, tkframe& f, tkrun& r)
{
    const tcline& line = fn.body->store.lines[static_cast<std::size_t>(I)];
    const tcforterm& t = *line.forterm;
    const tkfor& k = *fn.lines[static_cast<std::size_t>(I)].forterm;
    double start = 1, step = 1, end = 100;
    const std::string* unconsumed = &t.unconsumed[0];
    try {
        // The terms are read without the memo.
        tkrun quiet{nullptr, r.s, r.elements, r.slots, r.own, r.arrays, r.rest, r.limit};
        start = knumber(k.start, f, quiet);
        unconsumed = &t.unconsumed[1];
        if (t.hasstep) {
            step = knumber(k.step, f, quiet);
            unconsumed = &t.unconsumed[2];
        }
        end = knumber(k.end, f, quiet);
    } catch (const std::exception&) {
        throw tfault("Error on get term of for flow: " + *unconsumed);
    }
    const std::uint32_t bit = std::uint32_t(1) << k.slot;
    f.v[k.slot] = start;
    f.present |= bit;
    try {
        if (start != end) {
            const double direction = end > start ? 1 : -1;
            // Nothing runs between stepping the variable and testing it again.
            double v = start;
            for (;;) {
                if ((end - v) * direction < 0) break;
                if (kpart(line.plainbody, fn, fault, I + 1, E - 1, f, r) == kwbreak) break;
                v = f.v[k.slot] + step;
                f.v[k.slot] = v;
            }
        } else {
            krange(fn, fault, I + 1, E - 1, f, r);
        }
    } catch (const std::exception&) {
        r.s.place = {&fn.body->store.source, line.sourceline};   // where the body's range leaves it
        memoline(r.memo, "Error on for flow");
        throw tfault("Error on for flow");
    }
}

// runrange over a closed body's lines (runif taken in line).
[[gnu::noinline]] int krange(const tkfunc& fn, tfaultplace& fault, int first, int last, tkframe& f, tkrun& r)
{
    tsession& s = r.s;
    const tcstore& st = fn.body->store;
    s.step();
    if (first > last) s.idlepass();
    int current = first;
    int result = 1;
    try {
        while (current <= last) {
            const tcline& l = st.lines[static_cast<std::size_t>(current)];
            s.place = {&st.source, l.sourceline};
            if (l.code == kwif) {
                if (knumber(fn.lines[static_cast<std::size_t>(current)].stmt, f, r) >= 1) {
                    const int bodylast = (l.elseindex >= 0 ? l.elseindex : l.end) - 1;
                    result = kpart(l.plainbody, fn, fault, current + 1, bodylast, f, r);
                } else if (l.elseindex >= 0) {
                    result = kpart(l.plainelse, fn, fault, l.elseindex + 1, l.end - 1, f, r);
                }
                if (result == kwbreak) break;
            } else if (l.code == kwfor) {
                kfor(fn, fault, l.end, current, f, r);
            } else if (l.code == kwwhile) {
                kwhile(fn, fault, l.end, current, f, r);
            } else if (l.code == kwbreak) {
                result = kwbreak;
                break;
            } else {
                kstatement(fn.lines[static_cast<std::size_t>(current)].stmt, f, r);
            }
            current = l.end + 1;
        }
    } catch (const std::exception& e) {
        notefault(fault, st, current, e);
        throw;
    }
    return result;
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
    const tkfunc& fn = *k.funcs[0];
    const std::size_t m = args.size();
    for (const tcarg& a : args)
        if (a.quoted || !purearg(a)) return false;
    // No variable of the caller may be named as an argument the closure passes as an
    // expression. Unless the call levels carry their elements, none of the caller's
    // variables of the closure's names may hold elements (a call would replace them).
    long long elements = 0;
    for (const tvar& v : vars.items) {
        if (!v.data.empty()) {
            elements += v.count();
            if (!k.arrays && nameindex(k.slotnames, v.name) >= 0) return false;
        }
        if (!k.argnames.empty() && nameindex(k.argnames, v.name) >= 0) return false;
    }
    // The call's view: the caller's variables of the closure's names (their values read only
    // when a function of the closure names more than its parameters and result).
    double values[maxslots];
    const telements* data[maxslots];
    tkframe own{values};
    long long rest = elements;
    if (k.arrays || !k.own) {
        if (k.arrays) own.data = data;
        for (std::size_t i = 0; i < k.slotnames.size(); ++i) {
            own.v[i] = 0;
            data[i] = nullptr;
        }
        for (const tvar& v : vars.items) {
            const int i = nameindex(k.slotnames, v.name);
            if (i < 0) continue;
            own.v[i] = v.value;
            own.present |= std::uint32_t(1) << i;
            if (!v.data.empty()) {
                data[i] = &v.data;
                rest -= v.count();
            }
        }
    }
    // Arguments naming a variable of the caller are passed by name: numbers only, unless
    // the call levels carry their elements.
    tvar* source[maxslots];
    for (std::size_t i = 0; i < m; ++i) {
        source[i] = lookup(vars, args[i].key, args[i].hint);
        if (source[i] && !(args[i].bare && (k.arrays || plainscalar(*source[i])))) return false;
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
    tkrun r{memo, s, elements, k.slotnames.size(), k.own, k.arrays, rest, vars.elementlimit};
    long long total = elements;   // what the copied list holds while arguments are bound
    for (std::size_t i = 0; i < m; ++i) {
        double v;
        if (source[i]) {
            v = source[i]->value;
            if (k.arrays) {
                const int p = fn.params[i];
                const telements* d = source[i]->data.empty() ? nullptr : &source[i]->data;
                const long long growth = countof(d) - countof(data[p]);
                reserve(total, growth, r);
                total += growth;
                data[p] = d;
            }
        } else {
            const tcexpr& x = formof(args[i].expr);
            if (!((x.single || x.binary) && quickvalue(x, vars, s, 1, v))) v = run(x, vars, &funcs, memo, s);
        }
        own.v[fn.params[i]] = v;
        own.present |= std::uint32_t(1) << fn.params[i];
    }
    own.v[fn.result] = 0;
    own.present |= std::uint32_t(1) << fn.result;
    kbody(fn, own, r);
    for (std::size_t i = 0; i < m; ++i)
        if (source[i]) source[i]->value = own.v[fn.params[i]];
    result = own.v[fn.result];
    return true;
}

}  // namespace fast
}  // namespace quor
