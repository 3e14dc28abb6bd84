#include "registers/TemperatureCodes.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "chip/TemperatureEncoding.h"
#include "registers/RegMapStuff.h"
#include "registers/RoundHalfEven.h"

namespace GeneralStuff {

namespace {

constexpr double Int32Min = std::numeric_limits<int32_t>::min();
constexpr double Int32Max = std::numeric_limits<int32_t>::max();

// Callers are expected to keep arguments in range; a value outside saturates and NaN gives 0,
// so a stray value can never become undefined behaviour.
int32_t SaturateToInt32(double whole) {
    if (std::isnan(whole)) return 0;
    if (whole <= Int32Min) return std::numeric_limits<int32_t>::min();
    if (whole >= Int32Max) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(whole);
}

int32_t SaturateToInt32(int64_t whole) {
    return SaturateToInt32(static_cast<double>(whole));
}

int32_t RangeShift(bool extendedRange) { return Chip::RangeExcess(extendedRange); }

// Bits 1 and 0 of the quarter-degree count, placed in bits 7 and 6 of the low byte.
int32_t QuarterBits(double quarters) { return Chip::LowByteOfTenBit(Nearest(quarters)); }

}  // namespace

int32_t Nearest(double x) {
    return SaturateToInt32(RoundHalfEven(x));
}

int32_t Floor(double x) {
    return SaturateToInt32(std::floor(x));
}

bool FitsInt32(double x) {
    if (!std::isfinite(x)) return false;
    const double whole = RoundHalfEven(x);
    return whole >= Int32Min && whole <= Int32Max;
}

bool FitsInt16(double x) {
    if (!std::isfinite(x)) return false;
    const double whole = RoundHalfEven(x);
    return whole >= std::numeric_limits<int16_t>::min() && whole <= std::numeric_limits<int16_t>::max();
}

float TempFromCode(int32_t code) { return TempFromCode(code, RegMapStuff::ExtendedRange); }

float TempFromCode(int32_t code, bool extendedRange) {
    return static_cast<float>(code) - static_cast<float>(RangeShift(extendedRange));
}

float FractionFromCode(int32_t low) { return static_cast<float>(Chip::QuartersInLowByte(low)) / 4.0f; }

float TempFromCodes(int32_t high, int32_t low) { return TempFromCodes(high, low, RegMapStuff::ExtendedRange); }

float TempFromCodes(int32_t high, int32_t low, bool extendedRange) {
    return static_cast<float>(high) + FractionFromCode(low) - static_cast<float>(RangeShift(extendedRange));
}

float OffsetFromCodes(int32_t high, int32_t low) {
    float quarters = static_cast<float>(high) * 4.0f + static_cast<float>(low) / 64.0f;
    // The low byte is taken whole: its bits 5..0 count as fractions of a quarter.
    constexpr float Span = Chip::TenBitCodes;
    if (quarters < 0.0f || quarters >= Span / 2) quarters -= Span;
    return quarters / 4.0f;
}

int32_t CodeFromTemp(double t) { return CodeFromTemp(t, RegMapStuff::ExtendedRange); }

int32_t CodeFromTemp(double t, bool extendedRange) { return Nearest(t + Chip::RangeExcess(extendedRange)); }

CodePair CodesFromTemp(double t) { return CodesFromTemp(t, RegMapStuff::ExtendedRange); }

CodePair CodesFromTemp(double t, bool extendedRange) {
    CodePair codes;
    codes.high = SaturateToInt32(static_cast<int64_t>(Floor(t)) + RangeShift(extendedRange));
    codes.low = QuarterBits(t * 4.0);
    return codes;
}

CodePair CodesFromOffset(double t) {
    CodePair codes;
    if (t >= 0.0) {
        codes.high = Floor(t);
        codes.low = QuarterBits(t * 4.0);
    } else {
        codes.high = Nearest(std::floor(t) + 256.0);
        codes.low = QuarterBits(t * 4.0 + Chip::TenBitCodes);
    }
    return codes;
}

}  // namespace GeneralStuff
