#include "numtext.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quor {

std::string numtotext(double v)
{
    if (std::isnan(v)) return "NAN";
    if (std::isinf(v)) return v > 0 ? "INF" : "-INF";
    if (v == 0) return "0";

    // 15 significant digits: d.dddddddddddddde+XX
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", v);
    std::string s(buf);
    bool negative = false;
    std::size_t i = 0;
    if (s[0] == '-') {
        negative = true;
        i = 1;
    }
    std::string digits;
    for (; i < s.size() && s[i] != 'e'; ++i)
        if (s[i] != '.') digits += s[i];
    const int exponent = std::atoi(s.c_str() + i + 1);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent < -5 || exponent >= 15) {
        out += digits[0];
        if (digits.size() > 1) out += "." + digits.substr(1);
        out += "E" + std::to_string(exponent);
    } else if (exponent >= 0) {
        const std::size_t intdigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intdigits) {
            out += digits + std::string(intdigits - digits.size(), '0');
        } else {
            out += digits.substr(0, intdigits) + "." + digits.substr(intdigits);
        }
    } else {
        out += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    return out;
}

bool texttonumber(const std::string& text, double& v, bool words)
{
    std::size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    const std::string t = text.substr(b, e - b);
    if (words) {
        if (t == "INF" || t == "+INF") { v = HUGE_VAL; return true; }
        if (t == "-INF") { v = -HUGE_VAL; return true; }
        if (t == "NAN") { v = NAN; return true; }
    }

    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t mantissa = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') { ++i; ++mantissa; }
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') { ++i; ++mantissa; }
    }
    if (mantissa == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        std::size_t expdigits = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') { ++i; ++expdigits; }
        if (expdigits == 0) return false;
    }
    if (i != t.size()) return false;
    errno = 0;
    const double r = std::strtod(t.c_str(), nullptr);
    if (std::isinf(r)) return false;
    v = r;
    return true;
}

std::int64_t truncint(double v)
{
    constexpr double limit = 4611686018427387904.0;  // 2^62
    if (std::isnan(v) || v >= limit) return static_cast<std::int64_t>(limit);
    if (v <= -limit) return -static_cast<std::int64_t>(limit);
    return static_cast<std::int64_t>(v);
}

std::string lowercase(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace quor
