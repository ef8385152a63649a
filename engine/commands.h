#pragma once
// The commands and string functions named by the command and string name tables.
#include <string>

#include "enginefwd.h"

namespace quor {

// Runs command k (its line in the command table) with the argument text.
double runcommand(int k, const std::string& args, tvarlist& vars, tmemo* memo, tfunclist& funcs, tsession& s);

// Runs string function k (its line in the string table) and returns its text.
std::string runstringfunc(int k, const std::string& args, tvarlist& vars, tmemo* memo, tfunclist& funcs, tsession& s);

// The load command: assignments of a data file are run, its functions loaded as a unit.
// 1 when loaded, -1 when the file dialog was cancelled, 0 for an empty name.
double loadfromfile(const std::string& args, tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);

}  // namespace quor
