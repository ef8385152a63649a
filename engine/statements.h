#pragma once
// The statement executor: calls of built-ins, assignments and expressions, as text results.
#include <optional>
#include <string>

#include "enginefwd.h"
#include "session.h"
#include "variables.h"

namespace quor {

// Runs one plain statement and returns its result as text. With no memo, anything that
// would be appended to the memo fails the statement instead.
std::string execstatement(const std::string& text, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);

struct tcallform {
    std::string name;   // lower-cased
    std::string args;
};
// The call form name(args) of a statement, if it is one.
std::optional<tcallform> splitcall(const std::string& statement, tsession& s);
std::optional<tcallform> splitcall(const std::string& statement, tdialect d);

// A text expression that may begin with the text of the variable it is to be stored in.
struct ttextlead {
    std::string name;         // the variable the text goes to
    bool taken = false;       // the text began with getstr(name): its elements are here,
    telements elements;       // as read then, and left out of evaltext's result
};

// The value of a text expression: quoted literals ('' for a quote) and computed parts.
// With a lead, a first computed part that is getstr of lead->name (with the same effects
// as running it) hands over the variable's elements instead of their text.
std::string evaltext(const std::string& text, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s,
                     ttextlead* lead = nullptr);

// A name argument: put through evaltext only when it holds a quote.
std::string computedname(const std::string& arg, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);

}  // namespace quor
