#include "statements.h"

#include <algorithm>

#include "commands.h"
#include "fast/fastrun.h"
#include "evaluator.h"
#include "fault.h"
#include "funclist.h"
#include "host.h"
#include "numtext.h"
#include "scanner.h"
#include "session.h"
#include "windowcmds.h"

namespace quor {

std::optional<tcallform> splitcall(const std::string& st, tsession& s) { return splitcall(st, s.dialect); }

std::optional<tcallform> splitcall(const std::string& st, tdialect d)
{
    if (st.find(":=") != std::string::npos) return std::nullopt;
    const std::size_t open = st.find('(');
    if (open == std::string::npos || open == 0) return std::nullopt;
    std::size_t first = 0;
    while (first < open && st[first] == ' ') ++first;
    if (first + 1 >= open) return std::nullopt;   // a one-character name (or none)
    std::size_t end = first;
    while (end < open && st[end] != ' ') ++end;
    tcallform form;
    form.name = lowercase(st.substr(first, end - first));
    const long b = static_cast<long>(open) + 1;
    const long e = std::min<long>(matchparen(st, b, d) - 1, static_cast<long>(st.size()));
    form.args = e > b ? st.substr(static_cast<std::size_t>(b), static_cast<std::size_t>(e - b)) : "";
    return form;
}

std::string execstatement(const std::string& text, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    if (!s.reference) return fastexecstatement(text, vars, funcs, memo, s);
    // Calls of commands nest statements inside statements, as brackets nest groups.
    const tnestguard<&tsession::groupdepth, maxgroupdepth> guard(s, memo);
    s.beforestatement();
    if (const auto call = splitcall(text, s)) {
        int k = tableindex(funcs.stringnames, call->name);
        if (k >= 0) return runstringfunc(k, call->args, vars, memo, funcs, s);
        k = tableindex(funcs.commandnames, call->name);
        if (k >= 0) return numtotext(runcommand(k, call->args, vars, memo, funcs, s));
        k = tableindex(funcs.apinames, call->name);
        if (k >= 0) return numtotext(runapi(k, call->args, vars, memo, funcs, s));
    }
    return numtotext(evalassign(text, vars, &funcs, memo, s));
}

namespace {

// Runs a computed part that calls getstr of lead.name, as execstatement would, keeping the
// variable's elements instead of making their text. False (nothing run) for any other part.
bool takelead(const std::string& part, ttextlead& lead, std::string& out, tvarlist& vars, tfunclist& funcs,
              tmemo* memo, tsession& s)
{
    const auto call = splitcall(part, s.dialect);
    if (!call || call->args != lead.name || tableindex(funcs.stringnames, call->name) != 0) return false;
    // A quote would make the name a text expression; a "[" reads as no text at all.
    if (lead.name.find_first_of("'[") != std::string::npos) return false;
    const tnestguard<&tsession::groupdepth, maxgroupdepth> guard(s, memo);
    s.beforestatement();
    if (const tvar* v = vars.find(lead.name)) {
        lead.elements = v->data;
        lead.taken = true;
    } else {
        out += vars.gettext(lead.name, s);
    }
    return true;
}

}  // namespace

std::string evaltext(const std::string& text, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s,
                     ttextlead* lead)
{
    const std::size_t len = text.size();
    std::string out;
    // A computed part is run and replaced by its result; blank parts are only spacing.
    auto computed = [&](std::size_t from, std::size_t to) {   // 0-based, to exclusive
        if (to <= from) return;
        const std::string part = text.substr(from, to - from);
        if (part.find_first_not_of(' ') == std::string::npos) return;
        if (from == 0 && lead && takelead(part, *lead, out, vars, funcs, memo, s)) return;
        out += execstatement(part, vars, funcs, memo, s);
    };
    std::size_t pos = 0;
    while (pos < len) {
        const long p1 = static_cast<long>(pos) + 1;
        const long l = static_cast<long>(len);
        const long q = p1 < l ? findquote(text, p1, l, 0, s.dialect) : (text[pos] == '\'' ? p1 : 0);
        if (q <= 0) break;
        computed(pos, static_cast<std::size_t>(q - 1));
        const long e = literalend(text, q, s.dialect);
        const std::size_t stop = e > 0 ? static_cast<std::size_t>(e - 1) : len;   // an unclosed literal runs to the end
        // The literal's content, each doubled quote standing for one.
        for (std::size_t i = static_cast<std::size_t>(q); i < stop;) {
            const std::size_t quote = std::min(text.find('\'', i), stop);
            out.append(text, i, quote - i);
            if (quote == stop) break;
            out += '\'';
            i = quote + (quote + 1 < len && text[quote + 1] == '\'' ? 2 : 1);
        }
        pos = stop + 1;
    }
    computed(pos, len);
    return out;
}

std::string computedname(const std::string& arg, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    if (arg.find('\'') == std::string::npos) return arg;
    return evaltext(arg, vars, funcs, memo, s);
}

}  // namespace quor
