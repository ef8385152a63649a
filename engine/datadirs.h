#pragma once
// Where the programs look for their data files (name tables, default pictures).
#include <string>
#include <vector>

namespace quor {

// The current directory (""), the executable's folder, its ../share/quor, then installdir.
std::vector<std::string> datadirs(const std::string& installdir);

// The folder of the running executable, without a trailing separator; "" when unknown.
std::string exedir();

// The path of name in the first of dirs that holds it as a regular file (a bare name for
// the current directory); "" when none does. A name with a folder part is taken as it is.
std::string finddatafile(const std::string& name, const std::vector<std::string>& dirs);

}  // namespace quor
