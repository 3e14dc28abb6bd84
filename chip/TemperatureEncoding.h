#pragma once
// How the chip codes a temperature in its registers: whole degrees in one byte, excess-64 in the
// extended range; quarter degrees as a ten-bit value over two bytes; the remote offset as a
// ten-bit two's complement. The chip codes with these and the program decodes with them.
#include "chip/ChipRegisters.h"

namespace Chip {

// What the extended range adds to a temperature's code; the default range adds nothing.
constexpr int RangeExcess(bool extendedRange) { return extendedRange ? 64 : 0; }

// The highest code the chip measures: 127 degrees in the default range, 191 in the extended.
constexpr int TopMeasuredCode(bool extendedRange) { return extendedRange ? 255 : 127; }

// Ten-bit values: bits 9..2 in the high byte, bits 1..0 in bits 7..6 of the low byte.
constexpr int TenBitCodes = 1024;
constexpr int QuartersInLowByte(int low) { return (low & QuarterDegreesMask) >> 6; }
constexpr int TenBitFromBytes(int high, int low) { return high * 4 + QuartersInLowByte(low); }
constexpr int HighByteOfTenBit(int tenBit) { return (tenBit >> 2) & 0xFF; }
constexpr int LowByteOfTenBit(int tenBit) { return (tenBit & 3) << 6; }

// The ten-bit two's complement: codes from half the span on stand for negative values.
constexpr bool TenBitIsNegative(int tenBit) { return tenBit >= TenBitCodes / 2; }
constexpr int SignedTenBit(int tenBit) { return TenBitIsNegative(tenBit) ? tenBit - TenBitCodes : tenBit; }

static_assert(TenBitFromBytes(HighByteOfTenBit(0x3FF), LowByteOfTenBit(0x3FF)) == 0x3FF);
static_assert(SignedTenBit(TenBitFromBytes(0xFF, 0xC0)) == -1);

}  // namespace Chip
