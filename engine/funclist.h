#pragma once
// User-function items, the name-ordered function list and the four name tables.
#include <memory>
#include <string>
#include <vector>

#include "session.h"

namespace quor {

// One user-defined function: its body lines and what its head declares.
class tfuncitem {
public:
    std::vector<std::string> lines;    // body lines, unchanged
    std::string name;                  // function name as written in the head
    std::vector<std::string> params;   // parameter names, untrimmed
    std::string resultname;            // result variable
    std::string source;                // the unit file it was read from; empty when not known
    int firstline = 1;                 // line of the first body line in that file
    int paramcount() const { return static_cast<int>(params.size()); }
    // The fast path's scanned body, per dialect; an item is never changed once listed.
    mutable std::shared_ptr<const struct tcbody> compiled[2];

    // Sets name and result name from a head "function r=name(a,b)" and appends the
    // parameters; body lines are untouched.
    void parsehead(const std::string& head, tdialect d = tdialect::editor);
};

// A list of text lines looked up without regard to case (first whole-line match).
using tnametable = std::vector<std::string>;
// Index of name in the table, or -1.
int tableindex(const tnametable& table, const std::string& name);

// The global function list: items in strictly increasing byte order of name.
class tfunclist {
public:
    tfunclist(const std::string& name, int tag);

    int tag;
    std::string name;
    std::string basedir;
    tnametable commandnames;
    tnametable mathnames;
    tnametable apinames;
    tnametable stringnames;

    int count() const { return static_cast<int>(items_.size()); }
    const tfuncitem& item(int i) const { return *items_[static_cast<std::size_t>(i)]; }

    // Inserts in name order, replacing an item of the same name; returns the new count.
    int insertfunc(std::unique_ptr<tfuncitem> item);
    // The item of exactly this name (binary search), or null.
    const tfuncitem* findfunc(const std::string& n) const;
    // Removes every item; the name tables stay.
    void clear() { items_.clear(); }

private:
    std::vector<std::unique_ptr<tfuncitem>> items_;
};

// A new item from a head line and its body lines.
std::unique_ptr<tfuncitem> makefuncitem(const std::string& head, const std::vector<std::string>& body,
                                        tdialect d = tdialect::editor);

}  // namespace quor
