#pragma once
// Number text: the one way numbers are written and read back everywhere.
#include <cstdint>
#include <string>

namespace quor {

// General form with at most 15 significant digits and "." as point; scientific form
// (1E-6, -2.5E-7, 1E15) below 0.00001 in magnitude or beyond 15 integer digits.
std::string numtotext(double v);

// Reads a decimal number: optional blanks, sign, digits with an optional point (digits may
// be absent on one side), optional exponent, optional blanks; also INF, -INF and NAN.
// Returns false when the text is no number or lies outside the double range; without
// words, INF and NAN are no numbers either (typed answers).
bool texttonumber(const std::string& text, double& v, bool words = true);

// Truncation toward zero into a 64-bit integer, clamped to +-2^62 (NaN gives the upper
// clamp), so that out-of-range values stay out of range instead of wrapping.
std::int64_t truncint(double v);

// Lower-cases the ASCII letters of a text.
std::string lowercase(std::string s);

}  // namespace quor
