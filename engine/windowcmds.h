#pragma once
// The window commands: drawing context, show mode and caption of a window by handle.
#include <string>

#include "enginefwd.h"

namespace quor {

// Runs window command k (its line in the window-command table); argument faults add a
// memo line and give 0.
double runapi(int k, const std::string& args, tvarlist& vars, tmemo* memo, tfunclist& funcs, tsession& s);

}  // namespace quor
