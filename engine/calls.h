#pragma once
// Function calls inside expressions: built-ins, commands, window commands, user functions.
#include <cstdint>
#include <string>

#include "enginefwd.h"
#include "session.h"

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
// The bookkeeping of one user-function call: a level of call nesting, fresh bracket and
// block depths for the body, and the caller's elements charged to the copy budget (a call
// past it fails with "Error on assign varlist"). Restored when the call ends.
class tcallframe {
public:
    tcallframe(const tvarlist& vars, tmemo* memo, tsession& s);
    // The same for a caller whose variables hold that many elements together.
    tcallframe(long long elements, tmemo* memo, tsession& s);
    ~tcallframe();
    tcallframe(const tcallframe&) = delete;
    tcallframe& operator=(const tcallframe&) = delete;

private:
    void charge();   // the copy budget, and fresh depths for the body
    tnestguard<&tsession::calldepth, maxcalldepth> guard_;
    tsession& s_;
    long long elements_ = 0;
    int groups_, blocks_;
};

double calluserfunc(const cfuncterm& term, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s);

}  // namespace quor
