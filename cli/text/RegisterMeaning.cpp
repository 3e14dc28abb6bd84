#include "cli/text/RegisterMeaning.h"

#include "chip/RegisterDescriptions.h"
#include "cli/text/JsonText.h"
#include "cli/text/RegisterArgument.h"
#include "registers/NumberText.h"
#include "registers/RegMapStuff.h"
#include "registers/TemperatureCodes.h"

#include <cstdio>

namespace {

// The bits of the Status register that are alarms: all but the busy bit.
constexpr int AlarmBits = 0xFF & ~Chip::StatusBit::Busy;

using Kind = Chip::Content;

// What the target's byte holds; a register outside the table is a plain number.
Kind KindOf(const RegisterTarget& target) {
    if (!target.entry) return Kind::Plain;
    const auto* reg = Chip::FindRegisterByReadAddress(RegMapStuff::RegTable[*target.entry].ReadAddr);
    return reg ? reg->content : Kind::Plain;
}

float DegreesOf(Kind kind, int value) {
    switch (kind) {
    case Kind::TemperatureCode: return GeneralStuff::TempFromCode(value);
    case Kind::QuarterDegrees: return GeneralStuff::FractionFromCode(value);
    case Kind::OffsetDegrees: return GeneralStuff::OffsetFromCodes(value, 0);
    default: return static_cast<float>(value);
    }
}

std::vector<std::string> SetBits(const std::array<std::string, 8>& labels, int value, int mask) {
    std::vector<std::string> names;
    for (int bit = 7; bit >= 0; --bit) {
        const std::string& label = labels[7 - bit];
        if ((value & mask & (1 << bit)) != 0 && label != "-") names.push_back(label);
    }
    return names;
}

std::string MeaningText(Kind kind, const RegisterTarget& target, int value) {
    switch (kind) {
    case Kind::Plain: return {};
    case Kind::Flags: return NamesText(SetBitNames(*target.entry, value));
    case Kind::QuarterDegrees: return "+" + DegreesText(DegreesOf(kind, value));
    default: return DegreesText(DegreesOf(kind, value));
    }
}

}  // namespace

std::string RegisterLine(const RegisterTarget& target, int value) {
    const std::string name = TargetName(target);
    char line[96];
    std::snprintf(line, sizeof line, "%-28s %s  %s  %3d  ", name.c_str(), HexByte(target.address).c_str(),
                  HexByte(value).c_str(), value);
    std::string text = line + MeaningText(KindOf(target), target, value);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::string RegisterJson(const RegisterTarget& target, int value) {
    JsonObject json;
    json.String("name", TargetName(target))
        .Integer("address", target.address)
        .Integer("value", value)
        .String("hex", HexByte(value));
    const Kind kind = KindOf(target);
    if (kind == Kind::Plain) return json.Text();
    json.String("meaning", MeaningText(kind, target, value));
    if (kind == Kind::Flags) return json.Raw("flags", JsonStringArray(SetBitNames(*target.entry, value))).Text();
    return json.Degrees("celsius", DegreesOf(kind, value)).Text();
}

std::vector<std::string> SetBitNames(int entry, int value) {
    return SetBits(RegMapStuff::SplitBitNames(RegMapStuff::RegTable[entry].BitNames), value, 0xFF);
}

std::vector<std::string> AlarmNames(int status) {
    const int entry = RegMapStuff::FindByReadAddr(Chip::Reg::Status.read).value_or(0);
    return SetBits(RegMapStuff::SplitBitNames(RegMapStuff::RegTable[entry].BitNames), status, AlarmBits);
}

std::string NamesText(const std::vector<std::string>& names, const char* none) {
    if (names.empty()) return none;
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : " ") + name;
    return text;
}

std::string HexByte(int value) {
    return "0x" + GeneralStuff::HexByteText(value);
}

std::string DegreesText(float degrees) { return GeneralStuff::TrimmedNumberText(degrees) + " \u00B0C"; }
