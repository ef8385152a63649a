#pragma once
// A ready evaluation context for engine tests: scripted host, session, lists with the
// shipped name tables.
#include <string>
#include <vector>

#include "evaluator.h"
#include "fault.h"
#include "funclist.h"
#include "scriptedhost.h"
#include "session.h"
#include "statements.h"
#include "variables.h"

namespace quortest {

// The text of the fault that f raises, or `none` when it raises none.
template <class F>
std::string faulttext(F f, const std::string& none = "(no fault)")
{
    try {
        f();
    } catch (const quor::tfault& e) {
        return e.text();
    }
    return none;
}

// The shipped name tables, in the order the built-ins expect.
inline quor::tnametable mathtable()
{
    return {"abs", "tan", "atan", "cos", "exp", "frac", "ln", "odd", "pi", "random",
            "round", "sin", "sqr", "sqrt", "trunc", "val"};
}
inline quor::tnametable commandtable()
{
    return {"delvar", "cleararr", "load", "plot", "print", "setvar", "redim", "msg", "inputnum", "len", "getdim"};
}
inline quor::tnametable apitable() { return {"getdc", "showwnd", "setwndtext"}; }
inline quor::tnametable stringtable() { return {"getstr", "setstr", "inputstr", "strcpy"}; }

struct context {
    explicit context(quor::tdialect d = quor::tdialect::editor)
        : session(host, d), vars("global", 2), funcs("test", 2)
    {
        funcs.mathnames = mathtable();
        funcs.commandnames = commandtable();
        funcs.apinames = apitable();
        funcs.stringnames = stringtable();
        session.reference = referencepath();
    }

    // QUOR_REFERENCE=1 runs the suites through the literal algorithms instead of the fast path.
    static bool referencepath();

    scriptedhost host;
    quor::tsession session;
    quor::tvarlist vars;
    quor::tfunclist funcs;

    double eval(const std::string& text) { return quor::evaluate(text, vars, &funcs, &host, session); }
    double assign(const std::string& text) { return quor::evalassign(text, vars, &funcs, &host, session); }
    std::string exec(const std::string& text) { return quor::execstatement(text, vars, funcs, &host, session); }
    // Loads unit text given as lines.
    void unit(const std::vector<std::string>& lines);
    // Runs program text as the main procedure (checked first); returns the check's fault.
    std::string run(const std::vector<std::string>& lines);
};

}  // namespace quortest
