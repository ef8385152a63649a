#pragma once
// The statement executor: calls of built-ins, assignments and expressions, as text results.
#include <optional>
#include <string>

#include "enginefwd.h"
#include "session.h"

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

// The value of a text expression: quoted literals ('' for a quote) and computed parts.
std::string evaltext(const std::string& text, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);

// A name argument: put through evaltext only when it holds a quote.
std::string computedname(const std::string& arg, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);

}  // namespace quor
