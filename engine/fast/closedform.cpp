// Working out whether a user function is closed, and its slot forms: every variable it
// names is a plain name or an element (one index) of a parameter it reads, every call is
// to a math built-in or to a closed function, and every line is a plain statement, an if,
// for or while with its end, or a break.
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
        // With elements about, a parameter named twice could hand one variable's elements
        // to another through the copy-back; such trees go the general way.
        if (failed_ || (out_->arrays && dupes_)) return nullptr;
        out_->own = !local_;
        for (auto& [call, item] : links_) call->callee = out_->funcs[index(item)].get();
        // An argument is passed by name when the caller has a variable of its text: that
        // can only be a slot's, or one of the list the run is entered from.
        for (tkarg* a : args_) {
            a->slot = slotof(a->form->key, false);
            if (a->slot < 0 && nameindex(out_->argnames, a->form->key) < 0) out_->argnames.push_back(a->form->key);
        }
        return std::move(out_);
    }

private:
    std::size_t index(const tfuncitem* item)
    {
        std::size_t i = 0;
        while (queue_[i] != item) ++i;
        return i;
    }

    // The slot of a name, made when missing (unless add is false); -1 past maxslots.
    int slotof(const std::string& key, bool add = true)
    {
        std::vector<std::string>& names = out_->slotnames;
        const int at = nameindex(names, key);
        if (at >= 0 || !add) return at;
        if (names.size() >= static_cast<std::size_t>(maxslots)) {
            failed_ = true;
            return -1;
        }
        names.push_back(key);
        return static_cast<int>(names.size()) - 1;
    }

    // The slot of a name the body uses; notes a name that is not the function's parameter
    // or result.
    int use(const std::string& key)
    {
        const int slot = slotof(key);
        if (slot >= 0 && !(heads_ >> slot & 1)) local_ = true;
        return slot;
    }

    bool function(const tfuncitem& item, tkfunc& f)
    {
        const tcbody& b = bodyof(item, d_);
        if (!b.plainhead || b.params.empty() || b.params.size() >= static_cast<std::size_t>(maxslots)) return false;
        f.body = &b;
        f.item = &item;
        for (const auto& p : b.paramrefs) f.params.push_back(slotof(p->key));
        f.result = slotof(b.resultkey);
        if (failed_) return false;
        params_ = 0;
        for (const int p : f.params) {
            if (params_ >> p & 1) dupes_ = true;
            params_ |= std::uint32_t(1) << p;
        }
        heads_ = params_ | std::uint32_t(1) << f.result;
        f.lines.resize(b.store.lines.size());
        return lines(b.store, 0, b.store.count() - 1, f, 0);
    }

    // Lines first..last as the range runner walks them.
    bool lines(const tcstore& st, int first, int last, tkfunc& f, int depth)
    {
        if (depth > maxnesting) return false;
        for (int current = first; current <= last;) {
            const tcline& l = st.lines[static_cast<std::size_t>(current)];
            tkline& k = f.lines[static_cast<std::size_t>(current)];
            if (l.end >= st.count()) return false;   // a missing end faults: the general way reports it
            if (l.code == kwfor) {
                if (!forterm(*l.forterm, k)) return false;
            } else if (l.code != kwbreak) {
                if (!statement(*l.stmt, k.stmt)) return false;
            }
            if (l.code == kwif || l.code == kwfor || l.code == kwwhile) {
                const int bodylast = (l.code == kwif && l.elseindex >= 0 ? l.elseindex : l.end) - 1;
                if (!lines(st, current + 1, bodylast, f, depth + 1)) return false;
                if (l.code == kwif && l.elseindex >= 0 && !lines(st, l.elseindex + 1, l.end - 1, f, depth + 1))
                    return false;
            }
            current = l.end + 1;
        }
        return true;
    }

    bool forterm(const tcforterm& t, tkline& k)
    {
        // A term without ":=" or its end faults: the general way reports it.
        if (t.noassign || t.noend || t.name->indexed) return false;
        k.forterm = std::make_unique<tkfor>();
        tkfor& f = *k.forterm;
        f.slot = use(t.name->key);
        return f.slot >= 0 && statement(*t.start, f.start) && (!t.hasstep || statement(*t.step, f.step)) &&
               statement(*t.end, f.end);
    }

    bool statement(const tcstatement& st, tkstatement& out)
    {
        // A call statement runs as its expression when it calls no string function, command
        // or window command (their tables come first).
        if (st.callform && (funcs_.stringnames.find(st.callname) >= 0 || funcs_.commandnames.find(st.callname) >= 0 ||
                            funcs_.apinames.find(st.callname) >= 0))
            return false;
        if (st.targets.size() > maxtargets) return false;
        for (const auto& t : st.targets) {
            if (t->indexed) return false;
            const int slot = use(t->key);
            if (slot < 0) return false;
            out.targets.push_back(slot);
            out.sets |= std::uint32_t(1) << slot;
        }
        return expr(*st.expr, out.expr, 0);
    }

    bool expr(const tcexpr& x, tkexpr& out, int depth)
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
                k.ref = step.ref.get();
                if (step.ref->indexed) {
                    // An element of a parameter, one index.
                    if (step.ref->dims != 1) return false;
                    k.slot = slotof(step.ref->namekey, false);
                    if (k.slot < 0 || !(params_ >> k.slot & 1)) return false;
                    k.index = std::make_unique<tkexpr>();
                    if (!expr(formof(step.ref->indexexpr), *k.index, depth + 1)) return false;
                    out_->arrays = true;
                    break;
                }
                k.slot = use(step.ref->key);
                if (k.slot < 0) return false;
                out.reads |= std::uint32_t(1) << k.slot;
                break;
            case tcstep::nested:
                k.group = std::make_unique<tkexpr>();
                if (!expr(formof(*step.group), *k.group, depth + 1)) return false;
                break;
            case tcstep::call:
                k.call = std::make_unique<tkcall>();
                if (!call(*step.callform, *k.call, depth + 1)) return false;
                break;
            }
            out.steps.push_back(std::move(k));
        }
        // The short shapes go the quick way when their elements' indexes are plain operands.
        auto plain = [&](std::size_t i) {
            if (i >= out.steps.size()) return false;
            const tkstep& st = out.steps[i];
            if (!st.index) return true;
            out.elements = true;
            const tkexpr& ix = *st.index;
            return ix.form->single && !ix.steps[0].index;
        };
        out.quick = (x.single && plain(0)) || (x.binary && plain(0) && plain(2)) ||
                    (x.ternary && plain(0) && plain(2) && plain(4));
        out.elements = out.quick && out.elements;
        return true;
    }

    // A call as the call form resolves it: math built-ins first, then commands and window
    // commands (not closed), then user functions.
    bool call(const tccall& c, tkcall& out, int depth)
    {
        out.form = &c;
        const int k = funcs_.mathnames.find(c.name, c.namebit);
        if (k >= 0) {
            if (k == 15) return false;   // takes its argument text
            out.math = k;
            if (k == 8) return true;
            out.arg = std::make_unique<tkexpr>();
            return expr(formof(c.argexpr), *out.arg, depth);
        }
        if (funcs_.commandnames.find(c.name, c.namebit) >= 0 || funcs_.apinames.find(c.name, c.namebit) >= 0)
            return false;
        const tfuncitem* item = funcs_.findfunc(c.name);
        if (!item) return false;
        const int m = static_cast<int>(bodyof(*item, d_).params.size());
        if (m < 1 || m >= maxslots) return false;
        const std::vector<tcarg>& cut = argsfor(c, m, d_);
        out.args.resize(cut.size());
        for (std::size_t i = 0; i < cut.size(); ++i) {
            const tcarg& a = cut[i];
            // A text or an element's text passed by name is bound its own way.
            if (a.quoted || !a.bare) return false;
            tkarg& ka = out.args[i];
            ka.form = &a;
            ka.expr = std::make_unique<tkexpr>();
            if (!expr(formof(a.expr), *ka.expr, depth)) return false;
            args_.push_back(&ka);
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
    bool failed_ = false;   // more names than slots
    bool local_ = false;    // a function names a variable besides its parameters and result
    std::uint32_t heads_ = 0;   // the slots of the parameters and result of the function at hand
    std::uint32_t params_ = 0;  // the slots of its parameters
    bool dupes_ = false;        // a function names a parameter twice
    std::vector<const tfuncitem*> queue_;
    std::vector<std::pair<tkcall*, const tfuncitem*>> links_;
    std::vector<tkarg*> args_;
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
