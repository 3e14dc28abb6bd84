#pragma once
// A field of the chip (a limit, the offset, the conversion rate, a flag, ...) as a value in its
// unit and as the register bytes that hold it, both ways, by its encoding in the chip's
// description and the temperature codes' rules. A value the field cannot hold exactly is
// refused, never rounded.
#include "chip/ChipFields.h"

#include <cstdint>
#include <string>

namespace GeneralStuff {

// The field's register byte (the high byte of a ten-bit field) and a ten-bit field's low byte.
struct FieldBytes {
    int32_t high = 0;
    int32_t low = 0;
};

// The value the bytes hold, in the field's unit; a flag is 1 or 0. Bits of the register outside
// the field, and bits 5 to 0 of a low byte, are not looked at.
double FieldValue(const Chip::Field& field, FieldBytes bytes, bool extendedRange);

// Why the field cannot hold the value exactly in that range mode; empty when it can.
std::string FieldValueRefusal(const Chip::Field& field, double value, bool extendedRange);

// The values the field takes, for a help text: "0 to 255 °C (-64 to 191 °C in the extended
// range), whole degrees", "0.0625, 0.125, ... 64 Hz", "on or off".
std::string FieldValuesText(const Chip::Field& field);

// The bytes that hold a value FieldValueRefusal accepts. The register's bits outside the field
// are taken from `current`, the register as read.
FieldBytes FieldBytesFor(const Chip::Field& field, double value, bool extendedRange, int32_t current = 0);

}  // namespace GeneralStuff
