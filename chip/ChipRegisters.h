#pragma once
// The chip's registers as the program reads and writes them, the bits of its Configuration and
// Status registers, and its identity. The rest of the program names these; the description of
// every register (its name, bit labels and power-on value) is in RegisterDescriptions.h.
#include "protocol/BoardProtocol.h"

#include <cstdint>

namespace Chip {

// A register's read address and the address it is written at (0 where it cannot be written).
struct Register {
    int32_t read;
    int32_t write;
};

namespace Reg {
constexpr Register LocalTemp{0x00, 0};
constexpr Register RemoteTempHigh{0x01, 0};
constexpr Register Status{0x02, 0};
constexpr Register Configuration{0x03, 0x09};
constexpr Register ConversionRate{0x04, 0x0A};
constexpr Register LocalHigh{0x05, 0x0B};
constexpr Register LocalLow{0x06, 0x0C};
constexpr Register RemoteHighHigh{0x07, 0x0D};
constexpr Register RemoteLowHigh{0x08, 0x0E};
constexpr Register RemoteTempLow{0x10, 0};
constexpr Register RemoteOffsetHigh{0x11, 0x11};
constexpr Register RemoteOffsetLow{0x12, 0x12};
constexpr Register RemoteHighLow{0x13, 0x13};
constexpr Register RemoteLowLow{0x14, 0x14};
constexpr Register RemoteTherm{0x19, 0x19};
constexpr Register LocalTherm{0x20, 0x20};
constexpr Register ThermHysteresis{0x21, 0x21};
constexpr Register ConsecutiveAlert{0x22, 0x22};
constexpr Register ManufacturerId{BoardProtocol::kManufacturerIdRegister, 0};
constexpr Register Revision{0xFF, 0};
// Write only: a write starts one conversion.
constexpr int32_t OneShotWrite = 0x0F;
}  // namespace Reg

namespace ConfigBit {
constexpr int32_t MaskAlert = 0x80;
constexpr int32_t Standby = 0x40;
constexpr int32_t AlertIsTherm = 0x20;  // pin 6 is a second THERM output instead of ALERT
constexpr int32_t ExtendedRange = 0x04;
}  // namespace ConfigBit

// In the order of the Status register's bit labels, bit 7 first.
namespace StatusBit {
constexpr int32_t Busy = 0x80;
constexpr int32_t LocalHigh = 0x40;
constexpr int32_t LocalLow = 0x20;
constexpr int32_t RemoteHigh = 0x10;
constexpr int32_t RemoteLow = 0x08;
constexpr int32_t DiodeOpen = 0x04;
constexpr int32_t RemoteTherm = 0x02;
constexpr int32_t LocalTherm = 0x01;
}  // namespace StatusBit

// The conversion-rate code in the low bits of the Conversion Rate register.
constexpr int32_t ConversionRateCodeMask = 0x0F;
// The bits 7 and 6 of a ten-bit value's low byte: its quarter degrees.
constexpr int32_t QuarterDegreesMask = 0xC0;

constexpr int32_t ManufacturerId = BoardProtocol::kManufacturerId;

}  // namespace Chip
