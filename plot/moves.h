#pragma once
// Pixel and world points, zooming and the move record: hit tests, moves and stretches of
// the curve, and the displayed expression rebuilt as text.
#include <optional>
#include <string>

#include "plotrecord.h"

namespace quor {

struct tpixel {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct tworld {
    double x = 0;
    double y = 0;
};

struct tzoomrect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool none() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

// Index of the first sample in column px within fewer than sensitivity rows of py.
std::optional<int> curvehit(tpixel p, const cpaintlist& samples, std::int32_t sensitivity);

// World point of a pixel in the view.
tworld pixeltovalue(tpixel p, const tviewinfo& view);

// The view's x range becomes the columns of the rectangle; y is refitted by sampling.
void zoomrange(const tzoomrect& rect, tviewinfo& view);

// Shifts so that the curve point under press comes under release.
void movebypixels(tpixel press, tpixel release, const tviewinfo& view, tmoveinfo& move);
// Stretches about anchor so that the curve point under press comes under release.
void stretchbypixels(tpixel anchor, tpixel press, tpixel release, const tviewinfo& view, tmoveinfo& move);
// Shifts so that the curve point at p1 goes to p2.
void movebyvalues(tworld p1, tworld p2, tmoveinfo& move);
// Stretches about fixed so that the curve point at p1 goes to p2; an axis whose divisor
// would be (nearly) zero is left unchanged.
void stretchbyvalues(tworld fixed, tworld p1, tworld p2, tmoveinfo& move);

// The displayed expression: yscale*(E with v replaced by (xscale*v+xshift))+yshift, as text;
// the identity move gives E unchanged.
std::string makemovedexpr(const std::string& base, const std::string& variable, const tmoveinfo& move);

}  // namespace quor
