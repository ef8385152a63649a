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
