#include "flow.h"

#include "fault.h"
#include "funcstore.h"
#include "host.h"
#include "numtext.h"
#include "scanner.h"
#include "session.h"
#include "statements.h"
#include "variables.h"

namespace quor {

namespace {

// Runs a statement and reads its result as a number; a text result is a failure.
double numberof(const std::string& text, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    const std::string r = execstatement(text, vars, funcs, memo, s);
    double v = 0;
    if (!texttonumber(r, v)) throw tfault("'" + r + "' is not a valid number");
    return v;
}

}  // namespace

std::string blockterm(const std::string& line, tsession& s) { return blockterm(line, s.editor()); }

std::string blockterm(const std::string& line, bool editordialect)
{
    const std::size_t open = line.find('(');
    if (open == std::string::npos) return "";
    const long b = static_cast<long>(open) + 1;
    const long e = std::min<long>(matchparen(line, b, editordialect ? tdialect::editor : tdialect::plotter) - 1, static_cast<long>(line.size()));
    return e > b ? line.substr(static_cast<std::size_t>(b), static_cast<std::size_t>(e - b)) : "";
}

int runlines(tfuncstore& store, int first, int last, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    const tnestguard<&tsession::blockdepth, maxblockdepth> guard(s, memo);
    s.step();   // a loop over no statements counts its passes here
    if (first > last) s.idlepass();
    const tplaceguard keepplace(s);
    int result = 1;
    int current = first;
    try {
        while (current <= last) {
            if (current >= 0 && current < store.count())
                s.place = {&store.source, store.sourceline(current)};
            int code = 0;
            const int L = store.findblockend(current, code);
            if (code == kwif) {
                result = runif(store, L, current, vars, funcs, memo, s);
                if (result == kwbreak) break;
            } else if (code == kwfor) {
                runfor(store, L, current, vars, funcs, memo, s);
            } else if (code == kwwhile) {
                runwhile(store, L, current, vars, funcs, memo, s);
            } else if (code == kwbreak) {
                result = kwbreak;
                break;
            } else {
                execstatement(store.line(current), vars, funcs, memo, s);
            }
            current = L + 1;
        }
    } catch (const std::exception& e) {
        // The innermost range that sees the failure records where it happened.
        if (store.fault.line < 0 && current >= 0 && current < store.count()) {
            store.fault.line = current;
            store.fault.sourceline = store.sourceline(current);
            store.fault.text = e.what();
        }
        throw;
    }
    return result;
}

int runif(tfuncstore& store, int E, int I, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    int result = 1;
    const int elseindex = store.elseline(I, E);
    const double condition = numberof(blockterm(store.line(I), s), vars, funcs, memo, s);
    if (condition >= 1) result = runlines(store, I + 1, (elseindex >= 0 ? elseindex : E) - 1, vars, funcs, memo, s);
    else if (elseindex >= 0) result = runlines(store, elseindex + 1, E - 1, vars, funcs, memo, s);
    return result;
}

int runwhile(tfuncstore& store, int E, int I, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    int result = 0;
    try {
        const std::string condition = blockterm(store.line(I), s);
        for (;;) {
            if (numberof(condition, vars, funcs, memo, s) < 1) break;
            result = runlines(store, I + 1, E - 1, vars, funcs, memo, s);
            if (result == kwbreak) break;
        }
    } catch (const std::exception&) {
        memoline(memo, "Error on while flow");
        throw tfault("Error on while flow");
    }
    return result;
}

int runfor(tfuncstore& store, int E, int I, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    const cfortermstr term = getforterm(blockterm(store.line(I), s), vars, funcs, s);
    vars.setvar(term.name, term.start, &funcs, memo, s);
    int result = 1;
    try {
        if (term.start != term.end) {
            const double direction = term.end > term.start ? 1 : -1;
            for (;;) {
                const double v = vars.getvalue(term.name, &funcs, memo, s);
                if ((term.end - v) * direction < 0) break;
                result = runlines(store, I + 1, E - 1, vars, funcs, memo, s);
                if (result == kwbreak) break;
                const double now = vars.getvalue(term.name, &funcs, memo, s);
                vars.setvar(term.name, now + term.step, &funcs, memo, s);
            }
        } else {
            result = runlines(store, I + 1, E - 1, vars, funcs, memo, s);
        }
    } catch (const std::exception&) {
        memoline(memo, "Error on for flow");
        throw tfault("Error on for flow");
    }
    return result;
}

cfortermstr getforterm(const std::string& term, tvarlist& vars, tfunclist& funcs, tsession& s)
{
    cfortermstr r;
    const std::size_t at = term.find(":=");
    if (at == std::string::npos) throw tfault("Error on get term of for flow: " + term);
    r.name = term.substr(0, at);
    std::string rest = term.substr(at + 2);
    std::string unconsumed = rest;
    try {
        const std::size_t c1 = rest.find(':');
        if (c1 == std::string::npos) throw tfault("no end part");
        r.start = numberof(rest.substr(0, c1), vars, funcs, nullptr, s);
        rest = rest.substr(c1 + 1);
        unconsumed = rest;
        const std::size_t c2 = rest.find(':');
        if (c2 != std::string::npos) {
            r.step = numberof(rest.substr(0, c2), vars, funcs, nullptr, s);
            rest = rest.substr(c2 + 1);
            unconsumed = rest;
        }
        r.end = numberof(rest, vars, funcs, nullptr, s);
    } catch (const std::exception&) {
        throw tfault("Error on get term of for flow: " + unconsumed);
    }
    return r;
}

}  // namespace quor
