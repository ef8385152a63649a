#pragma once
// Running a program text as the editor's main procedure does.
#include <string>
#include <vector>

#include "enginefwd.h"
#include "funcstore.h"


namespace quorcli {

class tconsolehost;

enum class toutcome { ended, stopped, notstarted };

struct trunresult {
    toutcome outcome = toutcome::ended;
    quor::tfaultplace fault;   // where a stopped run failed
};

// Fills a store "Main function" with the text of the file named source, checks it (a fault
// F is reported as "Error on " + F in a box and the memo, and nothing runs), then runs it.
trunresult runprogram(const std::string& text, quor::tvarlist& vars, quor::tfunclist& funcs,
                      tconsolehost& host, quor::tsession& s, const std::string& source = "");

// The places the name tables are looked for: the current directory, then the program's
// own data directories.
std::vector<std::string> tabledirs(const std::string& chosen);

// " (looked in: DIR, ...)" for a name table found in none of dirs.
std::string lookedin(const std::vector<std::string>& dirs);

// Why the file cannot be read ("No such file or directory", "Is a directory", ...);
// empty when it opens.
std::string readfailure(const std::string& path);

}  // namespace quorcli
