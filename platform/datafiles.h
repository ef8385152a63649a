#pragma once
// Data files of the desktop programs (name tables, default pictures), found as the runner
// finds them: the current directory first, then the program's own data directories.
#include <string>
#include <vector>

namespace quor {

// The folders searched, in order ("" is the current directory).
std::vector<std::string> programdatadirs();
// The path of a bare data-file name, or "" when no folder has it.
std::string programdatafile(const std::string& name);

}  // namespace quor
