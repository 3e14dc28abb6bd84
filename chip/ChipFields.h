#pragma once
// The chip's fields: each setting a user reads or sets as one value (a limit in degrees, the
// conversion rate, a configuration flag), with the bits that hold it, how it is coded, its
// unit and the values it can take in each temperature range.
#include "chip/RegisterDescriptions.h"

#include <cstdint>
#include <iterator>
#include <string_view>

namespace Chip {

enum class Encoding {
    TemperatureCode,  // one byte; degrees = code, minus 64 in the extended range
    RemoteTenBit,     // quarter degrees over a high byte (bits 9..2) and the low byte's bits 7 and 6;
                      // the range rule applies to the high byte
    Offset,           // as RemoteTenBit, but ten-bit two's complement and no range rule
    Hysteresis,       // one byte of plain degrees, no range rule
    ConversionRate,   // a code, the index into ConversionRates
    Flag,             // one bit
    Plain,            // the byte as it is
};

// Conversions per second (Hz), by rate code; codes past the table run at the last rate.
constexpr double ConversionRates[] = {0.0625, 0.125, 0.25, 0.5, 1, 2, 4, 8, 16, 32, 64};
constexpr int ConversionRateCodes = static_cast<int>(std::size(ConversionRates));

struct ValueRange {
    double lowest;
    double highest;
};

// The lowest set bit's place in a mask.
constexpr int ShiftOf(int32_t mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

struct Field {
    const char* name;  // lower case, words joined by '-'
    Encoding encoding;
    Register high;     // the register, or the high byte of a ten-bit value
    Register low;      // the low byte of a ten-bit value; {0, 0} for one register
    int32_t mask;      // the field's bits in the register (high)
    const char* unit;  // "" where the value has none
    double step;       // the smallest change the chip holds; 0 where only ConversionRates' values are
    ValueRange normal;    // the default range
    ValueRange extended;  // the extended temperature range
    constexpr bool TenBit() const { return encoding == Encoding::RemoteTenBit || encoding == Encoding::Offset; }
    constexpr int Shift() const { return ShiftOf(mask); }
    // Other settings share the register: it is written read-modify-write.
    constexpr bool SharesRegister() const { return mask != 0xFF; }
    constexpr ValueRange Range(bool extendedRange) const { return extendedRange ? extended : normal; }
};

namespace FieldRange {
constexpr ValueRange ByteDegrees{0, 255};
constexpr ValueRange ExtendedByteDegrees{-64, 191};
constexpr ValueRange TenBitDegrees{0, 255.75};
constexpr ValueRange ExtendedTenBitDegrees{-64, 191.75};
constexpr ValueRange Offset{-128, 127.75};
constexpr ValueRange Byte{0, 255};
constexpr ValueRange Rate{ConversionRates[0], ConversionRates[ConversionRateCodes - 1]};
constexpr ValueRange Bit{0, 1};
}  // namespace FieldRange

namespace FieldUnit {
constexpr const char* Celsius = "\u00B0C";
constexpr const char* Hertz = "Hz";  // conversions per second
constexpr const char* None = "";
}  // namespace FieldUnit

constexpr Register NoRegister{0, 0};

constexpr Field LimitByte(const char* name, Register reg) {
    return {name, Encoding::TemperatureCode, reg, NoRegister, 0xFF, FieldUnit::Celsius, 1,
            FieldRange::ByteDegrees, FieldRange::ExtendedByteDegrees};
}
constexpr Field LimitTenBit(const char* name, Register high, Register low) {
    return {name, Encoding::RemoteTenBit, high, low, 0xFF, FieldUnit::Celsius, 0.25,
            FieldRange::TenBitDegrees, FieldRange::ExtendedTenBitDegrees};
}
constexpr Field ConfigurationFlag(const char* name, int32_t bit) {
    return {name, Encoding::Flag, Reg::Configuration, NoRegister, bit, FieldUnit::None, 1,
            FieldRange::Bit, FieldRange::Bit};
}

constexpr Field Fields[] = {
    LimitByte("local-high", Reg::LocalHigh),
    LimitByte("local-low", Reg::LocalLow),
    LimitByte("local-therm", Reg::LocalTherm),
    LimitTenBit("remote-high", Reg::RemoteHighHigh, Reg::RemoteHighLow),
    LimitTenBit("remote-low", Reg::RemoteLowHigh, Reg::RemoteLowLow),
    LimitByte("remote-therm", Reg::RemoteTherm),
    {"remote-offset", Encoding::Offset, Reg::RemoteOffsetHigh, Reg::RemoteOffsetLow, 0xFF, FieldUnit::Celsius, 0.25,
     FieldRange::Offset, FieldRange::Offset},
    {"therm-hysteresis", Encoding::Hysteresis, Reg::ThermHysteresis, NoRegister, 0xFF, FieldUnit::Celsius, 1,
     FieldRange::Byte, FieldRange::Byte},
    {"conversion-rate", Encoding::ConversionRate, Reg::ConversionRate, NoRegister, ConversionRateCodeMask,
     FieldUnit::Hertz, 0, FieldRange::Rate, FieldRange::Rate},
    // The register is described as a plain eight-bit value (power-on 1) and nothing finer, so
    // a user sets the whole byte, 0 to 255, as the register map window writes it.
    {"consecutive-alert", Encoding::Plain, Reg::ConsecutiveAlert, NoRegister, 0xFF, FieldUnit::None, 1,
     FieldRange::Byte, FieldRange::Byte},
    ConfigurationFlag("standby", ConfigBit::Standby),
    ConfigurationFlag("mask-alert", ConfigBit::MaskAlert),
    ConfigurationFlag("alert-is-therm", ConfigBit::AlertIsTherm),
    ConfigurationFlag("extended-range", ConfigBit::ExtendedRange),
};
constexpr int FieldCount = static_cast<int>(std::size(Fields));

// The field of that name, or null.
constexpr const Field* FindField(std::string_view name) {
    for (const Field& f : Fields)
        if (name == f.name) return &f;
    return nullptr;
}

// Every field lies in described registers that can be written.
constexpr bool FieldsLieInWritableRegisters() {
    for (const Field& f : Fields) {
        if (!FindRegisterByWriteAddress(f.high.write)) return false;
        if (f.TenBit() && !FindRegisterByWriteAddress(f.low.write)) return false;
    }
    return true;
}
static_assert(FieldsLieInWritableRegisters(), "a field names a register that is not described or cannot be written");

}  // namespace Chip
