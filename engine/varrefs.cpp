// Variable references: name or name[i,...], read and written through index expressions.
#include <algorithm>

#include "evaluator.h"
#include "fault.h"
#include "host.h"
#include "numtext.h"
#include "scanner.h"
#include "session.h"
#include "variables.h"

namespace quor {

tsplitref splitref(const std::string& ref)
{
    const std::size_t open = ref.find('[');
    const long b = static_cast<long>(open) + 1;
    const long e = matchbracket(ref, b);
    const long last = std::min<long>(e - 1, static_cast<long>(ref.size()));
    return {ref.substr(0, open), last > b ? ref.substr(static_cast<std::size_t>(b), static_cast<std::size_t>(last - b)) : ""};
}

int topcommas(const std::string& t, tdialect d)
{
    int n = 0;
    const long len = static_cast<long>(t.size());
    for (long i = 1; i <= len; ++i) {
        const char c = charat(t, i);
        if (c == '(') i = matchparen(t, i, d);
        else if (c == '[') i = matchbracket(t, i);
        else if (c == ',') ++n;
    }
    return n;
}

std::vector<std::int64_t> tvarlist::evalindexes(const std::string& indextext, tfunclist* funcs, tmemo* memo, tsession& s)
{
    std::vector<std::int64_t> out;
    std::string rest = indextext;
    for (;;) {
        const std::string item = splitarg(rest, s.dialect);
        if (item.empty()) break;
        out.push_back(truncint(evaluate(item, *this, funcs, memo, s)));
    }
    return out;
}

std::int64_t tvarlist::elementoffset(const std::string& n, const std::string& indextext, tmemo* memo,
                                     tfunclist* funcs, tsession& s, bool indexlines)
{
    const int dims = 1 + topcommas(indextext, s.dialect);
    if (dims == 1) return truncint(evaluate(indextext, *this, funcs, memo, s));

    auto report = [&](const std::string& text) {
        s.host.showmessage(text);
        if (indexlines && memo) memo->append(text);
    };
    const tvar* v = find(n);
    if (!v) {
        report("Error on invalid variable name :" + n);
        return -1;
    }
    if (static_cast<int>(v->demension.size()) != dims) {
        report("Error on invalid index of variable :" + n + "[" + indextext + "]");
        return -1;
    }
    const std::vector<std::int64_t> j = evalindexes(indextext, funcs, memo, s);
    v = find(n);   // the index expressions may have changed the list
    if (!v || static_cast<int>(j.size()) != dims || static_cast<int>(v->demension.size()) != dims) {
        // An empty index item stops the index list short: no element is addressed.
        report("Error on invalid index of variable :" + n + "[" + indextext + "]");
        return -1;
    }
    __int128 offset = 0;
    for (int i = 0; i < dims; ++i) {
        if (j[static_cast<std::size_t>(i)] >= v->demension[static_cast<std::size_t>(i)]) {
            const std::string text = "Error on out of range of variable " + n;
            if (indexlines && memo) memo->append(text);
            throw tfault(text);
        }
        offset += static_cast<__int128>(j[static_cast<std::size_t>(i)]) * v->asistance[static_cast<std::size_t>(i)];
    }
    constexpr std::int64_t limit = std::int64_t(1) << 62;
    if (offset > limit) return limit;
    if (offset < -limit) return -limit;
    return static_cast<std::int64_t>(offset);
}

int tvarlist::setvar(const std::string& ref, double x, tfunclist* funcs, tmemo* memo, tsession& s)
{
    if (ref.find('[') != std::string::npos) {
        const tsplitref r = splitref(ref);
        const std::int64_t k = elementoffset(r.name, r.index, memo, funcs, s);
        if (k < 0) return 0;
        try {
            setelement(r.name, k, x);
        } catch (const std::exception&) {
            throw tfault("Error on set " + ref + "[] value");
        }
        return 1;
    }
    try {
        setscalar(ref, x);
    } catch (const std::exception&) {
        const std::string text = "Error on set " + ref + " variable value";
        memoline(memo, text);
        throw tfault(text);
    }
    return 1;
}

double tvarlist::getvalue(const std::string& ref, tfunclist* funcs, tmemo* memo, tsession& s)
{
    if (ref.find('[') == std::string::npos) {
        if (const tvar* v = find(ref)) return v->value;
        if (s.editor()) s.host.showmessage("The variable: " + ref + "is not in.the final result maybe incorrected");
        return -1;
    }
    const tsplitref r = splitref(ref);
    const std::int64_t k = elementoffset(r.name, r.index, memo, funcs, s, false);
    if (k < 0) {
        if (s.editor()) s.host.showmessage("Error on invalid variable: " + r.name + " the final result maybe incorrected");
        return -1;
    }
    if (varexists(r.name)) return getelement(r.name, k, s);
    if (s.editor()) s.host.showmessage("The variable: " + r.name + "is not in.the final result maybe incorrected");
    return 0;
}

void copyvar(tvarlist& T, const std::string& targetref, const std::string& sourceref, tvarlist& S, tsession& s)
{
    const double x = S.getvalue(sourceref, nullptr, nullptr, s);
    T.setvar(targetref, x, nullptr, nullptr, s);
    if (targetref.find('[') != std::string::npos || sourceref.find('[') != std::string::npos) return;
    const tvar* source = S.find(sourceref);
    tvar* target = T.find(targetref);
    if (!source || !target) return;
    if (source == target) return;
    T.reserveelements(static_cast<std::int64_t>(source->data.size()) - target->count());
    target->data = source->data;
    target->demension = source->demension;
    target->asistance = source->asistance;
}

}  // namespace quor
