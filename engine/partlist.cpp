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

int toperatorlist::priority(int i) const
{
    switch (opcode(items.at(static_cast<std::size_t>(i)))) {
    case 60: case 62: case 61: case 6062: case 6061: case 6261: return 3;
    case 94: return 2;
    case 42: case 47: return 1;
    default: return 0;
    }
}

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
    double r = 0;
    bool ok = true;
    switch (opcode(items.at(static_cast<std::size_t>(i)))) {
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
    case 60: return x < y ? 1 : 0;
    case 62: return x > y ? 1 : 0;
    case 61: return x == y ? 1 : 0;
    case 6062: return x != y ? 1 : 0;
    case 6061: return x <= y ? 1 : 0;
    case 6261: return x >= y ? 1 : 0;
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
    try {
        for (int p = 3; p >= 0; --p) {
            int i = 0;
            while (i < operators.count()) {
                if (operators.priority(i) == p) {
                    const double v = operators.operate(i, operands.items[static_cast<std::size_t>(i)],
                                                       operands.items[static_cast<std::size_t>(i) + 1], s);
                    operands.items[static_cast<std::size_t>(i) + 1] = v;
                    operands.remove(i);
                    operators.remove(i);
                } else {
                    ++i;
                }
            }
        }
    } catch (const std::bad_alloc&) {
        s.host.showmessage("Error on operation of arithmetic");
        return -1;
    }
    return operands.items[0];
}

}  // namespace quor
