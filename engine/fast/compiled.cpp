// Scanning texts into the fast path's forms. Each form records, in order, what the literal
// scanners do with the text: which operands and operators they push, where groups, calls
// and references stand. Only the text and the dialect decide that.
#include "compiled.h"

#include <cstring>

#include "flow.h"
#include "funclist.h"
#include "funcstore.h"
#include "numtext.h"
#include "partlist.h"
#include "scanner.h"
#include "statements.h"
#include "variables.h"

namespace quor {

namespace {


// The value addtext gives a number text.
double numbervalue(const std::string& text)
{
    tdatalist one;
    one.addtext(text);
    return one.items[0];
}

std::shared_ptr<const tccall> compilecall(const std::string& calltext, long n, tdialect d)
{
    auto c = std::make_shared<tccall>();
    c->name = lowercase(calltext.substr(0, static_cast<std::size_t>(n)));
    c->namebit = tnametable::filterbit(c->name);
    const long len = static_cast<long>(calltext.size());
    if (len - 1 > n + 1) c->args = calltext.substr(static_cast<std::size_t>(n + 1), static_cast<std::size_t>(len - n - 2));
    c->argexpr.text = c->args;
    c->argexpr.dialect = d;
    return c;
}

// The first word of a store line, as the function store reads keywords.
std::string firstword(const std::string& t)
{
    std::size_t b = 0;
    while (b < t.size() && t[b] == ' ') ++b;
    std::size_t e = b;
    while (e < t.size() && t[e] != ' ' && t[e] != '(') ++e;
    return t.substr(b, e - b);
}

std::shared_ptr<const tcforterm> compileforterm(const std::string& term, tdialect d)
{
    auto f = std::make_shared<tcforterm>();
    f->term = term;
    const std::size_t at = term.find(":=");
    if (at == std::string::npos) {
        f->noassign = true;
        return f;
    }
    f->name = compileref(term.substr(0, at), d);
    std::string rest = term.substr(at + 2);
    f->unconsumed[0] = rest;
    const std::size_t c1 = rest.find(':');
    if (c1 == std::string::npos) {
        f->noend = true;
        return f;
    }
    f->start = compilestatement(rest.substr(0, c1), d, true);
    rest = rest.substr(c1 + 1);
    f->unconsumed[1] = rest;
    const std::size_t c2 = rest.find(':');
    if (c2 != std::string::npos) {
        f->hasstep = true;
        f->step = compilestatement(rest.substr(0, c2), d, true);
        rest = rest.substr(c2 + 1);
    }
    f->unconsumed[2] = rest;
    f->end = compilestatement(rest, d, true);
    return f;
}

}  // namespace

std::shared_ptr<const tcref> compileref(const std::string& ref, tdialect d)
{
    auto r = std::make_shared<tcref>();
    r->ref = ref;
    if (ref.find('[') == std::string::npos) {
        r->key = shortstring(ref);
        return r;
    }
    r->indexed = true;
    const tsplitref parts = splitref(ref);
    r->name = parts.name;
    r->namekey = shortstring(parts.name);
    r->index = parts.index;
    r->dims = 1 + topcommas(parts.index, d);
    r->indexexpr.text = parts.index;
    r->indexexpr.dialect = d;
    if (r->dims > 1) {
        // The items as the index evaluation cuts them, up to the first empty one.
        std::string rest = parts.index;
        for (;;) {
            std::string item = splitarg(rest, d);
            if (item.empty()) break;
            r->items.push_back({std::move(item), d, nullptr});
        }
    }
    return r;
}

std::shared_ptr<const tcexpr> compileexpr(const std::string& text, tdialect d)
{
    auto x = std::make_shared<tcexpr>();
    const std::string t = " " + markunary(text) + " ";
    const long len = static_cast<long>(t.size());
    x->length = len;
    std::string pending;
    auto push = [&](tcstep step) {
        if (step.kind == tcstep::op) ++x->operators;
        else ++x->operands;
        x->steps.push_back(std::move(step));
    };
    auto op = [&](int code) {
        tcstep step;
        step.kind = tcstep::op;
        step.code = code;
        push(std::move(step));
    };
    for (long p = 1; p <= len; ++p) {
        const char c = charat(t, p);
        const char next = charat(t, p + 1);
        if (c == '(') {
            const long q = matchparen(t, p, d);
            tcstep step;
            step.kind = tcstep::nested;
            auto g = std::make_shared<tlazy<tcexpr>>();
            g->text = slice(t, p + 1, q - 1);
            g->dialect = d;
            step.group = std::move(g);
            push(std::move(step));
            p = q;
        } else if (c == '*' || c == '+' || c == '/' || c == '^') {
            op(opcode(std::string(1, c)));
        } else if (c == '-') {
            if (signposition(charat(t, p - 1)) && (digitchar(next) || next == '.')) pending += c;
            else op(opcode("-"));
        } else if (digitchar(c) || c == '.') {
            pending += c;
            if (!digitchar(next) && next != '.' && next != 'e') {
                tcstep step;
                step.kind = tcstep::number;
                step.value = numbervalue(pending);
                push(std::move(step));
                pending.clear();
            }
        } else if (c == 'e' && digitchar(charat(t, p - 1)) && (next == '-' || digitchar(next))) {
            pending += 'e';
            if (next == '-') {
                pending += '-';
                ++p;
            }
        } else if (lowerchar(c)) {
            const tnamescan n = scanname(t, p, d);
            const std::string ref = slice(t, p, n.last);
            tcstep step;
            if (charat(t, p + n.length) == '(') {
                step.kind = tcstep::call;
                step.callform = compilecall(ref, n.length, d);
            } else {
                step.kind = tcstep::var;
                step.ref = compileref(ref, d);
            }
            push(std::move(step));
            p = n.last;
        } else if (c == '<') {
            if (next == '=' || next == '>') {
                op(opcode(std::string("<") + next));
                ++p;
            } else {
                op(opcode("<"));
            }
        } else if (c == '>') {
            if (next == '=') {
                op(opcode(">="));
                ++p;
            } else {
                op(opcode(">"));
            }
        } else if (c == '=') {
            op(opcode("="));
        }
    }
    // Plain operands: numbers, names and elements (whose indexes are looked at when run).
    auto plain = [](const tcstep& st) {
        return st.kind == tcstep::number || st.kind == tcstep::var;
    };
    x->single = x->steps.size() == 1 && plain(x->steps[0]);
    x->binary = x->steps.size() == 3 && plain(x->steps[0]) && x->steps[1].kind == tcstep::op && plain(x->steps[2]);
    if (x->binary) x->op = quickopof(x->steps[1].code);
    if (x->steps.size() == 5 && plain(x->steps[0]) && x->steps[1].kind == tcstep::op && plain(x->steps[2]) &&
        x->steps[3].kind == tcstep::op && plain(x->steps[4])) {
        x->op = quickopof(x->steps[1].code);
        x->op2 = quickopof(x->steps[3].code);
        x->ternary = x->op != tquickop::none && x->op2 != tquickop::none;
        x->leftfirst = codepriority(x->steps[1].code) >= codepriority(x->steps[3].code);
    }
    return x;
}

std::shared_ptr<const tcstatement> compilestatement(const std::string& text, tdialect d, bool callforms)
{
    auto st = std::make_shared<tcstatement>();
    if (callforms) {
        if (const auto call = splitcall(text, d)) {
            st->callform = true;
            st->callname = call->name;
            st->callargs = call->args;
        }
    }
    std::string rest = text;
    std::size_t at;
    while ((at = rest.find(":=")) != std::string::npos) {
        st->targets.push_back(compileref(rest.substr(0, at), d));
        rest = rest.substr(at + 2);
    }
    st->expr = compileexpr(rest, d);
    if (st->expr->single || st->expr->binary || st->expr->ternary) {
        if (st->targets.empty()) st->quickvalue = true;
        else st->quick = st->targets.size() == 1;
    }
    if (st->quick && !st->targets[0]->indexed) {
        const std::vector<tcstep>& steps = st->expr->steps;
        auto target = [&](const tcstep& x) {
            return x.kind == tcstep::var && !x.ref->indexed && x.ref->key == st->targets[0]->key;
        };
        st->targetfirst = target(steps.front());
        st->targetlast = steps.size() == 3 && target(steps.back());
    }
    return st;
}

void compilestore(tcstore& out, const std::vector<std::string>& texts, const std::vector<int>& sourcelines, tdialect d)
{
    const int count = static_cast<int>(texts.size());
    out.lines.assign(texts.size(), tcline{});
    std::vector<int> open;   // openers not yet closed, innermost last
    for (int i = 0; i < count; ++i) {
        tcline& l = out.lines[static_cast<std::size_t>(i)];
        l.code = keywordcode(firstword(texts[static_cast<std::size_t>(i)]));
        l.sourceline = sourcelines[static_cast<std::size_t>(i)];
        l.end = i;
        if (l.code == kwif || l.code == kwfor || l.code == kwwhile) {
            l.end = count;
            open.push_back(i);
        } else if (l.code == kwend && !open.empty()) {
            out.lines[static_cast<std::size_t>(open.back())].end = i;
            open.pop_back();
        } else if (l.code == kwelse && !open.empty()) {
            tcline& owner = out.lines[static_cast<std::size_t>(open.back())];
            if (owner.code == kwif && owner.elseindex < 0) owner.elseindex = i;
        }
    }
    // flows[i]: lines before i that are if, for, while or break.
    std::vector<int> flows(texts.size() + 1, 0);
    for (int i = 0; i < count; ++i) {
        const int c = out.lines[static_cast<std::size_t>(i)].code;
        const bool flow = c == kwif || c == kwfor || c == kwwhile || c == kwbreak;
        flows[static_cast<std::size_t>(i) + 1] = flows[static_cast<std::size_t>(i)] + (flow ? 1 : 0);
    }
    const bool editor = d == tdialect::editor;
    for (int i = 0; i < count; ++i) {
        tcline& l = out.lines[static_cast<std::size_t>(i)];
        const std::string& text = texts[static_cast<std::size_t>(i)];
        if (l.code == kwif || l.code == kwwhile) l.stmt = compilestatement(blockterm(text, editor), d, true);
        else if (l.code == kwfor) l.forterm = compileforterm(blockterm(text, editor), d);
        else if (l.code != kwbreak) l.stmt = compilestatement(text, d, true);
    }
    auto plain = [&](int first, int last) {   // no flow line in first..last
        return first > last || flows[static_cast<std::size_t>(last) + 1] == flows[static_cast<std::size_t>(first)];
    };
    // first..last: plain, not empty, all short statements whose operator (if any) can go the
    // quick way; a division, say, would leave the quick pass every time.
    auto quick = [&](int first, int last) {
        if (first > last) return false;
        for (int j = first; j <= last; ++j) {
            const tcstatement& x = *out.lines[static_cast<std::size_t>(j)].stmt;
            if (x.callform || !(x.quick || x.quickvalue)) return false;
            if (x.expr->binary && x.expr->op == tquickop::none) return false;
        }
        return true;
    };
    out.plain = plain(0, count - 1);
    out.quick = out.plain && quick(0, count - 1);
    for (int i = 0; i < count; ++i) {
        tcline& l = out.lines[static_cast<std::size_t>(i)];
        if (l.end >= count || !(l.code == kwfor || l.code == kwwhile || l.code == kwif)) continue;
        // The body; for an if, the part before its else, and then the part after.
        const int last = (l.code == kwif && l.elseindex >= 0 ? l.elseindex : l.end) - 1;
        l.plainbody = plain(i + 1, last);
        l.quickbody = l.plainbody && quick(i + 1, last);
        if (l.code == kwif && l.elseindex >= 0) {
            l.plainelse = plain(l.elseindex + 1, l.end - 1);
            l.quickelse = l.plainelse && quick(l.elseindex + 1, l.end - 1);
        }
    }
}

const tcexpr& formof(const tlazy<tcexpr>& lazy)
{
    if (!lazy.form) lazy.form = compileexpr(lazy.text, lazy.dialect);
    return *lazy.form;
}

tcodecache& codecache(tsession& s)
{
    if (!s.code) s.code = std::make_shared<tcodecache>();
    return *s.code;
}

void tcodecache::account(std::size_t bytes)
{
    // Computed texts can be new on every run of a statement: past a budget, start over.
    constexpr std::size_t budget = std::size_t(64) << 20;
    bytes_ += bytes + 256;
    if (bytes_ <= budget) return;
    for (auto& m : exprs_) m.clear();
    for (auto& m : statements_) m.clear();
    bytes_ = bytes + 256;
}

std::shared_ptr<const tcexpr> tcodecache::expr(const std::string& text, tdialect d)
{
    auto& map = exprs_[d == tdialect::editor ? 0 : 1];
    const auto it = map.find(text);
    if (it != map.end()) return it->second;
    auto form = compileexpr(text, d);
    account(text.size());
    map.emplace(text, form);
    return form;
}

std::shared_ptr<const tcstatement> tcodecache::statement(const std::string& text, tdialect d)
{
    auto& map = statements_[d == tdialect::editor ? 0 : 1];
    const auto it = map.find(text);
    if (it != map.end()) return it->second;
    auto form = compilestatement(text, d, true);
    account(text.size());
    map.emplace(text, form);
    return form;
}

}  // namespace quor
