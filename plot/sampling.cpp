#include "sampling.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "fault.h"
#include "numtext.h"
#include "statements.h"
#include "variables.h"

namespace quor {

namespace {

// More samples than this are treated as an allocation that cannot be made.
constexpr std::int64_t maxsamples = std::int64_t(1) << 20;

}  // namespace

std::int32_t truncpixel(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

std::string replaceword(const std::string& text, const std::string& word, const std::string& value,
                        const char* boundaries)
{
    const std::size_t lw = word.size();
    std::string t = " " + text + std::string(lw, ' ');
    // An empty word matches nothing (it would otherwise match between any two boundaries).
    if (lw == 0) return t;
    auto boundary = [boundaries](char c) { return c != '\0' && std::strchr(boundaries, c) != nullptr; };
    // The padding puts a character before the first and after the last possible match.
    std::size_t p = 1;
    while (p + lw < t.size()) {
        if (t.compare(p, lw, word) == 0 && boundary(t[p - 1]) && boundary(t[p + lw])) {
            t.replace(p, lw, value);
            p += value.size();
        } else {
            ++p;
        }
    }
    return t;
}

std::string substitutevalue(const std::string& expression, const std::string& variable, const std::string& value)
{
    // A comma is no boundary here; the trailing blanks stay.
    return replaceword(expression, variable, value, " ()*+-/[]^").substr(1);
}

double evalat(const std::string& expression, const std::string& variable, const std::string& value,
              tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    const std::string result = execstatement(substitutevalue(expression, variable, value), vars, funcs, memo, s);
    double v = 0;
    // Infinities and NaN have no pixel row: they count as no number.
    if (!texttonumber(result, v) || !std::isfinite(v)) throw tfault("'" + result + "' is not a valid number");
    return v;
}

cpaintlist samplecurve(const std::string& expression, const std::string& variable, tviewinfo& view,
                       tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s)
{
    const std::int64_t n = std::llabs(std::int64_t(view.left) - std::int64_t(view.right)) + 1;

    double lo = view.xmin, hi = view.xmax;
    const tvar* v = view.fixedrange ? nullptr : vars.find(variable);
    if (v && v->data.size() > 1 && v->data[0] != v->data[1]) {
        lo = std::min(v->data[0], v->data[1]);
        hi = std::max(v->data[0], v->data[1]);
    } else {
        view.fixedrange = true;
    }

    // A zero-width area or an empty range leaves no unit to divide by.
    if (n == 1 || lo == hi) {
        if (n > 1) view.xunit = 0;   // the unit is computed before the origin divides by it
        throw tfault("Floating point division by zero");
    }
    view.xunit = (hi - lo) / double(n - 1);
    view.originx = truncpixel(double(view.left) + std::trunc(-lo / view.xunit));

    cpaintlist samples;
    std::vector<double> values;
    try {
        if (n > maxsamples) throw std::bad_alloc();
        samples.points.reserve(std::size_t(n));
        values.reserve(std::size_t(n));
    } catch (const std::bad_alloc&) {
        throw tfault("Error on out of memory,try to free your memory");
    }
    double x = lo;
    for (std::int64_t i = 0; i < n; ++i) {
        values.push_back(evalat(expression, variable, numtotext(x), vars, funcs, memo, s));
        x += view.xunit;
    }

    double ymin = values[0], ymax = values[0];
    for (double y : values) {
        ymin = std::min(ymin, y);
        ymax = std::max(ymax, y);
    }
    if (ymin == ymax) {
        ymin -= 10;
        ymax += 10;
    }
    view.ymin = ymin;
    view.ymax = ymax;
    const std::int64_t height = std::llabs(std::int64_t(view.top) - std::int64_t(view.bottom));
    view.yunit = height == 0 ? 999999.0 : (ymax - ymin) / double(height);
    const std::int32_t top = std::min(view.top, view.bottom);
    view.originy = truncpixel(double(top) + std::trunc(ymax / view.yunit));
    for (std::int64_t i = 0; i < n; ++i)
        samples.points.push_back(
            cpaintpoint{static_cast<std::int32_t>(view.left + i), double(top) + (ymax - values[std::size_t(i)]) / view.yunit});
    return samples;
}

}  // namespace quor
