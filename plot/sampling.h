#pragma once
// Sampling an expression once per pixel column through the statement executor.
#include <string>

#include "plotrecord.h"
#include "enginefwd.h"

namespace quor {

// Replaces the whole-word occurrences of word (both neighbours in boundaries) by value, in
// the text padded with one blank before and as many after as word is long; returns the
// padded text. An empty word matches nothing.
std::string replaceword(const std::string& text, const std::string& word, const std::string& value,
                        const char* boundaries);

// The expression with every whole-word occurrence of the variable (neighbours blank
// ( ) * + - / [ ] ^; not a comma) replaced by the value text as it is.
std::string substitutevalue(const std::string& expression, const std::string& variable, const std::string& value);

// Value of expression at variable = value: the substituted text run as a statement.
// Fails when that fails or yields no finite number.
double evalat(const std::string& expression, const std::string& variable, const std::string& value,
              tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);

// The expression sampled at every pixel column of the view, with x range, units and
// origins of the view updated. Fails with the first failing evaluation; the old samples
// are the caller's to keep.
cpaintlist samplecurve(const std::string& expression, const std::string& variable, tviewinfo& view,
                       tvarlist& vars, tfunclist& funcs, tmemo* memo, tsession& s);

// Truncation toward zero into the 32-bit pixel range (clamped; NaN gives 0).
std::int32_t truncpixel(double v);

}  // namespace quor
