// User-function calls on the fast path, as calluserfunc makes them: the temporary list
// starts as a copy of the caller's, arguments naming a caller's variable are passed by name
// and copied back, and the body runs as a scanned store.
#include <memory>
#include <new>

#include "calls.h"
#include "closed.h"
#include "fastparts.h"
#include "fastrun.h"
#include "funcstore.h"
#include "host.h"
#include "scanner.h"
#include "statements.h"

namespace quor {
namespace fast {

const tcbody& bodyof(const tfuncitem& item, tdialect d)
{
    auto& slot = item.compiled[d == tdialect::editor ? 0 : 1];
    if (slot) return *slot;
    auto body = std::make_shared<tcbody>();
    body->name = shortstring(item.name);
    body->params = item.params;
    for (const std::string& p : item.params) body->paramrefs.push_back(compileref(p, d));
    body->resultname = item.resultname;
    body->resultref = compileref(item.resultname, d);
    body->resultkey = shortstring(item.resultname);
    body->plainhead = !body->resultref->indexed;
    for (const auto& r : body->paramrefs) body->plainhead = body->plainhead && !r->indexed;
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
    return *body;
}

namespace {

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
        out[i].bare = texts[i].find('[') == std::string::npos;
        out[i].key = shortstring(texts[i]);
        out[i].expr.text = std::move(texts[i]);
        out[i].expr.dialect = d;
    }
    return out;
}

}  // namespace

const std::vector<tcarg>& argsfor(const tccall& call, int m, tdialect d)
{
    for (const auto& [count, split] : call.splits)
        if (count == m) return *split;
    call.splits.emplace_back(m, std::make_unique<const std::vector<tcarg>>(cutargs(call.args, m, d)));
    return *call.splits.back().second;
}

}  // namespace fast

using namespace fast;

// The temporary lists of the calls now running, one per call level, kept with their
// storage when the call ends so that the next call at that level copies its caller's
// variables without allocating; with them the records of the variables those calls made
// (parameters, results), so that the next call makes its own without allocating.
class tlistpool {
public:
    struct tentry {
        tvarlist list{"temp", 0};
        std::vector<tvar> records;
        // The last call at this level: its body (held, so that the address is not reused),
        // the caller's variable count and the names its binding appended after them.
        std::shared_ptr<const tcbody> shapebody;
        std::size_t shapebase = 0;
        std::vector<std::string> shapenames;
    };
    std::vector<std::unique_ptr<tentry>> levels;
    std::size_t depth = 0;   // levels in use
};

namespace {

// A call's temporary list "temp", made by assignlist from the caller's list into storage
// a finished call left behind. When the call ends its elements are let go, so that the
// caller's arrays are not shared any longer.
class ttemplist {
public:
    // shape: the body of the call when its parameters and result are plain names and no
    // argument is bound as text, so that binding only sets or appends scalars.
    ttemplist(const tvarlist& vars, tsession& s, const tcbody* shape) : s_(s), base_(vars.items.size())
    {
        if (!s.lists) s.lists = std::make_shared<tlistpool>();
        tlistpool& pool = *s.lists;
        // Levels past the first 4096 are made afresh, so that the pool never holds much.
        constexpr std::size_t keep = 4096;
        if (pool.depth < pool.levels.size()) {
            entry_ = pool.levels[pool.depth].get();
        } else if (pool.depth < keep) {
            pool.levels.push_back(std::make_unique<tlistpool::tentry>());
            entry_ = pool.levels.back().get();
        } else {
            own_ = std::make_unique<tlistpool::tentry>();
            entry_ = own_.get();
        }
        ++pool.depth;
        try {
            if (shape && reuse(vars, shape)) return;
            // The records past the caller's count, which the copy would let go, are kept
            // for the variables this call makes.
            std::vector<tvar>& items = entry_->list.items;
            std::vector<tvar>& records = entry_->records;
            while (items.size() > vars.items.size()) {
                records.push_back(std::move(items.back()));
                records.back().data.clear();
                items.pop_back();
            }
            entry_->list.assignlist(vars);
        } catch (const std::bad_alloc&) {
            release();
            throw tfault("Error on assign varlist");   // as assignlist reports it
        } catch (...) {
            release();
            throw;
        }
    }
    ~ttemplist() { release(); }
    ttemplist(const ttemplist&) = delete;
    ttemplist& operator=(const ttemplist&) = delete;

    tvarlist& list() { return entry_->list; }
    bool reused() const { return reused_; }

