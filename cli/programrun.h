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

// Fills a store "Main function" with the text, checks it (a fault F is reported as
// "Error on " + F in a box and the memo, and nothing runs), then runs it.
trunresult runprogram(const std::string& text, quor::tvarlist& vars, quor::tfunclist& funcs,
                      tconsolehost& host, quor::tsession& s);

// The places the name tables are looked for: the current directory, then the program's
// own data directories.
std::vector<std::string> tabledirs(const std::string& chosen);

}  // namespace quorcli
