#pragma once
// The parts of the fast path its runners share: reading and writing scanned references,
// the quick shapes of expressions and statements, and the runners' entry points. Only the
// files of this folder include it.
#include <cmath>
#include <cstddef>
#include <exception>
#include <memory>
#include <string>

#include "compiled.h"
#include "fault.h"
#include "funclist.h"
#include "funcstore.h"
#include "numtext.h"
#include "partlist.h"
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
// The scanned body of a user function, made on its first call in the dialect; it lives as
// long as the item.
const tcbody& bodyof(const tfuncitem& item, tdialect d);

// The arguments of the call cut for m parameters (1 to 1025), cut once and kept with it.
const std::vector<tcarg>& argsfor(const tccall& call, int m, tdialect d);

// One level of the group nesting guard, taken by hand (as tnestguard does).
void entergroup(tsession& s, tmemo* memo);
// The fault of evaluations that hold too much expression text together.
[[noreturn]] void toolong(tmemo* memo);
// A number read back through its text.
double numberthroughtext(double value);

// A statement's number read back as a number, as from its text.
inline double numberfromvalue(double value)
{
    // Whole numbers of up to 15 digits come back from their text unchanged.
    // (Below 1e15 the round trip through a 64-bit integer is exact and cheaper than trunc.)
    if (std::fabs(value) < 1e15 && static_cast<double>(static_cast<long long>(value)) == value)
        return value == 0 ? 0.0 : value;
    return numberthroughtext(value);
}

// The operand and operator stacks of a general reduction: in the frame for up to N of
// each, else on the heap.
template <std::size_t N>
class tstacks {
public:
    explicit tstacks(const tcexpr& x)
    {
        if (x.operands > N || x.operators > N) [[unlikely]] {
            abig_.reset(new double[x.operands]);
            obig_.reset(new int[x.operators]);
            a = abig_.get();
            o = obig_.get();
        }
    }
    tstacks(const tstacks&) = delete;
    tstacks& operator=(const tstacks&) = delete;
    double* a = abuf_;
    int* o = obuf_;

private:
    double abuf_[N];
    int obuf_[N];
    std::unique_ptr<double[]> abig_;
    std::unique_ptr<int[]> obig_;
};

// The reduction of the stacks as the general reduction makes it: one operand, or one or two
// operators (the one of higher priority first, the left one when alike), directly.
inline double reducestacks(double* a, int* o, std::size_t na, std::size_t no, tsession& s)
{
    if (no == 0 && na == 1) return a[0];
    if (no == 1 && na == 2) return applycode(o[0], a[0], a[1], s);
    if (no == 2 && na == 3) {
        if (codepriority(o[0]) >= codepriority(o[1])) return applycode(o[1], applycode(o[0], a[0], a[1], s), a[2], s);
        return applycode(o[0], a[0], applycode(o[1], a[1], a[2], s), s);
    }
    return reducecodes(a, o, na, no, s);
}

// Records the first fault of a run: the line it stood on and its text.
void notefault(tfaultplace& fault, const tcstore& st, int line, const std::exception& e);
// What runstore does when a fault ends the run of a store: its place noted, the box and
// the memo line.
void endstore(const tcstore& st, tfaultplace& fault, const std::exception& e, tmemo* memo, tsession& s);

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

// The value of an index item that is a plain operand (a number, or a name), when its evaluation, `depth` guard levels in and with `held` bytes of
// expression text already held, would pass its guards. False otherwise.
[[gnu::always_inline]] inline bool quickindex(const tlazy<tcexpr>& item, tvarlist& vars, tsession& s, int depth,
                                              long long held, double& index)
{
    const tcexpr& ix = formof(item);
    if (!ix.single || s.groupdepth + depth > maxgroupdepth || s.evalbytes + held + ix.length > maxevalbytes) return false;
    const tcstep& st = ix.steps[0];
    if (st.kind == tcstep::number) {
        index = st.value;
        return true;
    }
    if (st.ref->indexed) return false;
    // Looked for where it stood, else by a scan (a form of its own learns where it stands).
    const tvar* v = lookup(vars, st.ref->key, st.ref->hint);
    if (!v) return false;
    index = v->value;
    return true;
}

// quickelement of a reference of several indexes: each within its size.
bool quickcell(const tcref& r, tvarlist& vars, tsession& s, int depth, long long held, tvar*& a, std::size_t& k);

