#pragma once
// The parts of the fast path its runners share: reading and writing scanned references,
// the quick shapes of expressions and statements, and the runners' entry points. Only the
// files of this folder include it.
#include <cstddef>
#include <memory>
#include <string>

#include "compiled.h"
#include "fault.h"
#include "funclist.h"
#include "funcstore.h"
#include "session.h"
#include "variables.h"

namespace quor {

struct tfuncitem;

namespace fast {

// A statement's result: a number, or the text of a string function.
struct tresult {
    double value = 0;
    bool istext = false;
    std::string text;
};

// evaluate of a scanned expression.
double run(const tcexpr& x, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s);
tresult exec(const tcstatement& st, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);
double callform(const tccall& c, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s);
// execstatement's number for a statement: its result read back as a number, as from its text.
double numberof(const tcstatement& st, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);
// evalassign of a scanned statement.
double assign(const tcstatement& st, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s);
// runstore of a scanned store; fault starts as a fresh tfaultplace.
void runcompiled(const tcstore& st, tfaultplace& fault, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);
// The scanned body of a user function, made on its first call in the dialect.
std::shared_ptr<const tcbody> bodyof(const tfuncitem& item, tdialect d);

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
tvar* lookupslow(tvarlist& vars, const std::string& key, std::size_t& hint);

// The variable of exactly this (cut) name, first looked for where it stood last time.
inline tvar* lookup(tvarlist& vars, const std::string& key, std::size_t& hint)
{
    if (tvar* v = hinted(vars, key, hint)) return v;
    return lookupslow(vars, key, hint);
}

// getvalue of a scanned reference.
double getrefslow(const tcref& r, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s);

inline double getref(const tcref& r, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    if (!r.indexed)
        if (const tvar* v = hinted(vars, r.key, r.hint)) return v->value;
    return getrefslow(r, vars, funcs, memo, s);
}

// setvar of a scanned reference.
int setrefslow(const tcref& r, double x, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s);

inline int setref(const tcref& r, double x, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s)
{
    if (!r.indexed)
        if (tvar* v = hinted(vars, r.key, r.hint)) {
            v->value = x;
            return 1;
        }
    return setrefslow(r, x, vars, funcs, memo, s);
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

}  // namespace fast
}  // namespace quor
