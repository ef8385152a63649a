// Expressions and statements of the fast path. Every function here follows its literal
// counterpart step by step (evaluate, evalassign, getvalue, setvar, callfunc,
// execstatement); what is saved is the scanning, the text copies and the linear lookups.
// Commands, string functions, window commands and text expressions run through their usual
// code.
#include <cmath>
#include <memory>

#include "calls.h"
#include "commands.h"
#include "fastparts.h"
#include "fastrun.h"
#include "host.h"
#include "numtext.h"
#include "partlist.h"
#include "scanner.h"
#include "statements.h"
#include "windowcmds.h"

namespace quor {
namespace fast {

[[gnu::noinline]] tvar* lookupslow(tvarlist& vars, const std::string& key, std::size_t& hint)
{
    std::vector<tvar>& items = vars.items;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (samename(items[i].name, key)) {
            hint = i * sizeof(tvar);
            return &items[i];
        }
    return nullptr;
}

[[gnu::noinline]] double getrefslow(const tcref& r, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    if (!r.indexed) {
        if (const tvar* v = lookup(vars, r.key, r.hint)) return v->value;
        if (s.editor()) s.host.showmessage("The variable: " + r.ref + "is not in.the final result maybe incorrected");
        return -1;
    }
    // Plain indexes of an element that is there: what elementoffset would find, read at once.
    tvar* a;
    std::size_t at;
    if (r.dims > 1 && quickcell(r, vars, s, 1, 0, a, at)) return a->data[at];
    const std::int64_t k = r.dims == 1 ? truncint(run(formof(r.indexexpr), vars, funcs, memo, s))
                                       : vars.elementoffset(r.name, r.index, memo, funcs, s, false);
    if (k < 0) {
        if (s.editor()) s.host.showmessage("Error on invalid variable: " + r.name + " the final result maybe incorrected");
        return -1;
    }
    if (const tvar* v = lookup(vars, r.namekey, r.hint)) {
        if (k >= v->count()) {
            s.host.showmessage("array " + r.name + "[] out of range of array ,the result may be incorrected");
            return 0;
        }
        return v->data[static_cast<std::size_t>(k)];
    }
    if (s.editor()) s.host.showmessage("The variable: " + r.name + "is not in.the final result maybe incorrected");
    return 0;
}

[[gnu::noinline]] int setrefslow(const tcref& r, double x, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    if (r.indexed) {
        tvar* a;
        std::size_t at;
        if (r.dims > 1 && quickcell(r, vars, s, 1, 0, a, at)) {
            try {
                a->data.set(at, x);   // unshares the elements first when a copy still reads them
            } catch (const std::exception&) {
                throw tfault("Error on set " + r.ref + "[] value");
            }
            return 1;
        }
        const std::int64_t k = r.dims == 1 ? truncint(run(formof(r.indexexpr), vars, funcs, memo, s))
                                           : vars.elementoffset(r.name, r.index, memo, funcs, s);
        if (k < 0) return 0;
        try {
            tvar* v = lookup(vars, r.namekey, r.hint);
            if (v && k < v->count()) v->data.set(static_cast<std::size_t>(k), x);
            else vars.setelement(r.name, k, x);
        } catch (const std::exception&) {
            throw tfault("Error on set " + r.ref + "[] value");
        }
        return 1;
    }
    if (tvar* v = lookup(vars, r.key, r.hint)) {
        v->value = x;
        return 1;
    }
    try {
        vars.setscalar(r.ref, x);
    } catch (const std::exception&) {
        const std::string text = "Error on set " + r.ref + " variable value";
        memoline(memo, text);
        throw tfault(text);
    }
    return 1;
}

bool quickthird(const tcexpr& x, tvarlist& vars, tsession& s, int levels, double a, double b, double& v)
{
    double c, t;
    if (!quickoperand(x.steps[4], vars, s, levels + 1, x.length, c)) return false;
    if (x.leftfirst) return quickop(x.op, a, b, t) && quickop(x.op2, t, c, v);
    return quickop(x.op2, b, c, t) && quickop(x.op, a, t, v);
}

bool quickcell(const tcref& r, tvarlist& vars, tsession& s, int depth, long long held, tvar*& a, std::size_t& k)
{
    // As elementoffset: as many items as the variable has sizes, each below its size; no
    // item may be negative here, so that the offset stays within the elements.
    a = lookup(vars, r.namekey, r.hint);   // found by a scan too: looking has no side effects
    const std::size_t dims = r.items.size();
    if (!a || static_cast<int>(dims) != r.dims || a->demension.size() != dims || a->asistance.size() != dims) return false;
    std::int64_t offset = 0;
    for (std::size_t i = 0; i < dims; ++i) {
        double index;
        if (!quickindex(r.items[i], vars, s, depth, held, index)) return false;
        const std::int64_t j = truncint(index);
        if (j < 0 || j >= a->demension[i]) return false;
        offset += j * a->asistance[i];   // below 2^31 * 2^31
        if (offset >= a->count()) return false;
    }
    k = static_cast<std::size_t>(offset);
    return true;
}

// One level of the group nesting guard, taken by hand (as tnestguard does).
void entergroup(tsession& s, tmemo* memo)
{
    if (s.groupdepth >= maxgroupdepth) {
        const std::string text = nestingmessage(maxgroupdepth);
        if (memo) memo->append(text);
        throw tfault(text);
    }
    s.checkstack();
    ++s.groupdepth;
}

// The fault of evaluations that hold too much expression text together.
[[noreturn]] void toolong(tmemo* memo)
{
    const std::string message = "Error on nesting too deep, the expressions are too long";
    if (memo) memo->append(message);
    throw tfault(message);
}

namespace {

// Expressions of any shape: the operands and operators pushed in order, then reduced.
[[gnu::noinline]] double rungeneral(const tcexpr& x, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    const tnestguard<&tsession::groupdepth, maxgroupdepth> guard(s, memo);
    if (s.evalbytes + x.length > maxevalbytes) toolong(memo);
    const tcharge<long long> held(s.evalbytes, x.length);
    tstacks<16> stacks(x);
    double* const a = stacks.a;
    int* const o = stacks.o;
    std::size_t na = 0, no = 0;
    for (const tcstep& step : x.steps) {
        switch (step.kind) {
        case tcstep::number: a[na++] = step.value; break;
        case tcstep::op: o[no++] = step.code; break;
        case tcstep::nested: a[na] = run(formof(*step.group), vars, funcs, memo, s); ++na; break;
        case tcstep::call: a[na] = callform(*step.callform, vars, funcs, memo, s); ++na; break;
        case tcstep::var: a[na] = getref(*step.ref, vars, funcs, memo, s); ++na; break;
        }
    }
    return reducestacks(a, o, na, no, s);
}

// rungeneral of an expression that is one call, without the operand stacks.
[[gnu::noinline]] double runonecall(const tcexpr& x, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    const tnestguard<&tsession::groupdepth, maxgroupdepth> guard(s, memo);
    if (s.evalbytes + x.length > maxevalbytes) toolong(memo);
    const tcharge<long long> held(s.evalbytes, x.length);
    return callform(*x.steps[0].callform, vars, funcs, memo, s);
}

}  // namespace

// The two commonest shapes (one plain operand; plain operand, operator, plain operand) with
// the same guards and the same result as the general loop, without its set-up.
double run(const tcexpr& x, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    if (!x.single && !x.binary) {
        double v;
        if (x.ternary && quickvalue(x, vars, s, 1, v)) return v;
        if (x.steps.size() == 1 && x.steps[0].kind == tcstep::call) return runonecall(x, vars, funcs, memo, s);
        return rungeneral(x, vars, funcs, memo, s);
    }
    double v;
    if (quickvalue(x, vars, s, 1, v)) return v;
    const tnestguard<&tsession::groupdepth, maxgroupdepth> guard(s, memo);
    if (s.evalbytes + x.length > maxevalbytes) toolong(memo);
    const tcharge<long long> held(s.evalbytes, x.length);
    auto operand = [&](const tcstep& st) { return st.kind == tcstep::number ? st.value : getref(*st.ref, vars, funcs, memo, s); };
    if (x.single) return operand(x.steps[0]);
    const double left = operand(x.steps[0]);
    const double right = operand(x.steps[2]);
    return applycode(x.steps[1].code, left, right, s);
}

// evalassign: the chain's guards are taken left to right and let go as each target is set.
[[gnu::noinline]] double assign(const tcstatement& st, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    if (st.targets.empty()) return run(*st.expr, vars, funcs, memo, s);
    std::size_t held = 0;
    struct release {
        tsession& s;
        std::size_t& n;
        ~release() { s.groupdepth -= static_cast<int>(n); }
    } undo{s, held};
    for (std::size_t i = 0; i < st.targets.size(); ++i) {
        entergroup(s, memo);
        ++held;
    }
    const double v = run(*st.expr, vars, funcs, memo, s);
    for (std::size_t i = st.targets.size(); i-- > 0;) {
        setref(*st.targets[i], v, vars, funcs, memo, s);
        --s.groupdepth;
        --held;
    }
    return v;
}

tresult exec(const tcstatement& st, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    tresult r;
    if (!st.callform) {
        r.value = execplain(st, vars, funcs, memo, s);
        return r;
    }
    const tnestguard<&tsession::groupdepth, maxgroupdepth> guard(s, memo);
    s.beforestatement();
    int k = tableindex(funcs.stringnames, st.callname);
    if (k >= 0) {
        r.istext = true;
        r.text = runstringfunc(k, st.callargs, vars, memo, funcs, s);
        return r;
    }
    k = tableindex(funcs.commandnames, st.callname);
    if (k >= 0) {
        r.value = runcommand(k, st.callargs, vars, memo, funcs, s);
        return r;
    }
    k = tableindex(funcs.apinames, st.callname);
    if (k >= 0) {
        r.value = runapi(k, st.callargs, vars, memo, funcs, s);
        return r;
    }
    r.value = assign(st, vars, &funcs, memo, s);
    return r;
}

// A number read back through its text.
[[gnu::noinline]] double numberthroughtext(double value)
{
    const std::string text = numtotext(value);
    double v = 0;
    if (!texttonumber(text, v)) throw tfault("'" + text + "' is not a valid number");
    return v;
}

// A statement's result read back as a number, as from its text.
double numberof(const tcstatement& st, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    if (!st.callform) return numberfromvalue(execplain(st, vars, funcs, memo, s));
    const tresult r = exec(st, vars, funcs, memo, s);
    if (!r.istext) return numberfromvalue(r.value);
    double v = 0;
    if (!texttonumber(r.text, v)) throw tfault("'" + r.text + "' is not a valid number");
    return v;
}

double callform(const tccall& c, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    try {
        if (funcs) {
            int k = funcs->mathnames.find(c.name, c.namebit);
            if (k >= 0) {
                if (k == 8) return 3.141592653589793;
                if (k == 15) return callbuiltin(k, c.args, vars, *funcs, memo, s);
                return applybuiltin(k, run(formof(c.argexpr), vars, funcs, memo, s), s);
            }
            k = funcs->commandnames.find(c.name, c.namebit);
            if (k >= 0) return runcommand(k, c.args, vars, memo, *funcs, s);
            k = funcs->apinames.find(c.name, c.namebit);
            if (k >= 0) return runapi(k, c.args, vars, memo, *funcs, s);
        }
        return fastcalluserfunc(c.name, c.args, &c, vars, funcs, memo, s);
    } catch (const std::exception&) {
        const std::string text = "Error on function " + c.name + " inside compiler ";
        memoline(memo, text);
        throw tfault(text);
    }
}

}  // namespace fast

using namespace fast;

double fastevaluate(const std::string& text, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    const std::shared_ptr<const tcexpr> form = codecache(s).expr(text, s.dialect);
    return run(*form, vars, funcs, memo, s);
}

double fastevalassign(const std::string& text, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    const std::shared_ptr<const tcstatement> form = codecache(s).statement(text, s.dialect);
    double v;
    if (form->quick && quickassign(*form, vars, s, 2, v)) return v;
    return assign(*form, vars, funcs, memo, s);
}

std::string fastexecstatement(const std::string& text, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    const std::shared_ptr<const tcstatement> form = codecache(s).statement(text, s.dialect);
    tresult r = exec(*form, vars, funcs, memo, s);
    return r.istext ? std::move(r.text) : numtotext(r.value);
}

}  // namespace quor