// The element name[index] of a reference whose indexes are plain operands (quickindex),
// found without side effects: the variable stands where it stood last time and the element
// is there (or, with grow and one index, may be written). False otherwise.
inline bool quickelement(const tcref& r, tvarlist& vars, tsession& s, int depth, long long held, tvar*& a,
                         std::size_t& k, bool grow = false)
{
    if (r.dims != 1) return quickcell(r, vars, s, depth, held, a, k);
    double index;
    if (!quickindex(r.indexexpr, vars, s, depth, held, index)) return false;
    const std::int64_t at = truncint(index);
    a = hinted(vars, r.namekey, r.hint);
    if (!a || at < 0 || at >= (grow ? maxelements : a->count())) return false;
    k = static_cast<std::size_t>(at);
    return true;
}

// A plain operand (a number, a name standing where it stood last time, or an element
// quickelement finds, `depth` levels in with `held` bytes held) read without side effects;
// false when it needs the full lookup.
[[gnu::always_inline]] inline bool quickoperand(const tcstep& st, tvarlist& vars, tsession& s, int depth, long long held,
                                                double& x)
{
    if (st.kind == tcstep::number) {
        x = st.value;
        return true;
    }
    const tcref& r = *st.ref;
    if (r.indexed) {
        tvar* a;
        std::size_t k;
        if (!quickelement(r, vars, s, depth, held, a, k)) return false;
        x = a->data[k];
        return true;
    }
    if (const tvar* v = hinted(vars, r.key, r.hint)) {
        x = v->value;
        return true;
    }
    return false;
}

// A three-operand expression with its first two operands read: the third read as
// quickoperand reads it, then the three reduced as the general reduction does (the operator
// of higher priority first, the left one when they are alike). False when either fails.
// Kept out of line, so that the frames of the runners it would be inlined in, which deep
// recursion holds at every level, stay small.
[[gnu::noinline]] bool quickthird(const tcexpr& x, tvarlist& vars, tsession& s, int levels, double a, double b,
                                  double& v);

// The value of a one-, two- or three-operand expression when `levels` more guard levels
// would pass and nothing in it can show a box or fault: the same result without taking the
// guards. False otherwise.
[[gnu::always_inline]] inline bool quickvalue(const tcexpr& x, tvarlist& vars, tsession& s, int levels, double& v)
{
    if (s.groupdepth + levels > maxgroupdepth || s.evalbytes + x.length > maxevalbytes) return false;
    // An element's index is evaluated one level inside the expression, its text held.
    double left;
    if (!quickoperand(x.steps[0], vars, s, levels + 1, x.length, left)) return false;
    if (x.single) {
        v = left;
        return true;
    }
    double right;
    if (!quickoperand(x.steps[2], vars, s, levels + 1, x.length, right)) return false;
    if (!x.ternary) return quickop(x.op, left, right, v);
    return quickthird(x, vars, s, levels, left, right, v);
}

// evalassign of name[index]:=value by quickelement, the value already found quickly: the
// index is evaluated at the level of the value, after it.
[[gnu::noinline]] inline bool quickstore(const tcref& target, tvarlist& vars, tsession& s, int levels, double v)
{
    tvar* a;
    std::size_t k;
    if (!quickelement(target, vars, s, levels, 0, a, k, true)) return false;
    try {
        // Growing with zeros as setelement does, within the list's limit.
        if (k >= a->data.size()) {
            const std::int64_t growth = static_cast<std::int64_t>(k + 1 - a->data.size());
            if (vars.elementtotal() + growth > vars.elementlimit) return false;
            a->data.resize(k + 1, 0.0);
        }
        a->data.set(k, v);   // unshares the elements first when a copy still reads them
    } catch (...) {
        return false;   // the general way reports it
    }
    return true;
}

// evalassign of a one-target statement when the target stands where it stood and the value
// comes quickly (`levels` more guard levels would pass: two, and one more for a statement
// whose own guard is not taken): the same effect as the general way.
[[gnu::always_inline]] inline bool quickassign(const tcstatement& st, tvarlist& vars, tsession& s, int levels, double& v)
{
    const tcref& target = *st.targets[0];
    const tcexpr& x = *st.expr;
    if (target.indexed) {
        return quickvalue(x, vars, s, levels, v) && quickstore(target, vars, s, levels, v);
    }
    tvar* t = hinted(vars, target.key, target.hint);
    if (!t) return false;
    if (s.groupdepth + levels > maxgroupdepth || s.evalbytes + x.length > maxevalbytes) return false;
    // An operand naming the target reads the variable just found: names are unique in a list.
    double left, right;
    if (st.targetfirst) left = t->value;
    else if (!quickoperand(x.steps[0], vars, s, levels + 1, x.length, left)) return false;
    if (x.single) {
        v = left;
    } else {
        if (st.targetlast) right = t->value;
        else if (!quickoperand(x.steps[2], vars, s, levels + 1, x.length, right)) return false;
        if (!(x.ternary ? quickthird(x, vars, s, levels, left, right, v) : quickop(x.op, left, right, v))) return false;
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
