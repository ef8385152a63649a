#pragma once
// The expression evaluator: scans a text once, reducing operands and operators by priority.
#include <string>

#include "enginefwd.h"

namespace quor {

// Value of an expression text in the given context (funcs and memo may be absent).
double evaluate(const std::string& text, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s);

// Evaluates an assignment chain a:=b:=expr right to left and returns the value; a text
// without ":=" is an expression.
double evalassign(const std::string& text, tvarlist& vars, tfunclist* funcs, tmemo* memo, tsession& s);

}  // namespace quor
