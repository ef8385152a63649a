#pragma once
// The function store: one procedure's statement lines, checked and run.
#include <string>
#include <vector>

#include "enginefwd.h"

namespace quor {

// Keyword codes: the position of the word in "ifforwhileendbreakelse".
enum tkeyword { kwnone = 0, kwif = 1, kwfor = 3, kwwhile = 6, kwend = 11, kwbreak = 14, kwelse = 19 };

// Code of a first word; 0 for anything but the six keywords.
int keywordcode(const std::string& word);

struct tstoreline {
    std::string text;
    int sourceline;   // 1-based line of the source text the statement came from
};

// Where and why a run stopped.
struct tfaultplace {
    int line = -1;        // statement index, -1 when the run did not fail
    int sourceline = 0;   // source line of that statement
    std::string text;     // the raised error's own text
    bool stopped = false; // the run was stopped by a failure
};

class tfuncstore {
public:
    explicit tfuncstore(const std::string& name);

    std::string name;
    const std::vector<tstoreline>& lines() const { return lines_; }
    int count() const { return static_cast<int>(lines_.size()); }
    const std::string& line(int i) const { return lines_[static_cast<std::size_t>(i)].text; }
    int sourceline(int i) const { return lines_[static_cast<std::size_t>(i)].sourceline; }

    // Appends the statements of the text lines, cut at every ";", empty lines dropped.
    // Source lines are numbered from firstline. Returns 1.
    int assignlines(const std::vector<std::string>& source, int firstline = 1);
    // Appends one statement line as it stands.
    void addline(const std::string& text, int sourceline);
    // Empty when the store may run, else a description of the first fault.
    std::string checkblocks(tsession& s) const;
    // Runs every line; failures are reported (box and memo line), never passed on.
    void runstore(tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);
    // First word of line i.
    std::string getkeyword(int i) const;
    int keyword(int i) const;
    // Index of the line ending the statement at i (its matching end for a block); the
    // keyword code of line i goes to code. Fails when the end is missing.
    int findblockend(int i, int& code) const;
    // As findblockend, but gives count when the matching end is missing.
    int scanblockend(int i, int& code) const;
    // The else of the if block at line i whose end is line e: the first else line between
    // them outside inner blocks, -1 when there is none.
    int elseline(int i, int e) const;

    // The place of the last failed run of this store.
    tfaultplace fault;

private:
    // The block structure, worked out in one pass when first asked for after a change:
    // per line its keyword code, its matching end (count() when missing) and its else.
    void index() const;

    std::vector<tstoreline> lines_;
    mutable std::vector<int> code_, end_, else_;
    mutable bool indexed_ = false;
};

// Runs a user function's body in its temporary list through a store of its own.
void runfuncbody(const tfuncitem& item, tvarlist& temp, tfunclist& funcs, tmemo* memo, tsession& s);

}  // namespace quor
