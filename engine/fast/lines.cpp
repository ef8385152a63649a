// Running a scanned store's lines. Every function here follows its literal counterpart
// step by step (runlines, runif, runfor, runwhile, getforterm, runstore), with the same
// guards, steps, places and fault reports.
#include <memory>

#include "fastparts.h"
#include "fastrun.h"
#include "flow.h"
#include "funcstore.h"
#include "host.h"
#include "statements.h"

namespace quor {
namespace fast {

void notefault(tfaultplace& fault, const tcstore& st, int line, const std::exception& e)
{
    if (fault.line >= 0) return;
    fault.line = line;
    fault.sourceline = st.lines[static_cast<std::size_t>(line)].sourceline;
    fault.text = e.what();
}

void endstore(const tcstore& st, tfaultplace& fault, const std::exception& e, tmemo* memo, tsession& s)
{
    if (fault.line < 0) fault.text = e.what();
    fault.stopped = true;
    // The reports stand where the failing statement stood.
    const tplaceguard keepplace(s);
    if (fault.line >= 0) s.place = {&st.source, fault.sourceline};
    s.host.showmessage("Critical error on compile: " + st.name);
    memoline(memo, "Critical error on compile at: " + st.name);
}

namespace {

int runrange(const tcstore& st, tfaultplace& fault, int first, int last, tvarlist& vars, tfunclist& funcs,
             tmemo* memo, tsession& s);


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

}  // namespace

namespace {

// A store without flow lines, run as a loop body of such lines would be. Kept out of
// runcompiled, whose frame every call level holds.
[[gnu::noinline]] void runplainstore(const tcstore& st, tfaultplace& fault, tvarlist& vars, tfunclist& funcs,
                                     tmemo* memo, tsession& s)
{
    runpart(st.quick, true, st, fault, 0, st.count() - 1, vars, funcs, memo, s);
}

}  // namespace

// runstore of a scanned store; fault starts as a fresh tfaultplace.
void runcompiled(const tcstore& st, tfaultplace& fault, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    try {
        // A store without flow lines runs as a loop body of such lines would.
        if (st.plain) runplainstore(st, fault, vars, funcs, memo, s);
        else runrange(st, fault, 0, st.count() - 1, vars, funcs, memo, s);
    } catch (const std::exception& e) {
        endstore(st, fault, e, memo, s);
    }
}

}  // namespace fast

using namespace fast;

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
