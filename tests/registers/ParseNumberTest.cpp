// Reading numbers from typed or stored text: decimal, exponent and "&H" hexadecimal forms,
// and texts that are not numbers at all.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "registers/NumberText.h"
#include "registers/TemperatureCodes.h"

using namespace GeneralStuff;

namespace {

TEST(ParseNumberTest, NumberAtTheStart) {
    EXPECT_EQ(ParseNumber("100"), 100.0);
    EXPECT_EQ(ParseNumber("50 ms"), 50.0);
    EXPECT_EQ(ParseNumber("-2.75"), -2.75);
    EXPECT_EQ(ParseNumber("12abc"), 12.0);
    EXPECT_EQ(ParseNumber("abc"), 0.0);
    EXPECT_EQ(ParseNumber(""), 0.0);
    EXPECT_EQ(ParseNumber("1.2.3"), 1.2);
    EXPECT_EQ(ParseNumber("1,5"), 1.0);
    EXPECT_EQ(ParseNumber(".25"), 0.25);
    EXPECT_EQ(ParseNumber("-.25"), -0.25);
    EXPECT_EQ(ParseNumber("007"), 7.0);
    EXPECT_EQ(ParseNumber("12\r34"), 12.0);
}

TEST(ParseNumberTest, BlanksTabsAndLineFeedsAreSkippedEverywhere) {
    EXPECT_EQ(ParseNumber("1 2"), 12.0);
    EXPECT_EQ(ParseNumber("\t1\n2"), 12.0);
    EXPECT_EQ(ParseNumber("  - 1 0 . 5"), -10.5);
    EXPECT_EQ(ParseNumber(" 25"), 25.0);
    EXPECT_EQ(ParseNumber("1 e 2"), 100.0);
    EXPECT_EQ(ParseNumber(" & h 1 a"), 26.0);
}

TEST(ParseNumberTest, Exponents) {
    EXPECT_EQ(ParseNumber("1e3"), 1000.0);
    EXPECT_EQ(ParseNumber("1E+3"), 1000.0);
    EXPECT_EQ(ParseNumber("2.5D-1"), 0.25);
    EXPECT_EQ(ParseNumber("2.5d1"), 25.0);
    EXPECT_EQ(ParseNumber("+.5e-2"), 0.005);
    EXPECT_EQ(ParseNumber("3e"), 3.0);
    EXPECT_EQ(ParseNumber("3e-"), 3.0);
    EXPECT_EQ(ParseNumber("e5"), 0.0);
}

TEST(ParseNumberTest, SignsAndPointsAlone) {
    for (const char* text : {"-", "+", ".", "-.", "+-1", "--1"}) {
        const double v = ParseNumber(text);
        EXPECT_EQ(v, 0.0) << text;
        EXPECT_FALSE(std::signbit(v)) << text;
    }
}

TEST(ParseNumberTest, HexSixteenAndThirtyTwoBits) {
    EXPECT_EQ(ParseNumber("&H1A"), 26.0);
    EXPECT_EQ(ParseNumber("&h1a"), 26.0);
    EXPECT_EQ(ParseNumber("&HFF"), 255.0);
    EXPECT_EQ(ParseNumber("&HFFFF"), -1.0);
    EXPECT_EQ(ParseNumber("&H8000"), -32768.0);
    EXPECT_EQ(ParseNumber("&H7FFF"), 32767.0);
    EXPECT_EQ(ParseNumber("&H10000"), 65536.0);
    EXPECT_EQ(ParseNumber("&H0FFFF"), 65535.0);
    EXPECT_EQ(ParseNumber("&HFFFFFFFF"), -1.0);
    EXPECT_EQ(ParseNumber("&H80000000"), -2147483648.0);
    EXPECT_EQ(ParseNumber("&H7FFFFFFF"), 2147483647.0);
    EXPECT_EQ(ParseNumber("&H1Zz"), 1.0);
    EXPECT_EQ(ParseNumber("&H"), 0.0);
    EXPECT_EQ(ParseNumber("&HG"), 0.0);
    EXPECT_EQ(ParseNumber("&"), 0.0);
    EXPECT_EQ(ParseNumber("&X12"), 0.0);
}

TEST(ParseNumberTest, LongHexIsAPlainMagnitudeOutsideInt32) {
    EXPECT_EQ(ParseNumber("&H100000000"), 4294967296.0);
    EXPECT_EQ(ParseNumber("&HFFFFFFFFFFFF"), 281474976710655.0);
    EXPECT_FALSE(FitsInt32(ParseNumber("&HFFFFFFFFFFFF")));
    EXPECT_FALSE(FitsInt32(ParseNumber("&H" + std::string(300, 'F'))));
    EXPECT_FALSE(FitsInt32(ParseNumber("&H" + std::string(5000, 'F'))));
}

TEST(ParseNumberTest, HugeAndTinyTextsNeverFail) {
    EXPECT_TRUE(std::isinf(ParseNumber("1e999999")));
    EXPECT_TRUE(std::isinf(ParseNumber("-1e99999999999999999999999")));
    EXPECT_LT(ParseNumber("-1e999999"), 0.0);
    EXPECT_EQ(ParseNumber("1e-999999"), 0.0);
    EXPECT_EQ(ParseNumber("0e999999"), 0.0);
    EXPECT_EQ(ParseNumber("1e308"), 1e308);
    EXPECT_FALSE(FitsInt32(ParseNumber("1e999999")));
    EXPECT_FALSE(FitsInt32(ParseNumber("99999999999")));
}

TEST(ParseNumberTest, VeryLongDigitStrings) {
    EXPECT_EQ(ParseNumber(std::string(5000, '0') + "42"), 42.0);
    EXPECT_EQ(ParseNumber("0." + std::string(5000, '0') + "1e5001"), 1.0);
    EXPECT_TRUE(std::isinf(ParseNumber(std::string(5000, '9'))));
    EXPECT_EQ(ParseNumber("1" + std::string(300, '0')), 1e300);
    EXPECT_EQ(ParseNumber("1." + std::string(200000, '0')), 1.0);
    EXPECT_DOUBLE_EQ(ParseNumber("1." + std::string(200000, '3')), 4.0 / 3.0);
    EXPECT_EQ(ParseNumber("." + std::string(200000, '0') + "1"), 0.0);
    EXPECT_EQ(ParseNumber("1" + std::string(200000, '0') + "e-200000"), 1.0);
    // A tie between two doubles is decided by a digit far beyond the first few hundred.
    EXPECT_EQ(ParseNumber("9007199254740993"), 9007199254740992.0);
    EXPECT_EQ(ParseNumber("9007199254740993" + std::string(2000, '0') + "1e-2001"), 9007199254740994.0);
}

TEST(ParseNumberTest, AnyBytesAreSafe) {
    EXPECT_EQ(ParseNumber(std::string("12\0" "34", 5)), 12.0);
    EXPECT_EQ(ParseNumber(std::string("\0" "5", 2)), 0.0);
    EXPECT_EQ(ParseNumber("\xff\xfe" "7"), 0.0);
    EXPECT_EQ(ParseNumber("\xc3\xa9" "7"), 0.0);
    std::string everyByte;
    for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
    for (size_t start = 0; start < everyByte.size(); ++start) {
        const double v = ParseNumber(everyByte.substr(start));
        EXPECT_TRUE(std::isfinite(v)) << start;
    }
}

}  // namespace
