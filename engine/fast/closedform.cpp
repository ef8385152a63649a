// Working out whether a user function is closed, and its slot forms: every variable it
// names is a parameter or its result, every call is to a math built-in or to a closed
// function, and every line is a plain statement or an if with its end.
#include <memory>

#include "closed.h"
#include "fastparts.h"
#include "funclist.h"
#include "funcstore.h"

namespace quor {
namespace fast {

namespace {

// Groups or ifs nested deeper than this, or statements of more targets, leave a function to
// the general way: a closed run does not count its bracket and block nesting, which these
// bounds keep far below their limits (and the analysis recurses over them).
constexpr int maxnesting = 64;
constexpr std::size_t maxtargets = 16;

bool hasname(const std::vector<std::string>& names, const std::string& key)
{
    for (const std::string& n : names)
        if (samename(n, key)) return true;
    return false;
}

class tbuilder {
public:
    tbuilder(tfunclist& funcs, tdialect d) : funcs_(funcs), d_(d) {}

    // The closure of the root, or null when it is not closed.
    std::shared_ptr<tkclosure> build(const tfuncitem& root)
    {
        out_ = std::make_shared<tkclosure>();
        queue_.push_back(&root);
        for (std::size_t i = 0; i < queue_.size(); ++i) {
            auto f = std::make_unique<tkfunc>();
            if (!function(*queue_[i], *f)) return nullptr;
            out_->funcs.push_back(std::move(f));
        }
        for (auto& [call, item] : links_) call->callee = out_->funcs[index(item)].get();
        for (const auto& f : out_->funcs)
            for (const std::string& n : f->names)
                if (!hasname(out_->slotnames, n)) out_->slotnames.push_back(n);
        // An argument passed as an expression must not name a variable of any caller: the
        // general call would pass it by name.
        for (const std::string& a : out_->argnames)
            if (hasname(out_->slotnames, a)) return nullptr;
        return std::move(out_);
    }

private:
    std::size_t index(const tfuncitem* item)
    {
        std::size_t i = 0;
        while (queue_[i] != item) ++i;
        return i;
    }

    static int slotof(const tkfunc& f, const std::string& key)
    {
        for (std::size_t i = 0; i < f.names.size(); ++i)
            if (samename(f.names[i], key)) return static_cast<int>(i);
        return -1;
    }

    int addslot(tkfunc& f, const std::string& key)
    {
        const int at = slotof(f, key);
        if (at >= 0) return at;
        f.names.push_back(key);
        return static_cast<int>(f.names.size()) - 1;
    }

    bool function(const tfuncitem& item, tkfunc& f)
    {
        const tcbody& b = bodyof(item, d_);
        if (!b.plainhead || b.params.empty() || b.params.size() >= static_cast<std::size_t>(maxslots)) return false;
        f.body = &b;
        f.item = &item;
        for (const auto& p : b.paramrefs) f.params.push_back(addslot(f, p->key));
        f.result = addslot(f, b.resultkey);
        if (f.names.size() > static_cast<std::size_t>(maxslots)) return false;
        f.lines.resize(b.store.lines.size());
        return lines(b.store, 0, b.store.count() - 1, f, 0);
    }

    // Lines first..last as the range runner walks them.
    bool lines(const tcstore& st, int first, int last, tkfunc& f, int depth)
    {
        if (depth > maxnesting) return false;
        for (int current = first; current <= last;) {
            const tcline& l = st.lines[static_cast<std::size_t>(current)];
            if (l.end >= st.count()) return false;   // a missing end faults: the general way reports it
            if (l.code == kwfor || l.code == kwwhile || l.code == kwbreak) return false;
            if (!statement(*l.stmt, f, f.lines[static_cast<std::size_t>(current)])) return false;
            if (l.code == kwif) {
                const int bodylast = (l.elseindex >= 0 ? l.elseindex : l.end) - 1;
                if (!lines(st, current + 1, bodylast, f, depth + 1)) return false;
                if (l.elseindex >= 0 && !lines(st, l.elseindex + 1, l.end - 1, f, depth + 1)) return false;
            }
            current = l.end + 1;
        }
        return true;
    }

