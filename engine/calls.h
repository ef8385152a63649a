#pragma once
// Function calls inside expressions: built-ins, commands, window commands, user functions.
#include <cstdint>
#include <string>

#include "enginefwd.h"

namespace quor {

// One call of a user function: lower-cased name and the argument text.
struct cfuncterm {
    std::string name;
    std::string args;
};

// Value of the call text name(args) whose name is n characters long. A fault inside the
// call adds "Error on function <name> inside compiler " to the memo and is raised again.
double callfunc(const std::string& calltext, long n, tvarlist& vars, tmemo* memo, tfunclist* funcs, tsession& s);

// Built-in k of the math name table applied to the argument text.
double callbuiltin(int k, const std::string& args, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);

// One step of the random built-in's generator: advances seed, then scales it to
// 0 <= result < n (n = x rounded, taken as unsigned 32-bit).
std::int32_t randomstep(std::uint32_t& seed, double x);

// Built-in k (not 8 or 15) applied to the value x of its argument.
double applybuiltin(int k, double x, tsession& s);

// Calls a user function: binds the arguments in a temporary copy "temp" of vars, runs the
// body, copies by-name arguments back and returns the result variable.
double calluserfunc(const cfuncterm& term, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s);

}  // namespace quor