    // Remembers the names the binding appended after the caller's n variables, so that
    // the next call of the same body from a list of the same names finds them in place.
    void noteshape(const std::shared_ptr<const tcbody>& body)
    {
        tlistpool::tentry& e = *entry_;
        const std::size_t n = base_;
        e.shapebody = body;
        e.shapebase = n;
        e.shapenames.clear();
        for (std::size_t i = n; i < e.list.items.size(); ++i) e.shapenames.push_back(e.list.items[i].name);
    }

    // setscalar of a variable not where it stood last time.
    [[gnu::noinline]] tvar& setscalarslow(const std::string& key, std::size_t& hint, double x)
    {
        if (tvar* v = lookupslow(entry_->list, key, hint)) {
            v->value = x;
            return *v;
        }
        return add(key, x);
    }

    // Appends the scalar key (a name cut to 255 bytes) = x, as setscalar makes a variable
    // it does not find.
    tvar& add(const std::string& key, double x)
    {
        std::vector<tvar>& items = entry_->list.items;
        std::vector<tvar>& records = entry_->records;
        if (records.empty()) {
            items.emplace_back();
        } else {
            items.push_back(std::move(records.back()));
            records.pop_back();
        }
        tvar& v = items.back();
        if (!samename(v.name, key)) v.name = key;
        v.value = x;
        v.demension.assign(1, -1);
        v.asistance.assign(1, 1);
        v.data.clear();
        return v;
    }

    // The scalar key (cut) set to x, made when missing: setscalar.
    [[gnu::always_inline]] tvar& setscalar(const std::string& key, std::size_t& hint, double x)
    {
        if (tvar* v = hinted(entry_->list, key, hint)) {
            v->value = x;
            return *v;
        }
        return setscalarslow(key, hint, x);
    }

private:
    // The copy of the caller's list when the last call at this level ran the same body from
    // a list of the same names and left the variables its binding appended in place: the
    // caller's values are copied over, those variables become fresh scalars of value 0 and
    // the body's own variables after them go. The binding then finds each where it would
    // have appended it, so the list ends the same as when made afresh. False (and nothing
    // the fresh copy does not overwrite changed) otherwise.
    bool reuse(const tvarlist& vars, const tcbody* shape)
    {
        tlistpool::tentry& e = *entry_;
        std::vector<tvar>& items = e.list.items;
        const std::size_t n = vars.items.size(), k = e.shapenames.size();
        if (e.shapebody.get() != shape || e.shapebase != n || items.size() < n + k) return false;
        for (std::size_t j = 0; j < k; ++j)
            if (!samename(items[n + j].name, e.shapenames[j])) return false;
        for (std::size_t i = 0; i < n; ++i) {
            tvar& to = items[i];
            const tvar& from = vars.items[i];
            if (!samename(to.name, from.name)) return false;
            to.value = from.value;
            to.demension.clear();
            to.asistance.clear();
            to.data = from.data;
        }
        if (items.size() > n + k) items.erase(items.begin() + static_cast<std::ptrdiff_t>(n + k), items.end());
        for (std::size_t j = n; j < n + k; ++j) {
            tvar& v = items[j];
            v.value = 0;
            if (v.demension.size() == 1) v.demension[0] = -1;
            else v.demension.assign(1, -1);
            if (v.asistance.size() == 1) v.asistance[0] = 1;
            else v.asistance.assign(1, 1);
            v.data.clear();
        }
        e.list.elementlimit = vars.elementlimit;
        reused_ = true;
        return true;
    }

