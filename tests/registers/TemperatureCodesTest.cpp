// Rounding helpers and the conversions between register codes and degrees in both ranges.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

#include "registers/RegMapStuff.h"
#include "registers/TemperatureCodes.h"

using namespace GeneralStuff;

namespace {

class RangeTest : public ::testing::Test {
protected:
    void TearDown() override { RegMapStuff::ExtendedRange = false; }
    static void UseExtendedRange(bool on) { RegMapStuff::ExtendedRange = on; }
};

TEST(RoundingTest, NearestTakesHalvesToEven) {
    EXPECT_EQ(Nearest(2.5), 2);
    EXPECT_EQ(Nearest(3.5), 4);
    EXPECT_EQ(Nearest(-2.5), -2);
    EXPECT_EQ(Nearest(-3.5), -4);
    EXPECT_EQ(Nearest(0.5), 0);
    EXPECT_EQ(Nearest(-0.5), 0);
    EXPECT_EQ(Nearest(2.4999999999999996), 2);
    EXPECT_EQ(Nearest(2.5000000000000004), 3);
    EXPECT_EQ(Nearest(-43.6), -44);
    EXPECT_EQ(Nearest(2147483646.5), 2147483646);
}

TEST(RoundingTest, NearestIgnoresTheRoundingMode) {
    const int saved = std::fegetround();
    for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        std::fesetround(mode);
        EXPECT_EQ(Nearest(2.5), 2);
        EXPECT_EQ(Nearest(3.5), 4);
        EXPECT_EQ(Nearest(-2.5), -2);
        EXPECT_EQ(Nearest(-43.6), -44);
        EXPECT_EQ(Nearest(43.4), 43);
    }
    std::fesetround(saved);
}

TEST(RoundingTest, FloorGoesDown) {
    EXPECT_EQ(Floor(-10.25), -11);
    EXPECT_EQ(Floor(10.9), 10);
    EXPECT_EQ(Floor(-11.0), -11);
}

TEST(RoundingTest, RangeChecks) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(FitsInt32(2147483647.0));
    EXPECT_TRUE(FitsInt32(2147483647.4));
    EXPECT_FALSE(FitsInt32(2147483647.5));  // rounds to the even 2147483648
    EXPECT_TRUE(FitsInt32(-2147483648.5));  // rounds to the even -2147483648
    EXPECT_FALSE(FitsInt32(-2147483649.0));
    EXPECT_FALSE(FitsInt32(4294967296.0));
    EXPECT_FALSE(FitsInt32(inf));
    EXPECT_FALSE(FitsInt32(-inf));
    EXPECT_FALSE(FitsInt32(nan));
    EXPECT_TRUE(FitsInt16(32767.0));
    EXPECT_TRUE(FitsInt16(-32768.5));
    EXPECT_FALSE(FitsInt16(32767.5));
    EXPECT_FALSE(FitsInt16(-32769.0));
    EXPECT_FALSE(FitsInt16(nan));
    EXPECT_FALSE(FitsInt16(inf));
}

