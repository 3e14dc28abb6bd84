// Number texts as the displays and the log show them, the two-decimal remote text, and hex.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "registers/NumberText.h"

using namespace GeneralStuff;

namespace {

TEST(NumberTextTest, BlankOrMinusThenShortestForm) {
    EXPECT_EQ(NumberText(25.0f), " 25");
    EXPECT_EQ(NumberText(25.5f), " 25.5");
    EXPECT_EQ(NumberText(0.25f), " .25");
    EXPECT_EQ(NumberText(-0.25f), "-.25");
    EXPECT_EQ(NumberText(-10.75f), "-10.75");
    EXPECT_EQ(NumberText(0.0f), " 0");
    EXPECT_EQ(NumberText(-0.0f), " 0");
    EXPECT_EQ(NumberText(-64.0f), "-64");
    EXPECT_EQ(TrimmedNumberText(-64.0f), "-64");
    EXPECT_EQ(TrimmedNumberText(25.25f), "25.25");
    EXPECT_EQ(NumberText(100.0), " 100");
    EXPECT_EQ(NumberText(-0.0), " 0");
    EXPECT_EQ(NumberText(86399.125), " 86399.125");
    EXPECT_EQ(NumberText(0.001), " .001");
}

TEST(NumberTextTest, FloatKeepsSevenDigitsDoubleFifteen) {
    EXPECT_EQ(NumberText(0.1f), " .1");
    EXPECT_EQ(NumberText(0.1f + 0.2f), " .3");
    EXPECT_EQ(NumberText(25.2504f), " 25.2504");
    EXPECT_EQ(NumberText(1.0f / 3.0f), " .3333333");
    EXPECT_EQ(NumberText(2.0f / 3.0f), " .6666667");
    EXPECT_EQ(NumberText(9.9999999f), " 10");
    EXPECT_EQ(NumberText(1234567.0f), " 1234567");
    EXPECT_EQ(NumberText(static_cast<double>(25.1f)), " 25.1000003814697");
    EXPECT_EQ(NumberText(0.1 + 0.2), " .3");
    EXPECT_EQ(NumberText(1.0 / 3.0), " .333333333333333");
    EXPECT_EQ(NumberText(123456789012345.0), " 123456789012345");
}

TEST(NumberTextTest, IntegersExact) {
    EXPECT_EQ(NumberText(25), " 25");
    EXPECT_EQ(NumberText(0), " 0");
    EXPECT_EQ(NumberText(-64), "-64");
    EXPECT_EQ(NumberText(std::numeric_limits<int>::min()), "-2147483648");
    EXPECT_EQ(TrimmedNumberText(2147483647), "2147483647");
}

TEST(NumberTextTest, ExtremesGiveReadableText) {
    EXPECT_EQ(NumberText(1e20), " 1E+20");
    EXPECT_EQ(NumberText(-1.5e-7), "-1.5E-07");
    EXPECT_EQ(ParseNumber(NumberText(1e20)), 1e20);
    EXPECT_EQ(ParseNumber(NumberText(-1.5e-7)), -1.5e-7);
    EXPECT_EQ(NumberText(std::numeric_limits<double>::infinity()), " Inf");
    EXPECT_EQ(NumberText(-std::numeric_limits<float>::infinity()), "-Inf");
    EXPECT_EQ(NumberText(std::numeric_limits<double>::quiet_NaN()), " NaN");
    EXPECT_FALSE(NumberText(std::numeric_limits<double>::denorm_min()).empty());
}

TEST(NumberTextTest, ShortTextsReadBackExactly) {
    for (float t = -64.0f; t <= 191.75f; t += 0.25f) EXPECT_EQ(ParseNumber(NumberText(t)), t) << t;
    for (double v : {0.001, 12.345, 86399.999, 1e13 + 0.5, -2.75}) {
        EXPECT_EQ(ParseNumber(NumberText(v)), v) << v;
    }
}

struct TwoDecimalCase {
    float value;
    const char* text;
};

TEST(TwoDecimalTextTest, QuarterDegreeValues) {
    for (const TwoDecimalCase& c : {TwoDecimalCase{25.0f, "25.00"}, {25.5f, "25.50"}, {25.25f, "25.25"},
                                    {-10.5f, "-10.50"}, {-10.25f, "-10.25"}, {0.5f, ".50"},
                                    {-0.25f, "-.25"}, {0.0f, "0.00"}, {-0.0f, "0.00"}, {191.75f, "191.75"},
                                    {-64.0f, "-64.00"}, {-63.75f, "-63.75"}, {0.75f, ".75"}}) {
        float x = c.value;
        EXPECT_EQ(TwoDecimalText(x), c.text) << c.value;
        EXPECT_EQ(x, c.value);
    }
}

TEST(TwoDecimalTextTest, RoundsTheVariableToThreeDecimals) {
    float x = 25.2504f;
    EXPECT_EQ(TwoDecimalText(x), "25.25");
    EXPECT_EQ(x, 25.25f);
    x = 25.1f;
    EXPECT_EQ(TwoDecimalText(x), "25.10");
    EXPECT_EQ(x, 25.1f);
    x = 0.0625f;  // exactly 62.5 thousandths: the tie goes to the even 62
    EXPECT_EQ(TwoDecimalText(x), ".062");
    EXPECT_EQ(x, 0.062f);
    x = 0.1875f;  // 187.5 thousandths goes to 188
    EXPECT_EQ(TwoDecimalText(x), ".188");
    x = 25.9996f;
    EXPECT_EQ(TwoDecimalText(x), "26.00");
    EXPECT_EQ(x, 26.0f);
    x = -0.0004f;
    EXPECT_EQ(TwoDecimalText(x), "0.00");
    x = 1.0005f;  // just below 1.0005 as a float, so it goes down
    EXPECT_EQ(TwoDecimalText(x), "1.00");
    EXPECT_EQ(x, 1.0f);
    x = -0.001f;
    EXPECT_EQ(TwoDecimalText(x), "-.001");
}

TEST(TwoDecimalTextTest, ExtremeValuesStaySafe) {
    float x = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(TwoDecimalText(x), "NaN");
    x = std::numeric_limits<float>::infinity();
    EXPECT_EQ(TwoDecimalText(x), "Inf");
    x = 16777216.0f;
    EXPECT_EQ(TwoDecimalText(x).rfind("1.677722E+07", 0), 0u);
    EXPECT_EQ(x, 16777216.0f);
    x = std::numeric_limits<float>::max();
    EXPECT_FALSE(TwoDecimalText(x).empty());
}

TEST(HexTextTest, UpperCaseWithoutLeadingZeros) {
    EXPECT_EQ(HexText(0), "0");
    EXPECT_EQ(HexText(9), "9");
    EXPECT_EQ(HexText(26), "1A");
    EXPECT_EQ(HexText(255), "FF");
    EXPECT_EQ(HexText(-1), "FFFFFFFF");
    EXPECT_EQ(HexText(-32768), "FFFF8000");
    EXPECT_EQ(HexText(2147483647.0), "7FFFFFFF");
    EXPECT_EQ(HexText(-2147483648.0), "80000000");
}

TEST(HexTextTest, RoundsHalvesToEven) {
    EXPECT_EQ(HexText(10.5), "A");
    EXPECT_EQ(HexText(11.5), "C");
    EXPECT_EQ(HexText(-0.5), "0");
    EXPECT_EQ(HexText(-1.5), "FFFFFFFE");
}

TEST(HexTextTest, OutsideThirtyTwoBitsWrapsOrGivesZero) {
    EXPECT_EQ(HexText(4294967295.0), "FFFFFFFF");
    EXPECT_EQ(HexText(4294967296.0), "0");
    EXPECT_EQ(HexText(4294967296.0 + 26), "1A");
    EXPECT_EQ(HexText(1e300), "0");
    EXPECT_EQ(HexText(-1e300), "0");
    EXPECT_EQ(HexText(std::numeric_limits<double>::infinity()), "0");
    EXPECT_EQ(HexText(std::numeric_limits<double>::quiet_NaN()), "0");
    EXPECT_EQ(HexText(9223372036854775808.0), "0");
    EXPECT_EQ(HexText(-9223372036854775808.0), "0");
}

}  // namespace
