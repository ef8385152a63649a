#pragma once
// Closed functions: user functions whose bodies read and write only their own parameters and
// result (plain names), hold no loops, texts, elements, commands or call statements, and
// call only such functions. A call tree of them cannot see the rest of the variable list a
// call copies from its caller, so it runs on a few numbers per call level (slots) instead of
// a copied list, with the same guards, steps, places, boxes and faults as the runners of
// scanned stores. Only the files of this folder include it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "compiled.h"

namespace quor {

class tfunclist;
struct tfuncitem;
class tvarlist;
class tmemo;

namespace fast {

// Most slots (parameters and result, each name once) a closed function has.
inline constexpr int maxslots = 8;

struct tkexpr;
struct tkcall;
struct tkfunc;

// One step of a scanned expression, its variable resolved to a slot.
struct tkstep {
    tcstep::tkind kind = tcstep::number;
    int code = 0;                      // op
    double value = 0;                  // number
    int slot = -1;                     // var
    std::unique_ptr<tkexpr> group;     // nested
    std::unique_ptr<tkcall> call;      // call
};

struct tkexpr {
    const tcexpr* form = nullptr;   // its scanned form: length and shape
    std::vector<tkstep> steps;
};

// One argument of a call to a closed function: a caller's slot passed by name, or an
// expression.
struct tkarg {
    int slot = -1;
    std::unique_ptr<tkexpr> expr;
};

struct tkcall {
    const tccall* form = nullptr;
    int math = -1;                  // a built-in of the math table, or -1 for a user function
    std::unique_ptr<tkexpr> arg;    // the built-in's argument (none for pi)
    const tkfunc* callee = nullptr;
    std::vector<tkarg> args;
};

// A plain statement or an if line's condition: targets as slots, right of the last ":=".
struct tkstatement {
    std::vector<int> targets;
    tkexpr expr;
};

struct tkfunc {
    const tcbody* body = nullptr;
    const tfuncitem* item = nullptr;
    std::vector<int> params;          // the slot of each parameter
    int result = 0;                   // the slot of the result
    std::vector<std::string> names;   // the slots' names (cut)
    std::vector<tkstatement> lines;   // beside the store's lines: plain lines and if conditions
};

// A closed function with every function it may call, worked out for one state of the
// function list.
struct tkclosure {
    std::vector<std::unique_ptr<tkfunc>> funcs;   // the root first
    std::vector<std::string> slotnames;   // the slot names of them all
    std::vector<std::string> argnames;    // arguments that are not a caller's slot name
};

// The closure of the item when it is closed in the list's present state, else null.
// Worked out once per state of the list and kept with the item's scanned body.
const tkclosure* closedof(const tfuncitem& item, const tcbody& body, tfunclist& funcs, tdialect d);

// The call of the closure's root from a caller's variable list, when nothing in it needs
// that list beyond its arguments: the arguments are taken as the general call takes them,
// the body runs on slots and by-name arguments are copied back. False, with nothing done,
// when the call must go the general way.
bool closedcall(const tkclosure& k, const std::vector<tcarg>& args, tvarlist& vars, tfunclist& funcs,
                tmemo* memo, tsession& s, double& result);

}  // namespace fast
}  // namespace quor
