#pragma once
// A notebook cell's text: its function blocks, its procedure lines and whether it is complete.
#include <string>
#include <vector>

#include "enginefwd.h"

namespace quorkernel {

struct tcellline {
    int number;         // 1-based line of the cell
    std::string text;
};

struct tcell {
    std::vector<std::string> lines;        // every line of the cell
    std::vector<tcellline> procedure;      // the lines outside function blocks
    bool functions = false;                // the cell holds at least one function head
    bool openfunction = false;             // its last function block has no endfunction
};

// Splits a cell's text into lines, and those into function blocks (head to endfunction, as
// a unit is read) and the procedure's lines.
tcell splitcell(const std::string& code);

// "complete", "incomplete" (a function block, flow block, bracket or quote still open at the
// end) or "invalid" (a fault that more lines cannot mend) for the cell's text.
std::string completeness(const std::string& code, quor::tsession& s);

}  // namespace quorkernel
