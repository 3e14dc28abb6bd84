#pragma once
// What the chip's converter makes of a measured temperature: whole degrees locally, quarter
// degrees remotely, clamped to the range its Configuration register selects, coded as the
// chip's description codes temperatures.
#include <cstdint>

namespace UsbSim {

// The default range holds 0 to 127 degrees; the extended range -64 to 191, coded excess-64.
uint8_t LocalCode(double degrees, bool extendedRange);

// A ten-bit remote code, at most the range's top in whole degrees.
int RemoteCode(double degrees, int offsetQuarters, bool extendedRange);
// The reading of an open diode: the top of the range, whole degrees.
int OpenDiodeCode(bool extendedRange);

}  // namespace UsbSim
