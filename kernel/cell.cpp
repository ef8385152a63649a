#include "cell.h"

#include "funcstore.h"
#include "unittext.h"
#include "units.h"

namespace quorkernel {

tcell splitcell(const std::string& code)
{
    tcell c;
    c.lines = quor::splittextlines(code);
    bool inblock = false;
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
        const int cls = quor::getlineclass(c.lines[i]);
        if (!inblock && cls == 1) {
            inblock = true;
            c.functions = true;
        } else if (inblock) {
            if (cls == 2) inblock = false;
        } else {
            c.procedure.push_back({static_cast<int>(i) + 1, c.lines[i]});
        }
    }
    c.openfunction = inblock;
    return c;
}

namespace {

// Bracket depth left open at the end of a line and whether a quote is open; depth below
// zero when a closing bracket has no partner.
struct tbalance {
    int depth = 0;
    bool quote = false;
};

tbalance balance(const std::string& line)
{
    tbalance b;
    for (char ch : line) {
        if (ch == '\'') b.quote = !b.quote;
        else if (b.quote) continue;
        else if (ch == '(' || ch == '[') ++b.depth;
        else if (ch == ')' || ch == ']') {
            if (--b.depth < 0) return b;
        }
    }
    return b;
}

}  // namespace

std::string completeness(const std::string& code, quor::tsession& s)
{
    const tcell c = splitcell(code);
    if (c.openfunction) return "incomplete";
    // A line still open at the very end is being typed; one further up never closes.
    for (std::size_t i = 0; i < c.procedure.size(); ++i) {
        const tbalance b = balance(c.procedure[i].text);
        if (b.depth < 0) return "invalid";
        if (b.depth > 0 || b.quote) return i + 1 == c.procedure.size() ? "incomplete" : "invalid";
    }
    quor::tfuncstore store("Main function");
    for (const tcellline& l : c.procedure) store.assignlines({l.text}, l.number);
    if (store.checkblocks(s).empty()) return "complete";
    // A flow block whose end has not come yet.
    for (int i = 0; i < store.count();) {
        int code = 0;
        const int e = store.scanblockend(i, code);
        if (e >= store.count()) return "incomplete";
        i = e + 1;
    }
    return "invalid";
}

}  // namespace quorkernel
