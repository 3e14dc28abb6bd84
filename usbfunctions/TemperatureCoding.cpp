#include "TemperatureCoding.h"

#include <algorithm>
#include <cmath>

namespace UsbSim {

namespace {

constexpr int kExcess = 64;
constexpr int kDefaultTop = 127;
constexpr int kExtendedTop = 255;

int TopCode(bool extendedRange) { return extendedRange ? kExtendedTop : kDefaultTop; }

}  // namespace

uint8_t LocalCode(double degrees, bool extendedRange) {
    long code = std::lround(degrees) + (extendedRange ? kExcess : 0);
    return static_cast<uint8_t>(std::clamp<long>(code, 0, TopCode(extendedRange)));
}

int RemoteCode(double degrees, int offsetQuarters, bool extendedRange) {
    long quarters = std::lround(degrees * 4) + offsetQuarters + (extendedRange ? kExcess * 4 : 0);
    return static_cast<int>(std::clamp<long>(quarters, 0, TopCode(extendedRange) * 4));
}

int OpenDiodeCode(bool extendedRange) { return TopCode(extendedRange) * 4; }

uint8_t HighByte(int tenBitCode) { return static_cast<uint8_t>(tenBitCode >> 2); }
uint8_t LowByte(int tenBitCode) { return static_cast<uint8_t>((tenBitCode & 3) << 6); }
int TenBitCode(uint8_t high, uint8_t low) { return (high << 2) | (low >> 6); }

int OffsetQuarters(uint8_t high, uint8_t low) {
    int value = TenBitCode(high, low);
    return value >= 512 ? value - 1024 : value;
}

}  // namespace UsbSim
