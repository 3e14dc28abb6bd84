#pragma once
// How the chip codes what it measures: whole degrees locally, quarter degrees remotely,
// clamped to the range its Configuration register selects.
#include <cstdint>

namespace UsbSim {

// The default range holds 0 to 127 degrees; the extended range -64 to 191, coded excess-64.
uint8_t LocalCode(double degrees, bool extendedRange);

// A ten-bit remote code, at most the range's top in whole degrees (bits 9:2 the high register, bits 1:0 the low register's bits 7:6).
int RemoteCode(double degrees, int offsetQuarters, bool extendedRange);
// The reading of an open diode: the top of the range, whole degrees.
int OpenDiodeCode(bool extendedRange);

uint8_t HighByte(int tenBitCode);
uint8_t LowByte(int tenBitCode);
int TenBitCode(uint8_t high, uint8_t low);
// The remote offset: a ten-bit two's-complement number of quarter degrees.
int OffsetQuarters(uint8_t high, uint8_t low);

}  // namespace UsbSim
