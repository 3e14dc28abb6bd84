#include "registers/FieldCodes.h"

#include "registers/NumberText.h"
#include "registers/TemperatureCodes.h"

#include <algorithm>

namespace GeneralStuff {

namespace {

using Chip::Encoding;

// The field's code as the encoding makes it: for a ten-bit field the high byte in `high`.
FieldBytes CodeFor(const Chip::Field& field, double value, bool extendedRange) {
    switch (field.encoding) {
    case Encoding::TemperatureCode: return {CodeFromTemp(value, extendedRange), 0};
    case Encoding::RemoteTenBit: {
        const CodePair codes = CodesFromTemp(value, extendedRange);
        return {codes.high, codes.low};
    }
    case Encoding::Offset: {
        const CodePair codes = CodesFromOffset(value);
        return {codes.high, codes.low};
    }
    case Encoding::ConversionRate: {
        // A rate not in the table gets the first code past it, which reads back as another rate.
        const auto rate = std::find(std::begin(Chip::ConversionRates), std::end(Chip::ConversionRates), value);
        return {static_cast<int32_t>(rate - std::begin(Chip::ConversionRates)), 0};
    }
    case Encoding::Flag: return {value != 0 ? 1 : 0, 0};
    case Encoding::Hysteresis:
    case Encoding::Plain: break;
    }
    return {Nearest(value), 0};
}

std::string RangeText(const Chip::Field& field, Chip::ValueRange range) {
    const std::string unit = field.unit;
    return DecimalText(static_cast<float>(range.lowest)) + " to " + DecimalText(static_cast<float>(range.highest)) +
           (unit.empty() ? "" : " " + unit);
}

std::string RangeRefusal(const Chip::Field& field, bool extendedRange) {
    const std::string name = field.name;
    const Chip::ValueRange here = field.Range(extendedRange);
    const Chip::ValueRange there = field.Range(!extendedRange);
    if (here.lowest == there.lowest && here.highest == there.highest) return name + " takes " + RangeText(field, here);
    const char* mode = extendedRange ? "extended" : "default";
    const char* other = extendedRange ? "default" : "extended";
    return name + " takes " + RangeText(field, here) + " in the " + mode + " range (" + RangeText(field, there) +
           " in the " + other + " range)";
}

std::string RatesText(const Chip::Field& field) {
    std::string rates;
    for (const double rate : Chip::ConversionRates) rates += (rates.empty() ? "" : ", ") + DecimalText(static_cast<float>(rate));
    return rates + " " + field.unit;
}

std::string StepText(const Chip::Field& field) {
    if (std::string(field.unit).empty()) return "whole numbers";
    return field.step == 1 ? "whole degrees" : "quarter degrees";
}

std::string StepRefusal(const Chip::Field& field) {
    const std::string name = field.name;
    if (field.encoding == Encoding::ConversionRate) return name + " is one of " + RatesText(field);
    return name + " holds " + StepText(field) + ", and a value is never rounded";
}

}  // namespace

std::string FieldValuesText(const Chip::Field& field) {
    if (field.encoding == Encoding::Flag) return "on or off";
    if (field.encoding == Encoding::ConversionRate) return RatesText(field);
    const Chip::ValueRange extended = field.Range(true);
    std::string text = RangeText(field, field.normal);
    if (extended.lowest != field.normal.lowest || extended.highest != field.normal.highest)
        text += " (" + RangeText(field, extended) + " in the extended range)";
    return text + ", " + StepText(field);
}

double FieldValue(const Chip::Field& field, FieldBytes bytes, bool extendedRange) {
    const int32_t code = (bytes.high & field.mask) >> field.Shift();
    switch (field.encoding) {
    case Encoding::TemperatureCode: return TempFromCode(code, extendedRange);
    case Encoding::RemoteTenBit: return TempFromCodes(code, bytes.low, extendedRange);
    case Encoding::Offset: return OffsetFromCodes(code, bytes.low & Chip::QuarterDegreesMask);
    case Encoding::ConversionRate: return Chip::ConversionRates[std::min(code, Chip::ConversionRateCodes - 1)];
    case Encoding::Flag:
    case Encoding::Hysteresis:
    case Encoding::Plain: break;
    }
    return code;
}

std::string FieldValueRefusal(const Chip::Field& field, double value, bool extendedRange) {
    const Chip::ValueRange range = field.Range(extendedRange);
    const bool inRange = value >= range.lowest && value <= range.highest;
    if (!inRange && field.encoding != Encoding::ConversionRate) return RangeRefusal(field, extendedRange);
    // Exact when the bytes read back as the value itself.
    if (!inRange || FieldValue(field, FieldBytesFor(field, value, extendedRange), extendedRange) != value)
        return StepRefusal(field);
    return {};
}

FieldBytes FieldBytesFor(const Chip::Field& field, double value, bool extendedRange, int32_t current) {
    FieldBytes bytes = CodeFor(field, value, extendedRange);
    bytes.high = (current & ~field.mask) | ((bytes.high << field.Shift()) & field.mask);
    return bytes;
}

}  // namespace GeneralStuff
