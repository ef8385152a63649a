// Number text: what every user sees of a number.
#include <gtest/gtest.h>

#include <cmath>

#include "numtext.h"

using quor::numtotext;
using quor::texttonumber;

TEST(NumberText, GeneralForm)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {1, "1"},
        {-1, "-1"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {0.00001, "0.00001"},
        {-0.00001, "-0.00001"},
        {0.000012345, "0.000012345"},
        {1e-6, "1E-6"},
        {-2.5e-7, "-2.5E-7"},
        {0.0000099999, "9.9999E-6"},
        {123456789012345.0, "123456789012345"},
        {999999999999999.0, "999999999999999"},
        {999999999999999.9, "1E15"},
        {1e15, "1E15"},
        {1234567890123456.0, "1.23456789012346E15"},
        {1e300, "1E300"},
        {-1e300, "-1E300"},
        {1E-300, "1E-300"},
        {2.5, "2.5"},
        {-2.25, "-2.25"},
        {100, "100"},
        {1e14, "100000000000000"},
        {3.141592653589793, "3.14159265358979"},
        {0.5, "0.5"},
        {1234.5678, "1234.5678"},
        {0.0015, "0.0015"},
        {64, "64"},
        {4.9e-324, "4.94065645841247E-324"},
    };
    for (const auto& c : cases) EXPECT_EQ(numtotext(c.value), c.text) << c.value;
}

TEST(NumberText, NonFiniteWords)
{
    EXPECT_EQ(numtotext(INFINITY), "INF");
    EXPECT_EQ(numtotext(-INFINITY), "-INF");
    EXPECT_EQ(numtotext(NAN), "NAN");
}

TEST(NumberText, RoundTripOfPrintedValues)
{
    // Whatever is printed reads back as a number within 15 significant digits.
    const double values[] = {0.1, 1e-6, -2.5e-7, 12345.678, 1e300, 6.02214076e23, -0.000123};
    for (double v : values) {
        double back = 0;
        ASSERT_TRUE(texttonumber(numtotext(v), back)) << v;
        EXPECT_NEAR(back, v, std::fabs(v) * 1e-14) << v;
    }
}

TEST(NumberText, Reading)
{
    const struct {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        {"5", true, 5},       {"-5", true, -5},    {".5", true, 0.5},  {"5.", true, 5},
        {"-.5", true, -0.5},  {"1e3", true, 1000}, {"1E-3", true, 0.001}, {"1e+3", true, 1000},
        {" 7 ", true, 7},     {"", false, 0},      {"-", false, 0},    {".", false, 0},
        {"1.2.3", false, 0},  {"abc", false, 0},   {"1e", false, 0},   {"1e999", false, 0},
        {"2x", false, 0},     {"INF", true, INFINITY},
    };
    for (const auto& c : cases) {
        double v = 0;
        EXPECT_EQ(texttonumber(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(NumberText, TruncationClamps)
{
    EXPECT_EQ(quor::truncint(2.9), 2);
    EXPECT_EQ(quor::truncint(-2.9), -2);
    EXPECT_EQ(quor::truncint(1e30), std::int64_t(1) << 62);
    EXPECT_EQ(quor::truncint(-1e30), -(std::int64_t(1) << 62));
    EXPECT_EQ(quor::truncint(NAN), std::int64_t(1) << 62);
}

namespace {

// Significant digits of a printed number (its mantissa without sign, point and zeros
// that only place the point).
int significantdigits(const std::string& text)
{
    std::string m = text.substr(0, text.find('E'));
    std::string digits;
    for (char c : m)
        if (c >= '0' && c <= '9') digits += c;
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos) return 0;
    digits = digits.substr(first);
    if (m.find('.') != std::string::npos || text.find('E') != std::string::npos)
        while (!digits.empty() && digits.back() == '0') digits.pop_back();
    return static_cast<int>(digits.size());
}

}  // namespace

TEST(NumberText, SweepOverMagnitudes)
{
    // Every power of ten, and values just around it, in both signs: the form follows the
    // magnitude, at most 15 significant digits are written, and the text reads back.
    for (int e = -320; e <= 307; ++e) {
        for (double f : {1.0, 1.5, 9.99999999999999, 3.14159265358979, 9.999999999999999}) {
            for (double sign : {1.0, -1.0}) {
                const double v = sign * f * std::pow(10.0, e);
                if (v == 0 || !std::isfinite(v)) continue;
                const std::string t = numtotext(v);
                double back = 0;
                ASSERT_TRUE(texttonumber(t, back)) << t;
                EXPECT_NEAR(back, v, std::fabs(v) * 6e-15) << t;
                EXPECT_LE(significantdigits(t), 15) << t;
                EXPECT_EQ(t[0] == '-', v < 0) << t;
                // Scientific exactly when the rounded value is below 0.00001 or has more
                // than 15 integer digits.
                const double rounded = std::fabs(back);
                const bool scientific = rounded < 0.00001 || rounded >= 1e15;
                EXPECT_EQ(t.find('E') != std::string::npos, scientific) << t;
            }
        }
    }
}
