#pragma once
// User-function items, the name-ordered function list and the four name tables.
#include <cstdint>
#include <initializer_list>
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
    // Calls of this item now running on the fast path: while any runs, the list keeps the
    // item (and so its scanned body) when it is replaced or removed.
    mutable int pins = 0;

    // Sets name and result name from a head "function r=name(a,b)" and appends the
    // parameters; body lines are untouched.
    void parsehead(const std::string& head, tdialect d = tdialect::editor);
};

// A list of text lines looked up without regard to case (first whole-line match). Every
// call looks names up in four tables, so each keeps a small filter of the lengths and the
// first and last letters it holds; lines change only through assignment, set(),
// push_back() and pop_back(), which renew it.
class tnametable {
public:
    tnametable() = default;
    tnametable(std::initializer_list<std::string> lines) : lines_(lines) {}
    tnametable(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    const std::string& operator[](std::size_t i) const { return lines_[i]; }
    std::vector<std::string>::const_iterator begin() const { return lines_.begin(); }
    std::vector<std::string>::const_iterator end() const { return lines_.end(); }
    operator const std::vector<std::string>&() const { return lines_; }
    // Line i (below size()) becomes text.
    void set(std::size_t i, std::string text);
    void push_back(std::string text)
    {
        lines_.push_back(std::move(text));
        filtered_ = false;
    }
    void pop_back()
    {
        lines_.pop_back();
        filtered_ = false;
    }

    // Index of the first line equal to name without regard to case, or -1.
    int find(const std::string& name) const { return find(name, filterbit(name)); }
    // The same with the name's filterbit() worked out beforehand.
    int find(const std::string& name, std::uint64_t bit) const
    {
        if (!filtered_) makefilter();
        if (!(filter_[bit >> 6] & (std::uint64_t(1) << (bit & 63)))) return -1;
        return scan(name);
    }
    // The filter position of a name (0 to 511): the same for every table, and for names
    // equal without regard to case.
    static std::uint64_t filterbit(const std::string& name)
    {
        auto lower = [](char c) {
            const unsigned u = static_cast<unsigned char>(c);
            return u >= 'A' && u <= 'Z' ? u - 'A' + 'a' : u;
        };
        const unsigned first = name.empty() ? 0 : lower(name.front());
        const unsigned last = name.empty() ? 0 : lower(name.back());
        return (name.size() * 31 + first * 7 + last) & 511;
    }

    friend bool operator==(const tnametable& a, const tnametable& b) { return a.lines_ == b.lines_; }

private:
    void makefilter() const;
    int scan(const std::string& name) const;
    std::vector<std::string> lines_;
    mutable std::uint64_t filter_[8] = {};   // a bit per filter position held
    mutable bool filtered_ = false;
};

// Index of name in the table, or -1.
inline int tableindex(const tnametable& table, const std::string& name) { return table.find(name); }

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
    void clear();
    // Ends a call that pinned the item: an item replaced or removed while it ran goes when
    // its last call ends.
    void unpin(const tfuncitem& item)
    {
        if (--item.pins == 0 && !retired_.empty()) dropretired(&item);
    }
    // Items out of the list that calls still run.
    std::size_t retired() const { return retired_.size(); }
    // Counts the changes of the items (insertions, replacements, clearing), so that what
    // was worked out from them can tell that it is out of date.
    std::uint64_t generation() const { return generation_; }

private:
    // Sets aside an item leaving the list, or lets it go when no call runs it.
    void retire(std::unique_ptr<tfuncitem> item);
    void dropretired(const tfuncitem* item);
    std::vector<std::unique_ptr<tfuncitem>> items_;
    std::vector<std::unique_ptr<tfuncitem>> retired_;   // left the list while pinned
    std::uint64_t generation_ = 0;
};

// A new item from a head line and its body lines.
std::unique_ptr<tfuncitem> makefuncitem(const std::string& head, const std::vector<std::string>& body,
                                        tdialect d = tdialect::editor);

}  // namespace quor
