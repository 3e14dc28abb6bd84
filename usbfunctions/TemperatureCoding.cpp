#include "TemperatureCoding.h"

#include "chip/TemperatureEncoding.h"

#include <algorithm>
#include <cmath>

namespace UsbSim {

uint8_t LocalCode(double degrees, bool extendedRange) {
    const long code = std::lround(degrees) + Chip::RangeExcess(extendedRange);
    return static_cast<uint8_t>(std::clamp<long>(code, 0, Chip::TopMeasuredCode(extendedRange)));
}

int RemoteCode(double degrees, int offsetQuarters, bool extendedRange) {
    const long quarters = std::lround(degrees * 4) + offsetQuarters + Chip::RangeExcess(extendedRange) * 4;
    return static_cast<int>(std::clamp<long>(quarters, 0, Chip::TopMeasuredCode(extendedRange) * 4));
}

int OpenDiodeCode(bool extendedRange) { return Chip::TopMeasuredCode(extendedRange) * 4; }

}  // namespace UsbSim
