#include "partlist.h"

#include <cmath>
#include <limits>

#include "host.h"
#include "numtext.h"
#include "session.h"

namespace quor {

int tdatalist::add(double x)
{
    items.push_back(x);
    return count() - 1;
}

int tdatalist::addtext(const std::string& text)
{
    std::string t = text;
    if (!t.empty() && t.back() == '.') t.pop_back();
    else if (!t.empty() && t.front() == '.') t = "0" + t;
    double v = 0;
    // Only the plain decimal form counts here: no blanks, no INF or NAN words.
    const bool plain = !t.empty() && t.find_first_not_of("+-.0123456789eE") == std::string::npos;
    if (!plain || !texttonumber(t, v)) v = 1.0;
    return add(v);
}

void tdatalist::remove(int i)
{
    if (i >= 0 && i < count()) items.erase(items.begin() + i);
}

int toperatorlist::add(const std::string& sign)
{
    items.push_back(sign.substr(0, 4));
    return count() - 1;
}

void toperatorlist::remove(int i)
{
    if (i >= 0 && i < count()) items.erase(items.begin() + i);
}

int opcode(const std::string& sign)
{
    static const struct { const char* sign; int code; } table[] = {
        {"<", 60},   {">", 62},   {"=", 61}, {"<>", 6062}, {"<=", 6061}, {">=", 6261},
        {"^", 94},   {"*", 42},   {"/", 47}, {"+", 43},    {"-", 45},
    };
    for (const auto& e : table)
        if (sign == e.sign) return e.code;
    return 0;
}

int toperatorlist::priority(int i) const { return codepriority(opcode(items.at(static_cast<std::size_t>(i)))); }

namespace {

// x^|y| by squaring, for integral |y| up to 2^31-1.
double powbysquaring(double x, double y)
{
    unsigned long long n = static_cast<unsigned long long>(std::fabs(y));
    double result = 1.0, base = x;
    while (n) {
        if (n & 1ULL) result *= base;
        n >>= 1;
        if (n) base *= base;
    }
    return result;
}

// One attempt of the power rules; false when the attempt fails.
bool powerattempt(double x, double y, double& r)
{
    if (y == 0) { r = 1; return true; }
    if (x == 0 && y > 0) { r = 0; return true; }
    if (y == std::trunc(y) && std::fabs(y) <= 2147483647.0) {
        double p = powbysquaring(x, y);
        if (!std::isfinite(p)) return false;
        if (y < 0) {
            if (p == 0) return false;
            p = 1.0 / p;
        }
        r = p;
        return std::isfinite(r);
    }
    if (x <= 0) return false;   // ln of a non-positive base fails
    r = std::exp(y * std::log(x));
    return std::isfinite(r);
}

}  // namespace

bool realpower(double x, double y, double& result)
{
    if (powerattempt(x, y, result)) return true;
    return powerattempt(std::fabs(x), y, result);
}

double toperatorlist::operate(int i, double x, double y, tsession& s) const
{
    return operatecode(opcode(items.at(static_cast<std::size_t>(i))), x, y, s);
}

double operatecode(int code, double x, double y, tsession& s)
{
    double r = 0;
    bool ok = true;
    switch (code) {
    case 43: r = x + y; break;
    case 45: r = x - y; break;
    case 42: r = x * y; break;
    case 47:
        if (y == 0) {
            s.host.showmessage("Error on DEVIDE BY ZERO,this step will return to 1E300,the final result maybe incorrect");
            return 1E300;
        }
        r = x / y;
        break;
    case 94: ok = realpower(x, y, r); break;
    case 60: case 62: case 61: case 6062: case 6061: case 6261:
        return applycode(code, x, y, s);   // the comparisons, done there
    default: r = 0; break;
    }
    // Overflow or an invalid result from finite operands is an arithmetic fault.
    const bool finiteinputs = std::isfinite(x) && std::isfinite(y);
    if (!ok || std::isnan(r) || (std::isinf(r) && finiteinputs)) {
        if (s.editor()) s.host.showmessage("Error on operating");
        return 0;
    }
    return r;
}

double reducelists(tdatalist& operands, toperatorlist& operators, tsession& s)
{
    if (operands.count() - operators.count() != 1) {
        if (s.editor()) s.host.showmessage("Date and operator not suitable");
        return -1;
    }
    if (operators.count() == 0) return operands.items[0];
    // One pass per level: a run of operators of that level folds into its leftmost operand,
    // left to right, exactly as deleting each folded pair in place would; everything else is
    // copied forward. Linear in the number of operators.
    try {
        std::vector<double>& a = operands.items;
        std::vector<std::string>& o = operators.items;
        for (int p = 3; p >= 0; --p) {
            std::size_t kept = 0;   // operators kept so far; operand `kept` is the open one
            const std::size_t n = o.size();
            for (std::size_t i = 0; i < n; ++i) {
                if (operators.priority(static_cast<int>(i)) == p) {
                    a[kept] = operators.operate(static_cast<int>(i), a[kept], a[i + 1], s);
                } else {
                    if (kept != i) o[kept] = std::move(o[i]);
                    ++kept;
                    a[kept] = a[i + 1];
                }
            }
            o.resize(kept);
            a.resize(kept + 1);
        }
    } catch (const std::bad_alloc&) {
        s.host.showmessage("Error on operation of arithmetic");
        return -1;
    }
    return operands.items[0];
}

double reducecodes(double* a, int* o, std::size_t operands, std::size_t operators, tsession& s)
{
    if (operands != operators + 1) {
        if (s.editor()) s.host.showmessage("Date and operator not suitable");
        return -1;
    }
    std::size_t n = operators;
    for (int p = 3; p >= 0 && n > 0; --p) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (codepriority(o[i]) == p) {
                a[kept] = applycode(o[i], a[kept], a[i + 1], s);
            } else {
                o[kept] = o[i];
                ++kept;
                a[kept] = a[i + 1];
            }
        }
        n = kept;
    }
    return a[0];
}

}  // namespace quor
