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
        out[i].key = shortstring(texts[i]);
        out[i].expr.text = std::move(texts[i]);
        out[i].expr.dialect = d;
    }
    return out;
}

}  // namespace

}  // namespace fast

using namespace fast;

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

}  // namespace quor
