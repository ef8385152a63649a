#pragma once
// Operand and operator sequences of one nesting level, and their reduction by priority.
#include <cmath>
#include <string>
#include <vector>

#include "enginefwd.h"

namespace quor {

// Operands in order of appearance.
class tdatalist {
public:
    std::vector<double> items;
    int count() const { return static_cast<int>(items.size()); }

    // Appends x; returns its index.
    int add(double x);
    // Converts a number text (a final "." dropped, a leading "." given a 0) and appends it;
    // a text that is no number appends 1.0. Returns the index.
    int addtext(const std::string& text);
    void remove(int i);
    void clear() { items.clear(); }
};

// Operator signs in order of appearance (at most 4 bytes each).
class toperatorlist {
public:
    std::vector<std::string> items;
    int count() const { return static_cast<int>(items.size()); }

    int add(const std::string& sign);
    void remove(int i);
    void clear() { items.clear(); }
    // Priority 0..3 of operator i: comparisons 3, power 2, product and quotient 1, else 0.
    int priority(int i) const;
    // Applies operator i to left x and right y; faults show their box and the step gives
    // 1E300 (division by zero) or 0 (any other arithmetic fault).
    double operate(int i, double x, double y, tsession& s) const;
};

// The code of an operator sign ("<>" is 6062); 0 for anything else.
int opcode(const std::string& sign);

// The real power with its fallback rules; false when it fails (x = 0 with y < 0, overflow).
bool realpower(double x, double y, double& result);

// Priority 0..3 of an operator code, and the operation of a code (as toperatorlist::operate).
inline int codepriority(int code)
{
    switch (code) {
    case 60: case 62: case 61: case 6062: case 6061: case 6261: return 3;
    case 94: return 2;
    case 42: case 47: return 1;
    default: return 0;
    }
}
double operatecode(int code, double x, double y, tsession& s);

// The operators whose usual cases quickop does inline, by a dense number (forms keep the
// number of their operator).
enum class tquickop : unsigned char { none, add, sub, mul, lt, gt, eq, ne, le, ge };
inline tquickop quickopof(int code)
{
    switch (code) {
    case 43: return tquickop::add;
    case 45: return tquickop::sub;
    case 42: return tquickop::mul;
    case 60: return tquickop::lt;
    case 62: return tquickop::gt;
    case 61: return tquickop::eq;
    case 6062: return tquickop::ne;
    case 6061: return tquickop::le;
    case 6261: return tquickop::ge;
    default: return tquickop::none;
    }
}

// The usual cases of operatecode, inline: a finite sum, difference or product and the
// comparisons. False (r unset) for everything else, which operatecode must do.
[[gnu::always_inline]] inline bool quickop(tquickop op, double x, double y, double& r)
{
    if (op == tquickop::add) {   // the commonest, tested before the table
        r = x + y;
        return std::isfinite(r);
    }
    switch (op) {
    case tquickop::sub: r = x - y; break;
    case tquickop::mul: r = x * y; break;
    case tquickop::lt: r = x < y ? 1 : 0; return true;
    case tquickop::gt: r = x > y ? 1 : 0; return true;
    case tquickop::eq: r = x == y ? 1 : 0; return true;
    case tquickop::ne: r = x != y ? 1 : 0; return true;
    case tquickop::le: r = x <= y ? 1 : 0; return true;
    case tquickop::ge: r = x >= y ? 1 : 0; return true;
    default: return false;
    }
    return std::isfinite(r);
}

// operatecode with the usual cases inline.
inline double applycode(int code, double x, double y, tsession& s)
{
    double r;
    if (quickop(quickopof(code), x, y, r)) return r;
    return operatecode(code, x, y, s);
}

// reducelists on operands a[0..operands) and operator codes o[0..operators), reduced in place.
double reducecodes(double* a, int* o, std::size_t operands, std::size_t operators, tsession& s);

// Reduces the sequences by priority, level 3 down to 0, left to right within a level.
double reducelists(tdatalist& operands, toperatorlist& operators, tsession& s);

}  // namespace quor