    bool statement(const tcstatement& st, tkfunc& f, tkstatement& out)
    {
        if (st.callform || st.targets.size() > maxtargets) return false;
        for (const auto& t : st.targets) {
            if (t->indexed) return false;
            const int slot = slotof(f, t->key);
            if (slot < 0) return false;
            out.targets.push_back(slot);
        }
        return expr(*st.expr, f, out.expr, 0);
    }

    bool expr(const tcexpr& x, tkfunc& f, tkexpr& out, int depth)
    {
        if (depth > maxnesting) return false;
        out.form = &x;
        out.steps.reserve(x.steps.size());
        for (const tcstep& step : x.steps) {
            tkstep k;
            k.kind = step.kind;
            switch (step.kind) {
            case tcstep::number: k.value = step.value; break;
            case tcstep::op: k.code = step.code; break;
            case tcstep::var:
                if (step.ref->indexed) return false;
                k.slot = slotof(f, step.ref->key);
                if (k.slot < 0) return false;
                break;
            case tcstep::nested:
                k.group = std::make_unique<tkexpr>();
                if (!expr(formof(*step.group), f, *k.group, depth + 1)) return false;
                break;
            case tcstep::call:
                k.call = std::make_unique<tkcall>();
                if (!call(*step.callform, f, *k.call, depth + 1)) return false;
                break;
            }
            out.steps.push_back(std::move(k));
        }
        return true;
    }

    // A call as the call form resolves it: math built-ins first, then commands and window
    // commands (not closed), then user functions.
    bool call(const tccall& c, tkfunc& f, tkcall& out, int depth)
    {
        out.form = &c;
        const int k = funcs_.mathnames.find(c.name, c.namebit);
        if (k >= 0) {
            if (k == 15) return false;   // takes its argument text
            out.math = k;
            if (k == 8) return true;
            out.arg = std::make_unique<tkexpr>();
            return expr(formof(c.argexpr), f, *out.arg, depth);
        }
        if (funcs_.commandnames.find(c.name, c.namebit) >= 0 || funcs_.apinames.find(c.name, c.namebit) >= 0)
            return false;
        const tfuncitem* item = funcs_.findfunc(c.name);
        if (!item) return false;
        const int m = static_cast<int>(bodyof(*item, d_).params.size());
        if (m < 1 || m >= maxslots) return false;
        for (const tcarg& a : argsfor(c, m, d_)) {
            if (a.quoted) return false;
            tkarg ka;
            ka.slot = a.bare ? slotof(f, a.key) : -1;
            if (ka.slot < 0) {
                out_->argnames.push_back(a.key);
                ka.expr = std::make_unique<tkexpr>();
                if (!expr(formof(a.expr), f, *ka.expr, depth)) return false;
            }
            out.args.push_back(std::move(ka));
        }
        links_.emplace_back(&out, item);
        bool known = false;
        for (const tfuncitem* q : queue_) known = known || q == item;
        if (!known) queue_.push_back(item);
        return true;
    }

    tfunclist& funcs_;
    tdialect d_;
    std::shared_ptr<tkclosure> out_;
    std::vector<const tfuncitem*> queue_;
    std::vector<std::pair<tkcall*, const tfuncitem*>> links_;
};

}  // namespace

const tkclosure* closedof(const tfuncitem& item, const tcbody& body, tfunclist& funcs, tdialect d)
{
    if (body.closedlist == &funcs && body.closedgeneration == funcs.generation()) return body.closed.get();
    if (body.closedruns > 0) return nullptr;   // a run still uses the closure worked out before
    body.closed = tbuilder(funcs, d).build(item);
    body.closedlist = &funcs;
    body.closedgeneration = funcs.generation();
    return body.closed.get();
}

}  // namespace fast
}  // namespace quor
