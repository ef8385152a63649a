// User-function calls on the fast path, as calluserfunc makes them: the temporary list
// starts as a copy of the caller's, arguments naming a caller's variable are passed by name
// and copied back, and the body runs as a scanned store.
#include <memory>

#include "calls.h"
#include "fastparts.h"
#include "fastrun.h"
#include "funcstore.h"
#include "host.h"
#include "scanner.h"
#include "statements.h"

namespace quor {
namespace fast {

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
    ttemplist(const tvarlist& vars, tsession& s) : s_(s)
    {
        if (!s.lists) s.lists = std::make_shared<tlistpool>();
        tlistpool& pool = *s.lists;
        // Levels past the first 64 are made afresh, so that the pool never holds much.
        constexpr std::size_t keep = 64;
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
        // The records past the caller's count, which the copy would let go, are kept for
        // the variables this call makes.
        std::vector<tvar>& items = entry_->list.items;
        std::vector<tvar>& records = entry_->records;
        while (items.size() > vars.items.size()) {
            records.push_back(std::move(items.back()));
            items.pop_back();
        }
        try {
            entry_->list.assignlist(vars);
        } catch (...) {
            release();
            throw;
        }
    }
    ~ttemplist() { release(); }
    ttemplist(const ttemplist&) = delete;
    ttemplist& operator=(const ttemplist&) = delete;

    tvarlist& list() { return entry_->list; }

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
    tvar& setscalar(const std::string& key, std::size_t& hint, double x)
    {
        if (tvar* v = lookup(entry_->list, key, hint)) {
            v->value = x;
            return *v;
        }
        return add(key, x);
    }

private:
    void release()
    {
        if (!entry_) return;
        --s_.lists->depth;
        // A level that had to hold many variables gives its storage back.
        constexpr std::size_t most = 256;
        std::vector<tvar>& items = entry_->list.items;
        std::vector<tvar>& records = entry_->records;
        if (items.capacity() > most || records.capacity() > most) {
            std::vector<tvar>().swap(items);
            std::vector<tvar>().swap(records);
        } else {
            for (tvar& v : items) v.data.clear();
            for (tvar& v : records) v.data.clear();
        }
        entry_ = nullptr;
        own_.reset();
    }
    tsession& s_;
    tlistpool::tentry* entry_ = nullptr;
    std::unique_ptr<tlistpool::tentry> own_;
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
