#include "statements.h"

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

std::string evaltext(const std::string& text, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    const long len = static_cast<long>(text.size());
    std::string out;
    // A computed part is run and replaced by its result; blank parts are only spacing.
    auto computed = [&](long from, long to) {
        if (to < from) return;
        const std::string part = text.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from + 1));
        if (part.find_first_not_of(' ') == std::string::npos) return;
        out += execstatement(part, vars, funcs, memo, s);
    };
    long pos = 1;
    while (pos <= len) {
        long q = pos < len ? findquote(text, pos, len, 0, s.dialect) : (charat(text, pos) == '\'' ? pos : 0);
        if (q <= 0) break;
        computed(pos, q - 1);
        const long e = literalend(text, q, s.dialect);
        const long stop = e > 0 ? e : len + 1;   // an unclosed literal runs to the end
        for (long i = q + 1; i < stop; ++i) {
            out += charat(text, i);
            if (charat(text, i) == '\'' && charat(text, i + 1) == '\'') ++i;
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