TEST(RoundingTest, OutOfRangeArgumentsStayDefined) {
    EXPECT_EQ(Nearest(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(Nearest(1e300), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Floor(-1e300), std::numeric_limits<int32_t>::min());
}

TEST_F(RangeTest, DefaultRangeDecoding) {
    UseExtendedRange(false);
    EXPECT_FLOAT_EQ(TempFromCode(0x19), 25.0f);
    EXPECT_FLOAT_EQ(TempFromCode(255), 255.0f);
    EXPECT_FLOAT_EQ(TempFromCode(0), 0.0f);
    EXPECT_FLOAT_EQ(TempFromCodes(0x19, 0x40), 25.25f);
    EXPECT_FLOAT_EQ(TempFromCodes(0x19, 0x7F), 25.25f);
    EXPECT_FLOAT_EQ(TempFromCodes(0x19, 0x3F), 25.0f);
    EXPECT_FLOAT_EQ(TempFromCodes(0xFF, 0xC0), 255.75f);
}

TEST_F(RangeTest, ExtendedRangeDecoding) {
    UseExtendedRange(true);
    EXPECT_FLOAT_EQ(TempFromCode(0x59), 25.0f);
    EXPECT_FLOAT_EQ(TempFromCode(0), -64.0f);
    EXPECT_FLOAT_EQ(TempFromCode(64), 0.0f);
    EXPECT_FLOAT_EQ(TempFromCode(255), 191.0f);
    EXPECT_FLOAT_EQ(TempFromCodes(0x35, 0xC0), -10.25f);
    EXPECT_FLOAT_EQ(TempFromCodes(0x40, 0x3F), 0.0f);
}

TEST_F(RangeTest, OffsetIgnoresRangeAndIsTwosComplement) {
    for (bool extended : {false, true}) {
        UseExtendedRange(extended);
        EXPECT_FLOAT_EQ(OffsetFromCodes(0xFF, 0xC0), -0.25f);
        EXPECT_FLOAT_EQ(OffsetFromCodes(0xFF, 0x00), -1.0f);
        EXPECT_FLOAT_EQ(OffsetFromCodes(0xF5, 0x80), -10.5f);
        EXPECT_FLOAT_EQ(OffsetFromCodes(0x80, 0x00), -128.0f);
        EXPECT_FLOAT_EQ(OffsetFromCodes(0x7F, 0xC0), 127.75f);
        EXPECT_FLOAT_EQ(OffsetFromCodes(0x00, 0x40), 0.25f);
        EXPECT_FLOAT_EQ(OffsetFromCodes(0x00, 0x00), 0.0f);
    }
}

TEST_F(RangeTest, SingleCodeEncoding) {
    UseExtendedRange(false);
    EXPECT_EQ(CodeFromTemp(30.5), 30);
    EXPECT_EQ(CodeFromTemp(31.5), 32);
    EXPECT_EQ(CodeFromTemp(85.0), 85);
    UseExtendedRange(true);
    EXPECT_EQ(CodeFromTemp(25.0), 0x59);
    EXPECT_EQ(CodeFromTemp(-64.0), 0);
    EXPECT_EQ(CodeFromTemp(-33.5), 30);  // -33.5 + 64 = 30.5
}

TEST_F(RangeTest, TenBitEncoding) {
    UseExtendedRange(false);
    CodePair c = CodesFromTemp(25.3);
    EXPECT_EQ(c.high, 25);
    EXPECT_EQ(c.low, 0x40);
    c = CodesFromTemp(10.9);  // floor and nearest are taken apart: reads back as 10.00
    EXPECT_EQ(c.high, 10);
    EXPECT_EQ(c.low, 0x00);
    UseExtendedRange(true);
    c = CodesFromTemp(-10.25);
    EXPECT_EQ(c.high, 53);
    EXPECT_EQ(c.low, 0xC0);
    c = CodesFromTemp(-64.0);
    EXPECT_EQ(c.high, 0);
    EXPECT_EQ(c.low, 0x00);
}

TEST_F(RangeTest, OffsetEncoding) {
    UseExtendedRange(true);  // no range rule for the offset
    CodePair c = CodesFromOffset(-10.5);
    EXPECT_EQ(c.high, 0xF5);
    EXPECT_EQ(c.low, 0x80);
    c = CodesFromOffset(-1.0);
    EXPECT_EQ(c.high, 255);
    EXPECT_EQ(c.low, 0x00);
    c = CodesFromOffset(-0.1);
    EXPECT_EQ(c.high, 255);
    EXPECT_EQ(c.low, 0x00);
    c = CodesFromOffset(127.75);
    EXPECT_EQ(c.high, 0x7F);
    EXPECT_EQ(c.low, 0xC0);
    c = CodesFromOffset(-128.0);
    EXPECT_EQ(c.high, 0x80);
    EXPECT_EQ(c.low, 0x00);
}

TEST_F(RangeTest, GridValuesRoundTrip) {
    for (bool extended : {false, true}) {
        UseExtendedRange(extended);
        const double lowest = extended ? -64.0 : 0.0;
        for (double t = lowest; t <= lowest + 255.75; t += 0.25) {
            const CodePair c = CodesFromTemp(t);
            EXPECT_EQ(TempFromCodes(c.high, c.low), static_cast<float>(t)) << t;
            if (t == std::floor(t)) {
                EXPECT_EQ(TempFromCode(CodeFromTemp(t)), static_cast<float>(t)) << t;
            }
        }
    }
    for (double t = -128.0; t <= 127.75; t += 0.25) {
        const CodePair c = CodesFromOffset(t);
        EXPECT_EQ(OffsetFromCodes(c.high, c.low), static_cast<float>(t)) << t;
    }
}

}  // namespace
