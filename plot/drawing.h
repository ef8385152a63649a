#pragma once
// Drawing a plot from its record and samples: labels, axes with value labels, the curve.
#include <cstdint>
#include <string>

#include "plotrecord.h"

namespace quor {

class tcanvas;

// View modes of a plot window.
inline constexpr std::uint8_t viewzoomed = 0;
inline constexpr std::uint8_t viewhome = 2;
inline constexpr std::uint8_t viewdragging = 3;

// Labels, then (with samples) axes and curve; in the home view the current setting
// becomes the record's setting. False when anything failed.
bool drawplot(tcanvas& surface, const trecordinfo& record, tpaintsetting& current, tcolour windowcolour,
              std::uint8_t viewmode, const cpaintlist& samples);

// Axes, titles and value labels when the record's drawaxis is set. Origins and units come
// from view, bounds and steps from the record's home view. Guarded (in the home view),
// failures become "Error on paint axis", "Error on paint x axis", "Error on paint y axis".
void drawaxes(tcanvas& surface, const trecordinfo& record, const tviewinfo& view, bool guarded);

// The record's text labels in list order, in the label font.
void drawlabels(tcanvas& surface, const trecordinfo& record);

// The samples joined in order with the curve pen.
void drawcurve(tcanvas& surface, const trecordinfo& record, const cpaintlist& samples);

// The text of an axis label for a world value: rounded to thousandths, ties to even.
std::string axislabel(double value);

}  // namespace quor
