#pragma once
// The fast path's forms: expressions, statements and statement stores scanned once into
// the sequence of steps the literal scanners would take, and cached by text and dialect.
// A form depends only on its text and the dialect; everything that can change at run time
// (variables, functions, name tables) is still looked up when the form runs.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "partlist.h"
#include "session.h"

namespace quor {

struct tcexpr;
struct tcstatement;
class tfunclist;
namespace fast {
struct tkclosure;
}

// A text whose form is made when it is first run (groups, arguments and indexes are
// scanned only when reached, so scanning never nests deeper than running does).
template <class T>
struct tlazy {
    std::string text;
    tdialect dialect = tdialect::editor;
    mutable std::shared_ptr<const T> form;
};

// A variable reference as written: a name, or name[index].
struct tcref {
    std::string ref;         // as written (messages use it)
    bool indexed = false;
    std::string key;         // bare: the name cut to 255 bytes, as stored
    std::string name;        // indexed: the text before the first "["
    std::string namekey;     // that name cut to 255 bytes
    std::string index;       // indexed: the index text
    int dims = 1;            // indexed: 1 + top-level commas of the index text
    tlazy<tcexpr> indexexpr; // the index when dims is 1
    std::vector<tlazy<tcexpr>> items;   // dims above 1: the index items up to the first empty one
    mutable std::size_t hint = 0;   // where the variable stood last time (byte offset)
};

// One argument of a user-function call as cut for a given parameter count.
struct tcarg {
    tlazy<tcexpr> expr;
    std::string key;                  // the text cut to 255 bytes: a variable passed by name
    mutable std::size_t hint = 0;     // where that variable stood last time (byte offset)
    bool quoted = false;              // holds a quote
    bool bare = false;                // holds no "[": passed by name, it is a plain name
    mutable signed char pure = -1;    // its evaluation calls nothing (1) or may (0); -1 not known
};

// A call name(args) inside an expression.
struct tccall {
    std::string name;   // lower-cased
    std::uint64_t namebit = 0;   // the name's position in the name tables' filters
    std::string args;
    tlazy<tcexpr> argexpr;                        // the whole argument text as one expression
    // The arguments cut for each parameter count met so far; kept for the form's life, so
    // that a call may use its cut while the calls inside it add others.
    mutable std::vector<std::pair<int, std::unique_ptr<const std::vector<tcarg>>>> splits;
};

// One step of the scan: push an operand or an operator.
struct tcstep {
    enum tkind : unsigned char { number, op, nested, call, var };
    tkind kind = number;
    int code = 0;                     // op: operator code
    double value = 0;                 // number
    std::shared_ptr<const tlazy<tcexpr>> group;   // nested
    std::shared_ptr<const tccall> callform;
    std::shared_ptr<const tcref> ref;
};

struct tcexpr {
    long length = 0;                  // the scanned text's length (marked, padded)
    std::vector<tcstep> steps;
    std::size_t operands = 0, operators = 0;
    // Plain operands are numbers, names and elements. The commonest shapes: one plain
    // operand; plain operand, operator, plain operand; and three plain operands between two
    // operators quickop knows.
    bool single = false;
    bool binary = false;
    bool ternary = false;
    tquickop op = tquickop::none;    // binary and ternary: the (first) operator, when quickop knows it
    tquickop op2 = tquickop::none;   // ternary: the second operator
    bool leftfirst = false;          // ternary: the first operator goes first (its priority is not lower)
};

// A plain statement: a call form, or an assignment chain ending in an expression.
struct tcstatement {
    bool callform = false;
    std::string callname, callargs;
    std::vector<std::shared_ptr<const tcref>> targets;   // left to right
    std::shared_ptr<const tcexpr> expr;                  // made at once: statements are run
    // An expression of one of the two common shapes with one unindexed target (quick) or
    // with none (quickvalue).
    bool quick = false;
    bool quickvalue = false;
    // quick: the first or the last operand names the target itself.
    bool targetfirst = false;
    bool targetlast = false;
};

// A for term name:=start[:step]:end, cut once.
struct tcforterm {
    bool noassign = false;      // no ":=" at all
    std::string term;
    std::shared_ptr<const tcref> name;
    bool noend = false;         // no ":" after ":="
    bool hasstep = false;
    std::string unconsumed[3];  // the text not yet read before start, step, end
    std::shared_ptr<const tcstatement> start, step, end;
};

// One line of a store with its block structure.
struct tcline {
    int code = 0;           // keyword code
    int end = 0;            // matching end (count when missing); the line itself for plain lines
    int elseindex = -1;     // if: its else at depth 0
    int sourceline = 0;
    std::shared_ptr<const tcstatement> stmt;      // plain lines; if/while: the condition
    std::shared_ptr<const tcforterm> forterm;     // for
    // for, while and if with a matching end: the body (for if, the part before any else)
    // holds no if, for, while or break, so every line of it is run as a statement; for
    // if, plainelse says the same of the part after its else.
    bool plainbody = false;
    bool plainelse = false;
    // The same parts when they are not empty and every line of them is a short statement
    // (quick or quickvalue, no call form) with an operator quickop knows, if any.
    bool quickbody = false;
    bool quickelse = false;
};

struct tcstore {
    std::string name;       // cut to 255 bytes
    std::string source;     // the file the lines came from; empty when not known
    std::vector<tcline> lines;
    // The whole store as a loop body is marked: no if, for, while or break (plain), and
    // besides that not empty and only short statements (quick).
    bool plain = false;
    bool quick = false;
    int count() const { return static_cast<int>(lines.size()); }
};

// A user function's body with the parts of its head the call needs.
struct tcbody {
    std::string name;
    std::vector<std::string> params;
    std::vector<std::shared_ptr<const tcref>> paramrefs;   // the parameters as references
    std::string resultname;
    std::shared_ptr<const tcref> resultref;
    std::string resultkey;                 // the result name cut to 255 bytes
    mutable std::size_t resulthint = 0;    // where the result variable stood last time (byte offset)
    bool plainhead = false;                // parameters and result are all plain names
    tcstore store;
    // Whether the function is closed, for the state of the function list it was worked out for.
    mutable std::shared_ptr<const fast::tkclosure> closed;
    mutable const tfunclist* closedlist = nullptr;
    mutable std::uint64_t closedgeneration = 0;
    mutable int closedruns = 0;   // runs of that closure now going on, which keep it
};

// Scanned forms by text and dialect, kept per session; dropped wholesale when they hold
// too much text.
class tcodecache {
public:
    std::shared_ptr<const tcexpr> expr(const std::string& text, tdialect d);
    std::shared_ptr<const tcstatement> statement(const std::string& text, tdialect d);

private:
    void account(std::size_t bytes);
    std::unordered_map<std::string, std::shared_ptr<const tcexpr>> exprs_[2];
    std::unordered_map<std::string, std::shared_ptr<const tcstatement>> statements_[2];
    std::size_t bytes_ = 0;
};

tcodecache& codecache(tsession& s);

// The forms, made from their texts.
std::shared_ptr<const tcexpr> compileexpr(const std::string& text, tdialect d);
std::shared_ptr<const tcstatement> compilestatement(const std::string& text, tdialect d, bool callforms);
std::shared_ptr<const tcref> compileref(const std::string& ref, tdialect d);
// Lines with their source line numbers, as a function store holds them.
void compilestore(tcstore& out, const std::vector<std::string>& texts, const std::vector<int>& sourcelines,
                  tdialect d);

// The form of a lazily scanned expression.
const tcexpr& formof(const tlazy<tcexpr>& lazy);

}  // namespace quor
