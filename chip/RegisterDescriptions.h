#pragma once
// Every register the program knows, described once: the table's name and bit labels, where it
// is read and written, its power-on value and what its byte holds. The register table, the
// simulated chip and the command line's meanings take their facts from here.
#include "chip/ChipRegisters.h"

#include <cstdint>
#include <iterator>
#include <string_view>

namespace Chip {

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
