#include "moves.h"

#include <cmath>

#include "numtext.h"
#include "sampling.h"

namespace quor {

std::optional<int> curvehit(tpixel p, const cpaintlist& samples, std::int32_t sensitivity)
{
    for (int i = 0; i < samples.count(); ++i)
        if (samples[i].x == p.x && std::fabs(p.y - samples[i].y) < sensitivity) return i;
    return std::nullopt;
}

tworld pixeltovalue(tpixel p, const tviewinfo& view)
{
    return {(double(p.x) - view.originx) * view.xunit, (double(view.originy) - p.y) * view.yunit};
}

void zoomrange(const tzoomrect& rect, tviewinfo& view)
{
    view.xmin = (double(std::min(rect.left, rect.right)) - view.originx) * view.xunit;
    view.xmax = (double(std::max(rect.left, rect.right)) - view.originx) * view.xunit;
}

void movebypixels(tpixel press, tpixel release, const tviewinfo& view, tmoveinfo& move)
{
    move.xshift += (double(press.x) - release.x) * view.xunit * move.xscale;
    move.yshift += (double(press.y) - release.y) * view.yunit;
}

void movebyvalues(tworld p1, tworld p2, tmoveinfo& move)
{
    move.xshift += (p1.x - p2.x) * move.xscale;
    move.yshift += p2.y - p1.y;
}

void stretchbyvalues(tworld f, tworld p, tworld q, tmoveinfo& move)
{
    if (std::fabs(f.x - q.x) > 1e-10) {
        move.xshift += move.xscale * f.x * (p.x - q.x) / (f.x - q.x);
        move.xscale = move.xscale * (f.x - p.x) / (f.x - q.x);
    }
    if (std::fabs(f.y - p.y) > 1e-10) {
        const double old = f.y - p.y;
        move.yscale = move.yscale * (f.y - q.y) / old;
        move.yshift = move.yshift * (f.y - q.y) / old + f.y * (q.y - p.y) / old;
    }
}

void stretchbypixels(tpixel anchor, tpixel press, tpixel release, const tviewinfo& view, tmoveinfo& move)
{
    stretchbyvalues(pixeltovalue(anchor, view), pixeltovalue(press, view), pixeltovalue(release, view), move);
}

std::string makemovedexpr(const std::string& base, const std::string& variable, const tmoveinfo& move)
{
    std::string t = variable;
    if (move.xshift > 0) t += "+" + numtotext(move.xshift);
    if (move.xshift < 0) t += numtotext(move.xshift);
    if (move.xscale != 1) t = numtotext(move.xscale) + "*" + t;

    std::string e = base;
    if (t != variable && !variable.empty()) {
        // Whole-word occurrences only; here a comma is a word boundary too.
        const std::string s = replaceword(base, variable, "(" + t + ")", " ()*+,-/[]^");
        e = s.substr(1, s.size() - 2);
    }
    if (move.yscale != 1) e = numtotext(move.yscale) + "*(" + e + ")";
    if (move.yshift > 0) e += "+" + numtotext(move.yshift);
    if (move.yshift < 0) e += numtotext(move.yshift);
    return e;
}

}  // namespace quor
