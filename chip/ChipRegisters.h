#pragma once
// The chip's registers, described once: the table's name and bit labels, where each register is
// read and written, its power-on value and what its byte holds. The register table, the
// simulated chip, the command line's meanings and the windows all take their facts from here.
#include "protocol/BoardProtocol.h"

#include <cstdint>
#include <iterator>
#include <string_view>

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
constexpr int32_t RevisionCode = 0x00;

// What a register's byte holds, as the command line explains it.
enum class Content {
    Plain,            // a number without a unit of its own
    TemperatureCode,  // degrees under the range rule: a temperature, a limit, or a ten-bit value's high byte
    QuarterDegrees,   // a ten-bit value's low byte
    OffsetDegrees,    // the remote offset's whole degrees, two's complement, no range rule
    Degrees,          // plain degrees, no range rule (the THERM hysteresis)
    Flags,            // named bits (the status and configuration registers)
};

namespace BitLabels {
constexpr const char* PlainByte = "7:6:5:4:3:2:1:0";
constexpr const char* TenBitHigh = "9:8:7:6:5:4:3:2";
constexpr const char* TenBitLow = "1:0:-:-:-:-:-:-";
constexpr const char* Status = "Bsy:LocHi:LocLo:RemHi:RemLo:OPEN:RTHRM:LTHRM";
constexpr const char* Configuration = "Msk:STBY:AL/TH:-:-:TRNG:-:-";
}  // namespace BitLabels

struct RegisterDescription {
    const char* name;      // the table's name and description
    Register address;
    const char* bitLabels;  // eight labels joined by ':', bit 7 first
    int32_t powerOn;
    Content content;
    constexpr bool ReadOnly() const { return address.write == 0; }
};

// In the register table's order.
constexpr RegisterDescription Registers[] = {
    {"Local Temp Value", Reg::LocalTemp, BitLabels::PlainByte, 0, Content::TemperatureCode},
    {"Remote Temp High Byte", Reg::RemoteTempHigh, BitLabels::TenBitHigh, 0, Content::TemperatureCode},
    {"Status", Reg::Status, BitLabels::Status, 0, Content::Flags},
    {"Configuration", Reg::Configuration, BitLabels::Configuration, 0, Content::Flags},
    {"Conversion Rate", Reg::ConversionRate, BitLabels::PlainByte, 0x08, Content::Plain},
    {"Local Temp High Limit", Reg::LocalHigh, BitLabels::PlainByte, 0x55, Content::TemperatureCode},
    {"Local Temp Low Limit", Reg::LocalLow, BitLabels::PlainByte, 0, Content::TemperatureCode},
    {"Remote High Limit,High Byte", Reg::RemoteHighHigh, BitLabels::TenBitHigh, 0x55, Content::TemperatureCode},
    {"Remote Low Limit,High Byte", Reg::RemoteLowHigh, BitLabels::TenBitHigh, 0, Content::TemperatureCode},
    {"Remote Temp Low Byte", Reg::RemoteTempLow, BitLabels::TenBitLow, 0, Content::QuarterDegrees},
    {"Remote Offset High Byte", Reg::RemoteOffsetHigh, BitLabels::TenBitHigh, 0, Content::OffsetDegrees},
    {"Remote Offset Low Byte", Reg::RemoteOffsetLow, BitLabels::TenBitLow, 0, Content::QuarterDegrees},
    {"Remote High Limit,Low Byte", Reg::RemoteHighLow, BitLabels::TenBitLow, 0, Content::QuarterDegrees},
    {"Remote Low Limit,Low Byte", Reg::RemoteLowLow, BitLabels::TenBitLow, 0, Content::QuarterDegrees},
    {"Remote Therm Limit", Reg::RemoteTherm, BitLabels::PlainByte, 0x55, Content::TemperatureCode},
    {"Local Therm Limit", Reg::LocalTherm, BitLabels::PlainByte, 0x55, Content::TemperatureCode},
    {"Therm Hysteresis", Reg::ThermHysteresis, BitLabels::PlainByte, 0x0A, Content::Degrees},
    {"Consecutive Alert", Reg::ConsecutiveAlert, BitLabels::PlainByte, 0x01, Content::Plain},
    {"Manufacturer ID", Reg::ManufacturerId, BitLabels::PlainByte, ManufacturerId, Content::Plain},
    {"Revision Code", Reg::Revision, BitLabels::PlainByte, RevisionCode, Content::Plain},
};
constexpr int RegisterCount = static_cast<int>(std::size(Registers));

// The first register of that name, or null.
constexpr const RegisterDescription* FindRegisterByName(std::string_view name) {
    for (const RegisterDescription& r : Registers)
        if (name == r.name) return &r;
    return nullptr;
}

// The first register read at that address, or null.
constexpr const RegisterDescription* FindRegisterByReadAddress(int32_t address) {
    for (const RegisterDescription& r : Registers)
        if (r.address.read == address) return &r;
    return nullptr;
}

// The register a write to that address lands in, or null: read-only registers have none.
constexpr const RegisterDescription* FindRegisterByWriteAddress(int32_t address) {
    for (const RegisterDescription& r : Registers)
        if (!r.ReadOnly() && r.address.write == address) return &r;
    return nullptr;
}

}  // namespace Chip
