// Running the scanned forms. Every function here follows its literal counterpart step by
// step (evaluate, evalassign, getvalue, setvar, callfunc, calluserfunc, execstatement,
// runlines, runif, runfor, runwhile, getforterm, runstore); what is saved is the scanning,
// the text copies and the linear lookups. Commands, string functions, window commands and
// text expressions run through their usual code.
#include "fastrun.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "calls.h"
#include "commands.h"
#include "compiled.h"
#include "fault.h"
#include "funclist.h"
#include "funcstore.h"
#include "host.h"
#include "numtext.h"
#include "partlist.h"
#include "scanner.h"
#include "session.h"
#include "statements.h"
#include "variables.h"
#include "windowcmds.h"

namespace quor {

namespace {

// A statement's result: a number, or the text of a string function.
struct tresult {
    double value = 0;
    bool istext = false;
    std::string text;
};

double run(const tcexpr& x, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s);
tresult exec(const tcstatement& st, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);
double callform(const tccall& c, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s);

// The variable of exactly this (cut) name when it still stands where it stood last time.
// Hints are byte offsets into the list's records, so that nothing is multiplied or divided.
[[gnu::always_inline]] inline tvar* hinted(tvarlist& vars, const std::string& key, std::size_t hint)
{
    char* const first = reinterpret_cast<char*>(vars.items.data());
    const std::size_t bytes = static_cast<std::size_t>(reinterpret_cast<char*>(std::to_address(vars.items.end())) - first);
    const std::size_t at = hint;
    if (at >= bytes) return nullptr;
    tvar* const v = reinterpret_cast<tvar*>(first + at);
    return samename(v->name, key) ? v : nullptr;
}

// The variable of exactly this (cut) name, found by a scan; hint remembers where it stood.
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

// The variable of exactly this (cut) name, first looked for where it stood last time.
inline tvar* lookup(tvarlist& vars, const std::string& key, std::size_t& hint)
{
    if (tvar* v = hinted(vars, key, hint)) return v;
    return lookupslow(vars, key, hint);
}

// getvalue of a scanned reference.
[[gnu::noinline]] double getrefslow(const tcref& r, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    if (!r.indexed) {
        if (const tvar* v = lookup(vars, r.key, r.hint)) return v->value;
        if (s.editor()) s.host.showmessage("The variable: " + r.ref + "is not in.the final result maybe incorrected");
        return -1;
    }
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

inline double getref(const tcref& r, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    if (!r.indexed)
        if (const tvar* v = hinted(vars, r.key, r.hint)) return v->value;
    return getrefslow(r, vars, funcs, memo, s);
}

// setvar of a scanned reference.
[[gnu::noinline]] int setrefslow(const tcref& r, double x, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    if (r.indexed) {
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

inline int setref(const tcref& r, double x, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    if (!r.indexed)
        if (tvar* v = hinted(vars, r.key, r.hint)) {
            v->value = x;
            return 1;
        }
    return setrefslow(r, x, vars, funcs, memo, s);
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

// Expressions of any shape: the operands and operators pushed in order, then reduced.
[[gnu::noinline]] double rungeneral(const tcexpr& x, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    const tnestguard<&tsession::groupdepth, maxgroupdepth> guard(s, memo);
    if (s.evalbytes + x.length > maxevalbytes) toolong(memo);
    const tcharge<long long> held(s.evalbytes, x.length);
    constexpr std::size_t small = 24;
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
    for (const tcstep& step : x.steps) {
        switch (step.kind) {
        case tcstep::number: a[na++] = step.value; break;
        case tcstep::op: o[no++] = step.code; break;
        case tcstep::nested: a[na] = run(formof(*step.group), vars, funcs, memo, s); ++na; break;
        case tcstep::call: a[na] = callform(*step.callform, vars, funcs, memo, s); ++na; break;
        case tcstep::var: a[na] = getref(*step.ref, vars, funcs, memo, s); ++na; break;
        }
    }
    // One operand, or one operator between two: what the reduction would do, directly.
    if (no == 0 && na == 1) return a[0];
    if (no == 1 && na == 2) return applycode(o[0], a[0], a[1], s);
    return reducecodes(a, o, na, no, s);
}

// A plain operand (a number, or a name standing where it stood last time) read without
// side effects; false when it needs the full lookup.
[[gnu::always_inline]] inline bool quickoperand(const tcstep& st, tvarlist& vars, double& x)
{
    if (st.kind == tcstep::number) {
        x = st.value;
        return true;
    }
    const tcref& r = *st.ref;
    if (const tvar* v = hinted(vars, r.key, r.hint)) {
        x = v->value;
        return true;
    }
    return false;
}

// The value of a one- or two-operand expression when `levels` more guard levels would pass
// and nothing in it can show a box or fault: the same result without taking the guards.
// False otherwise.
[[gnu::always_inline]] inline bool quickvalue(const tcexpr& x, tvarlist& vars, tsession& s, int levels, double& v)
{
    if (s.groupdepth + levels > maxgroupdepth || s.evalbytes + x.length > maxevalbytes) return false;
    double left;
    if (!quickoperand(x.steps[0], vars, left)) return false;
    if (x.single) {
        v = left;
        return true;
    }
    double right;
    return quickoperand(x.steps[2], vars, right) && quickop(x.op, left, right, v);
}

// The two commonest shapes (one plain operand; plain operand, operator, plain operand) with
// the same guards and the same result as the general loop, without its set-up.
double run(const tcexpr& x, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    if (!x.single && !x.binary) return rungeneral(x, vars, funcs, memo, s);
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

// evalassign of a one-target statement when the target stands where it stood and the value
// comes quickly (`levels` more guard levels would pass: two, and one more for a statement
// whose own guard is not taken): the same effect as the general way.
[[gnu::always_inline]] inline bool quickassign(const tcstatement& st, tvarlist& vars, tsession& s, int levels, double& v)
{
    const tcref& target = *st.targets[0];
    tvar* t = hinted(vars, target.key, target.hint);
    if (!t) return false;
    const tcexpr& x = *st.expr;
    if (s.groupdepth + levels > maxgroupdepth || s.evalbytes + x.length > maxevalbytes) return false;
    // An operand naming the target reads the variable just found: names are unique in a list.
    double left, right;
    if (st.targetfirst) left = t->value;
    else if (!quickoperand(x.steps[0], vars, left)) return false;
    if (x.single) {
        v = left;
    } else {
        if (st.targetlast) right = t->value;
        else if (!quickoperand(x.steps[2], vars, right)) return false;
        if (!quickop(x.op, left, right, v)) return false;
    }
    t->value = v;
    return true;
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

// exec of a statement that is no call form: its value.
[[gnu::always_inline]] inline double execplain(const tcstatement& st, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    // Every caller runs a line or a condition and has looked at the stack itself.
    const tnestguard<&tsession::groupdepth, maxgroupdepth, false> guard(s, memo);
    s.beforestatement();
    double v;
    if (st.quick) {
        if (quickassign(st, vars, s, 2, v)) return v;
    } else if (st.quickvalue && quickvalue(*st.expr, vars, s, 1, v)) {
        return v;
    }
    return assign(st, vars, &funcs, memo, s);
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

// A statement's number read back as a number, as from its text.
inline double numberfromvalue(double value)
{
    // Whole numbers of up to 15 digits come back from their text unchanged.
    // (Below 1e15 the round trip through a 64-bit integer is exact and cheaper than trunc.)
    if (std::fabs(value) < 1e15 && static_cast<double>(static_cast<long long>(value)) == value)
        return value == 0 ? 0.0 : value;
    return numberthroughtext(value);
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

std::shared_ptr<const tcbody> bodyof(const tfuncitem& item, tdialect d)
{
    auto& slot = item.compiled[d == tdialect::editor ? 0 : 1];
    if (slot) return slot;
    auto body = std::make_shared<tcbody>();
    body->name = shortstring(item.name);
    body->params = item.params;
    for (const std::string& p : item.params) body->paramrefs.push_back(compileref(p, d));
    body->resultname = item.resultname;
    body->resultref = compileref(item.resultname, d);
    body->resultkey = shortstring(item.resultname);
    tfuncstore store(item.name);
    store.assignlines(item.lines, item.firstline);
    std::vector<std::string> texts;
    std::vector<int> sources;
    for (const tstoreline& l : store.lines()) {
        texts.push_back(l.text);
        sources.push_back(l.sourceline);
    }
    body->store.name = store.name;
    body->store.source = item.source;
    compilestore(body->store, texts, sources, d);
    slot = body;
    return body;
}

int runrange(const tcstore& st, tfaultplace& fault, int first, int last, tvarlist& vars, tfunclist& funcs,
             tmemo* memo, tsession& s);

// Records the first fault of a run: the line it stood on and its text.
void notefault(tfaultplace& fault, const tcstore& st, int line, const std::exception& e)
{
    if (fault.line >= 0) return;
    fault.line = line;
    fault.sourceline = st.lines[static_cast<std::size_t>(line)].sourceline;
    fault.text = e.what();
}

// Lines current..last of a plain range run as statements, each at its place; the first
// fault is noted at its line.
[[gnu::always_inline]] inline void runstatements(const tcstore& st, tfaultplace& fault, int current, int last,
                                                 tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    try {
        for (; current <= last; ++current) {
            const tcline& l = st.lines[static_cast<std::size_t>(current)];
            s.place = {&st.source, l.sourceline};
            if (l.stmt->callform) exec(*l.stmt, vars, funcs, memo, s);
            else execplain(*l.stmt, vars, funcs, memo, s);
        }
    } catch (const std::exception& e) {
        notefault(fault, st, current, e);
        throw;
    }
}

// runrange over lines that are all run as statements (a plain loop body): the same
// guards, steps, places and fault report, without the dispatch.
[[gnu::always_inline]] inline int runplain(const tcstore& st, tfaultplace& fault, int first, int last, tvarlist& vars,
                                           tfunclist& funcs, tmemo* memo, tsession& s)
{
    const tnestguard<&tsession::blockdepth, maxblockdepth> guard(s, memo);
    s.step();
    if (first > last) s.idlepass();
    const tplaceguard keepplace(s);
    runstatements(st, fault, first, last, vars, funcs, memo, s);
    return 1;
}

// The rest of a quick pass from line current on, run as runplain would run it, which by
// then had counted `counted` steps (its own and those of the lines before).
[[gnu::noinline]] int finishpass(const tcstore& st, tfaultplace& fault, int current, int last, long long counted,
                                 tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    // The pass has checked the depth and the stack at its own level.
    const tnestguard<&tsession::blockdepth, maxblockdepth, false> guard(s, memo);
    s.countsteps(counted);
    const tplaceguard keepplace(s);
    runstatements(st, fault, current, last, vars, funcs, memo, s);
    return 1;
}

// runplain over a quick body. When nothing can come between its statements (no events let
// through, no stop asked for, the step limit not reached within the pass) and the range's
// own guard has room, its statements run without their guards, steps and places, which
// nothing would see; a statement that does not go the quick way (a guard of its own out of
// room among the reasons) finishes the pass as runplain would.
[[gnu::always_inline]] inline int runquick(const tcstore& st, tfaultplace& fault, int first, int last, tvarlist& vars,
                                           tfunclist& funcs, tmemo* memo, tsession& s)
{
    const long long steps = last - first + 2;   // the range's own step and one per line
    if (!s.quietsteps(steps) || s.blockdepth >= maxblockdepth) return runplain(st, fault, first, last, vars, funcs, memo, s);
    s.checkstack();
    for (int current = first; current <= last; ++current) {
        const tcstatement& x = *st.lines[static_cast<std::size_t>(current)].stmt;
        double v;
        // The statement's own guard level comes on top of the quick paths' levels.
        if (x.quick ? quickassign(x, vars, s, 3, v) : quickvalue(*x.expr, vars, s, 2, v)) continue;
        return finishpass(st, fault, current, last, current - first + 1, vars, funcs, memo, s);
    }
    s.countsteps(steps);
    return 1;
}

// Lines first..last of a body or branch, run the quickest way its marks allow.
[[gnu::always_inline]] inline int runpart(bool quick, bool plain, const tcstore& st, tfaultplace& fault, int first,
                                          int last, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    if (quick) return runquick(st, fault, first, last, vars, funcs, memo, s);
    if (plain) return runplain(st, fault, first, last, vars, funcs, memo, s);
    return runrange(st, fault, first, last, vars, funcs, memo, s);
}

int runif(const tcstore& st, tfaultplace& fault, int E, int I, tvarlist& vars, tfunclist& funcs, tmemo* memo,
          tsession& s)
{
    const tcline& l = st.lines[static_cast<std::size_t>(I)];
    const int elseindex = l.elseindex;
    int result = 1;
    const double condition = numberof(*l.stmt, vars, funcs, memo, s);
    if (condition >= 1) {
        const int last = (elseindex >= 0 ? elseindex : E) - 1;
        result = runpart(l.quickbody, l.plainbody, st, fault, I + 1, last, vars, funcs, memo, s);
    } else if (elseindex >= 0) {
        result = runpart(l.quickelse, l.plainelse, st, fault, elseindex + 1, E - 1, vars, funcs, memo, s);
    }
    return result;
}

[[gnu::noinline]] int runwhile(const tcstore& st, tfaultplace& fault, int E, int I, tvarlist& vars, tfunclist& funcs, tmemo* memo,
             tsession& s)
{
    const tcline& l = st.lines[static_cast<std::size_t>(I)];
    int result = 0;
    try {
        for (;;) {
            if (numberof(*l.stmt, vars, funcs, memo, s) < 1) break;
            result = runpart(l.quickbody, l.plainbody, st, fault, I + 1, E - 1, vars, funcs, memo, s);
            if (result == kwbreak) break;
        }
    } catch (const std::exception&) {
        memoline(memo, "Error on while flow");
        throw tfault("Error on while flow");
    }
    return result;
}

// How a loop body is run: runquick, runplain or runrange.
enum class tbodyrun { quick, plain, general };

// The passes of a for loop over lines first..last whose variable starts set and whose
// direction is known. Compiled once for each way of running the body, each on its own.
template <tbodyrun how>
[[gnu::noinline]] int forpasses(const tcstore& st, tfaultplace& fault, int first, int last, const tcref& name,
                                double end, double step, double direction, tvarlist& vars, tfunclist& funcs,
                                tmemo* memo, tsession& s)
{
    // Nothing runs between stepping the variable and testing it again, nor between reading
    // it and stepping it: a variable found by its name is read and written in place, as
    // getref and setref would do it.
    int result = 1;
    bool known = false;
    double v = 0;
    for (;;) {
        if (!known) v = getref(name, vars, &funcs, memo, s);
        if ((end - v) * direction < 0) break;
        if constexpr (how == tbodyrun::quick) result = runquick(st, fault, first, last, vars, funcs, memo, s);
        else if constexpr (how == tbodyrun::plain) result = runplain(st, fault, first, last, vars, funcs, memo, s);
        else result = runrange(st, fault, first, last, vars, funcs, memo, s);
        if (result == kwbreak) break;
        tvar* var = name.indexed ? nullptr : hinted(vars, name.key, name.hint);
        known = var != nullptr;
        if (known) {
            v = var->value + step;
            var->value = v;
        } else {
            const double now = getref(name, vars, &funcs, memo, s);
            setref(name, now + step, vars, &funcs, memo, s);
        }
    }
    return result;
}

[[gnu::noinline]] int runfor(const tcstore& st, tfaultplace& fault, int E, int I, tvarlist& vars, tfunclist& funcs, tmemo* memo,
           tsession& s)
{
    const tcline& line = st.lines[static_cast<std::size_t>(I)];
    const tcforterm& f = *line.forterm;
    if (f.noassign) throw tfault("Error on get term of for flow: " + f.term);
    double start = 1, step = 1, end = 100;
    const std::string* unconsumed = &f.unconsumed[0];
    try {
        if (f.noend) throw tfault("no end part");
        start = numberof(*f.start, vars, funcs, nullptr, s);
        unconsumed = &f.unconsumed[1];
        if (f.hasstep) {
            step = numberof(*f.step, vars, funcs, nullptr, s);
            unconsumed = &f.unconsumed[2];
        }
        end = numberof(*f.end, vars, funcs, nullptr, s);
    } catch (const std::exception&) {
        throw tfault("Error on get term of for flow: " + *unconsumed);
    }
    const tcref& name = *f.name;
    setref(name, start, vars, &funcs, memo, s);
    int result = 1;
    try {
        if (start != end) {
            const double direction = end > start ? 1 : -1;
            if (line.quickbody)
                result = forpasses<tbodyrun::quick>(st, fault, I + 1, E - 1, name, end, step, direction, vars, funcs, memo, s);
            else if (line.plainbody)
                result = forpasses<tbodyrun::plain>(st, fault, I + 1, E - 1, name, end, step, direction, vars, funcs, memo, s);
            else
                result = forpasses<tbodyrun::general>(st, fault, I + 1, E - 1, name, end, step, direction, vars, funcs, memo, s);
        } else {
            result = runrange(st, fault, I + 1, E - 1, vars, funcs, memo, s);
        }
    } catch (const std::exception&) {
        memoline(memo, "Error on for flow");
        throw tfault("Error on for flow");
    }
    return result;
}

int runrange(const tcstore& st, tfaultplace& fault, int first, int last, tvarlist& vars, tfunclist& funcs,
             tmemo* memo, tsession& s)
{
    const tnestguard<&tsession::blockdepth, maxblockdepth> guard(s, memo);
    s.step();   // a loop over no statements counts its passes here
    if (first > last) s.idlepass();
    const tplaceguard keepplace(s);
    const int count = st.count();
    int result = 1;
    int current = first;
    try {
        while (current <= last) {
            if (current < 0 || current > count - 1) throw tfault("Error on invalid line index");
            const tcline& l = st.lines[static_cast<std::size_t>(current)];
            s.place = {&st.source, l.sourceline};
            const int L = l.end;
            if (L == count) throw tfault("Error on key word mismatched");
            if (l.code == kwif) {
                result = runif(st, fault, L, current, vars, funcs, memo, s);
                if (result == kwbreak) break;
            } else if (l.code == kwfor) {
                runfor(st, fault, L, current, vars, funcs, memo, s);
            } else if (l.code == kwwhile) {
                runwhile(st, fault, L, current, vars, funcs, memo, s);
            } else if (l.code == kwbreak) {
                result = kwbreak;
                break;
            } else if (l.stmt->callform) {
                exec(*l.stmt, vars, funcs, memo, s);
            } else {
                execplain(*l.stmt, vars, funcs, memo, s);
            }
            current = L + 1;
        }
    } catch (const std::exception& e) {
        if (current >= 0 && current < count) notefault(fault, st, current, e);
        throw;
    }
    return result;
}

// runstore of a scanned store; fault starts as a fresh tfaultplace.
void runcompiled(const tcstore& st, tfaultplace& fault, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    try {
        runrange(st, fault, 0, st.count() - 1, vars, funcs, memo, s);
    } catch (const std::exception& e) {
        if (fault.line < 0) fault.text = e.what();
        fault.stopped = true;
        // The reports stand where the failing statement stood.
        const tplaceguard keepplace(s);
        if (fault.line >= 0) s.place = {&st.source, fault.sourceline};
        s.host.showmessage("Critical error on compile: " + st.name);
        memoline(memo, "Critical error on compile at: " + st.name);
    }
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

// The arguments of a call cut for m parameters (m from 1 to 1025).
std::vector<tcarg> cutargs(const std::string& args, int m, tdialect d)
{
    std::vector<std::string> texts;
    if (m == 1) {
        texts.push_back(args);
    } else {
        std::string rest = args;
        for (int i = 0; i < m - 1; ++i) texts.push_back(splitarg(rest, d));
        texts.push_back(rest);
    }
    std::vector<tcarg> out(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        out[i].quoted = texts[i].find('\'') != std::string::npos;
        out[i].key = shortstring(texts[i]);
        out[i].expr.text = std::move(texts[i]);
        out[i].expr.dialect = d;
    }
    return out;
}

}  // namespace

// Temporary lists of finished calls, kept with their storage so that the next call copies
// its caller's variables without allocating.
class tlistpool {
public:
    std::vector<std::unique_ptr<tvarlist>> spare;
};

namespace {

// A call's temporary list "temp", made by assignlist from the caller's list into storage
// a finished call left behind. Back to the pool when the call ends,
// its elements let go so that the caller's arrays are not shared any longer.
class ttemplist {
public:
    ttemplist(const tvarlist& vars, tsession& s) : s_(s)
    {
        if (!s.lists) s.lists = std::make_shared<tlistpool>();
        std::vector<std::unique_ptr<tvarlist>>& spare = s.lists->spare;
        if (!spare.empty()) {
            list_ = std::move(spare.back());
            spare.pop_back();
        } else {
            list_ = std::make_unique<tvarlist>("temp", 0);
        }
        try {
            list_->assignlist(vars);
        } catch (...) {
            release();
            throw;
        }
    }
    ~ttemplist() { release(); }
    ttemplist(const ttemplist&) = delete;
    ttemplist& operator=(const ttemplist&) = delete;

    tvarlist& list() { return *list_; }

private:
    void release()
    {
        if (!list_) return;
        // At most 64 lists of at most 256 variables are kept, so that the pool never holds
        // much memory; deeper recursion and callers with more variables allocate as usual.
        constexpr std::size_t keep = 64, most = 256;
        if (s_.lists->spare.size() < keep && list_->items.capacity() <= most) {
            for (tvar& v : list_->items) v.data.clear();
            s_.lists->spare.push_back(std::move(list_));
        }
        list_.reset();
    }
    tsession& s_;
    std::unique_ptr<tvarlist> list_;
};

}  // namespace

double fastcalluserfunc(const std::string& name, const std::string& args, const tccall* call, tvarlist& vars,
                        tfunclist* funcs, tmemo* memo, tsession& s)
{
    const tfuncitem* found = funcs ? funcs->findfunc(name) : nullptr;
    if (!found) {
        memoline(memo, "Can not find this self-defition function :" + name + "the final result maybe incorrected");
        return -1;
    }
    if (s.bodyrunner) return calluserfunc(cfuncterm{name, args}, vars, funcs, memo, s);
    // Held for the call: the body may load a unit that replaces this very function.
    const std::shared_ptr<const tcbody> body = bodyof(*found, s.dialect);
    const tcallframe frame(vars, memo, s);
    ttemplist templist(vars, s);
    tvarlist& temp = templist.list();

    const int m = static_cast<int>(body->params.size());
    if (m < 1 || m > 1025) throw tfault(s.editor() ? "Error on operation on self-define-function" : "Error on function");
    std::shared_ptr<const std::vector<tcarg>> cut;
    if (call && call->splitfor == m && call->split) {
        cut = call->split;
    } else {
        cut = std::make_shared<const std::vector<tcarg>>(cutargs(args, m, s.dialect));
        if (call) {
            call->split = cut;
            call->splitfor = m;
        }
    }
    const std::vector<tcarg>& a = *cut;

    // Arguments naming a variable of the caller are passed by name and copied back.
    constexpr std::size_t few = 16;
    bool fewflags[few] = {};
    std::vector<bool> manyflags;
    if (a.size() > few) manyflags.resize(a.size());
    auto byname = [&](std::size_t i) -> bool { return a.size() > few ? manyflags[i] : fewflags[i]; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::string& text = a[i].expr.text;
        if (lookup(vars, a[i].key, a[i].hint)) {
            if (a.size() > few) manyflags[i] = true;
            else fewflags[i] = true;
            copyvar(temp, body->params[i], text, vars, s);
        } else if (s.plotter() || !a[i].quoted) {
            // run(), with its quick case taken here: calling run() for it costs a call 2% more.
            const tcexpr& x = formof(a[i].expr);
            double value;
            if (!((x.single || x.binary) && quickvalue(x, vars, s, 1, value))) value = run(x, vars, funcs, memo, s);
            setref(*body->paramrefs[i], value, temp, funcs, memo, s);
        } else {
            temp.settext(body->params[i], evaltext(text, vars, *funcs, memo, s));
        }
    }
    // The result variable starts at 0 (setscalar of its name).
    if (tvar* v = lookup(temp, body->resultkey, body->resulthint)) v->value = 0;
    else temp.setscalar(body->resultname, 0);

    tfaultplace fault;
    runcompiled(body->store, fault, temp, *funcs, memo, s);

    for (std::size_t i = 0; i < a.size(); ++i)
        if (byname(i)) copyvar(vars, a[i].expr.text, body->params[i], temp, s);
    return getref(*body->resultref, temp, funcs, memo, s);
}

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

void fastrunstore(tfuncstore& store, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    tcstore st;
    st.name = store.name;
    st.source = store.source;
    std::vector<std::string> texts;
    std::vector<int> sources;
    for (const tstoreline& l : store.lines()) {
        texts.push_back(l.text);
        sources.push_back(l.sourceline);
    }
    compilestore(st, texts, sources, s.dialect);
    store.fault = tfaultplace{};
    runcompiled(st, store.fault, vars, funcs, memo, s);
}

}  // namespace quor
