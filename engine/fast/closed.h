#pragma once
// Closed functions: user functions whose bodies name only plain variables (no elements),
// hold no texts, commands or call statements, and call only math built-ins and such
// functions. A call tree of them can only see the variables of the names it uses, so it
// runs on a few numbers per call level (slots, one per name the tree uses) instead of a
// copied variable list, with the same guards, steps, places, boxes and faults as the
// runners of scanned stores. Only the files of this folder include it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "compiled.h"
#include "variables.h"

namespace quor {

class tfunclist;
struct tfuncitem;
class tvarlist;
class tmemo;
class telements;

namespace fast {

// Most names a closure uses (a presence bit each).
inline constexpr int maxslots = 24;

// One call level's view of the variables of the closure's names: a value and whether the
// variable is there, as in the call's copied list.
struct tkframe {
    double* v;                      // a value per slot of the closure
    std::uint32_t present = 0;
    // When the closure reads elements: the elements each slot's variable holds (null for
    // none), those of a variable of the list the run was entered from, or of one passed on
    // by name from it; nothing inside a closed run writes elements.
    const telements** data = nullptr;
};

struct tkexpr;
struct tkcall;
struct tkfunc;

// One step of a scanned expression, its variable resolved to a slot.
struct tkstep {
    tcstep::tkind kind = tcstep::number;
    int code = 0;                      // op
    double value = 0;                  // number
    int slot = -1;                     // var
    const tcref* ref = nullptr;        // var: as written, for its box
    std::unique_ptr<tkexpr> index;     // var: the index of an element read (one index)
    std::unique_ptr<tkexpr> group;     // nested
    std::unique_ptr<tkcall> call;      // call
};

struct tkexpr {
    const tcexpr* form = nullptr;   // its scanned form: length and shape
    std::vector<tkstep> steps;
    std::uint32_t reads = 0;        // the slots of its variables
    bool quick = false;             // a short shape (quickvalue's) whose elements have plain indexes
    bool elements = false;          // quick, and some operand is an element
};

// One argument of a call: a name, passed by name when the caller has its variable, or an
// expression.
struct tkarg {
    const tcarg* form = nullptr;
    int slot = -1;                  // the slot of its text as a name, or -1
    std::unique_ptr<tkexpr> expr;
};

struct tkcall {
    const tccall* form = nullptr;
    int math = -1;                  // a built-in of the math table, or -1 for a user function
    std::unique_ptr<tkexpr> arg;    // the built-in's argument (none for pi)
    const tkfunc* callee = nullptr;
    std::vector<tkarg> args;
};

// A plain statement or a flow line's condition: targets as slots, right of the last ":=".
struct tkstatement {
    std::vector<int> targets;
    std::uint32_t sets = 0;         // the slots of its targets
    tkexpr expr;
};

// A for term name:=start[:step]:end.
struct tkfor {
    int slot = -1;
    tkstatement start, step, end;
};

struct tkline {
    tkstatement stmt;               // plain lines; if and while: the condition
    std::unique_ptr<tkfor> forterm;
};

struct tkfunc {
    const tcbody* body = nullptr;
    const tfuncitem* item = nullptr;
    std::vector<int> params;          // the slot of each parameter
    int result = 0;                   // the slot of the result
    std::vector<tkline> lines;        // beside the store's lines
};

// A closed function with every function it may call, worked out for one state of the
// function list.
struct tkclosure {
    std::vector<std::unique_ptr<tkfunc>> funcs;   // the root first
    std::vector<std::string> slotnames;   // the names of the slots (cut)
    std::vector<std::string> argnames;    // argument texts that are no slot's name
    // Every function names only its parameters and result, which each call sets: no call
    // reads what its caller's view holds, so views are not copied.
    bool own = false;
    // Some function reads elements (of its parameters): call levels carry their elements.
    bool arrays = false;
};

// The position of the name among names (cut names, compared exactly), or -1.
inline int nameindex(const std::vector<std::string>& names, const std::string& key)
{
    for (std::size_t i = 0; i < names.size(); ++i)
        if (samename(names[i], key)) return static_cast<int>(i);
    return -1;
}

// The closure of the item when it is closed in the list's present state, else null.
// Worked out once per state of the list and kept with the item's scanned body.
const tkclosure* closedof(const tfuncitem& item, const tcbody& body, tfunclist& funcs, tdialect d);

// The call of the closure's root from a caller's variable list, when nothing in it needs
// that list beyond the variables of the closure's names: the arguments are taken as the
// general call takes them, the body runs on slots and by-name arguments are copied back.
// False, with nothing done, when the call must go the general way.
bool closedcall(const tkclosure& k, const std::vector<tcarg>& args, tvarlist& vars, tfunclist& funcs,
                tmemo* memo, tsession& s, double& result);

}  // namespace fast
}  // namespace quor