    void release()
    {
        if (!entry_) return;
        const std::size_t level = --s_.lists->depth;
        // A level that had to hold many variables gives its storage back: past 256 at the
        // first 64 levels, past 8 at the deeper ones (deep recursion of small functions).
        const std::size_t most = level < 64 ? 256 : 8;
        std::vector<tvar>& items = entry_->list.items;
        std::vector<tvar>& records = entry_->records;
        if (items.capacity() > most || records.capacity() > most) {
            std::vector<tvar>().swap(items);
            std::vector<tvar>().swap(records);
        } else {
            for (tvar& v : items) v.data.clear();   // records hold none
        }
        entry_ = nullptr;
        own_.reset();
    }
    tsession& s_;
    tlistpool::tentry* entry_ = nullptr;
    std::unique_ptr<tlistpool::tentry> own_;
    std::size_t base_;   // the caller's variable count when copied
    bool reused_ = false;
};

// to = from, in place when they hold as many numbers (mostly one).
inline void copysizes(std::vector<std::int32_t>& to, const std::vector<std::int32_t>& from)
{
    const std::size_t n = from.size();
    if (to.size() != n) {
        to = from;
        return;
    }
    for (std::size_t i = 0; i < n; ++i) to[i] = from[i];
}

// copyvar(T, target, source, S) of two bare names whose variables are both there: the value,
// then the elements, sizes and strides.
void copybare(tvarlist& T, tvar& target, const tvar& source)
{
    target.value = source.value;
    if (source.data.empty() && target.data.empty() && source.demension.size() == 1 && target.demension.size() == 1 &&
        source.asistance.size() == 1 && target.asistance.size() == 1) {
        // Two scalars, the commonest case: only the sizes and strides to copy.
        target.demension[0] = source.demension[0];
        target.asistance[0] = source.asistance[0];
        return;
    }
    T.reserveelements(static_cast<std::int64_t>(source.data.size()) - target.count());
    target.data = source.data;
    copysizes(target.demension, source.demension);
    copysizes(target.asistance, source.asistance);
}

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
    // Pinned for the call: the body may load a unit that replaces this very function, and
    // the list then keeps the item until the call ends (no counted reference per call).
    struct tpin {
        tfunclist& list;
        const tfuncitem& item;
        tpin(tfunclist& l, const tfuncitem& i) : list(l), item(i) { ++item.pins; }
        ~tpin() { list.unpin(item); }
    } const pin(*funcs, *found);
    const tcbody* const body = &bodyof(*found, s.dialect);
    const tcallframe frame(vars, memo, s);
    const int m = static_cast<int>(body->params.size());
    if (m < 1 || m > 1025) throw tfault(s.editor() ? "Error on operation on self-define-function" : "Error on function");
    const std::vector<tcarg>* cut = nullptr;
    std::unique_ptr<const std::vector<tcarg>> own;
    if (call) {
        cut = &argsfor(*call, m, s.dialect);
    } else {
        own = std::make_unique<const std::vector<tcarg>>(cutargs(args, m, s.dialect));
        cut = own.get();
    }
    const std::vector<tcarg>& a = *cut;
    // A closed function runs on slots when its arguments allow.
    if (call)
        if (const tkclosure* k = closedof(*found, *body, *funcs, s.dialect)) {
            double result;
            if (closedcall(*k, a, vars, *funcs, memo, s, result)) return result;
        }
    // Text arguments are bound by settext, which makes its variable its own way.
    bool shaped = body->plainhead;
    if (shaped && !s.plotter())
        for (const tcarg& arg : a) shaped = shaped && !arg.quoted;
    ttemplist templist(vars, s, shaped ? body : nullptr);
    tvarlist& temp = templist.list();

    // Arguments naming a variable of the caller are passed by name and copied back.
    constexpr std::size_t few = 16;
    bool fewflags[few] = {};
    std::vector<bool> manyflags;
    if (a.size() > few) manyflags.resize(a.size());
    auto byname = [&](std::size_t i) -> bool { return a.size() > few ? manyflags[i] : fewflags[i]; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        const tcarg& arg = a[i];
        const tcref& param = *body->paramrefs[i];
        if (tvar* source = lookup(vars, arg.key, arg.hint)) {
            if (a.size() > few) manyflags[i] = true;
            else fewflags[i] = true;
            if (arg.bare && !param.indexed) {
                // copyvar: setvar of the value (setscalar), then the rest of the variable.
                tvar& target = templist.setscalar(param.key, param.hint, source->value);
                copybare(temp, target, *source);
            } else {
                copyvar(temp, body->params[i], arg.expr.text, vars, s);
            }
        } else if (s.plotter() || !arg.quoted) {
            // run(), with its quick case taken here: calling run() for it costs a call 2% more.
            const tcexpr& x = formof(arg.expr);
            double value;
            if (!((x.single || x.binary) && quickvalue(x, vars, s, 1, value))) value = run(x, vars, funcs, memo, s);
            if (param.indexed) setref(param, value, temp, funcs, memo, s);
            else templist.setscalar(param.key, param.hint, value);
        } else {
            temp.settext(body->params[i], evaltext(arg.expr.text, vars, *funcs, memo, s));
        }
    }
    // The result variable starts at 0 (setscalar of its name).
    templist.setscalar(body->resultkey, body->resulthint, 0);
    if (shaped && !templist.reused()) templist.noteshape(found->compiled[s.dialect == tdialect::editor ? 0 : 1]);

    tfaultplace fault;
    runcompiled(body->store, fault, temp, *funcs, memo, s);

    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!byname(i)) continue;
        const tcarg& arg = a[i];
        const tcref& param = *body->paramrefs[i];
        tvar* source = arg.bare && !param.indexed ? lookup(temp, param.key, param.hint) : nullptr;
        tvar* target = source ? lookup(vars, arg.key, arg.hint) : nullptr;
        if (target) copybare(vars, *target, *source);
        else copyvar(vars, arg.expr.text, body->params[i], temp, s);
    }
    return getref(*body->resultref, temp, funcs, memo, s);
}

}  // namespace quor
