#include "cli/RegisterMeaning.h"

#include "cli/JsonText.h"
#include "cli/RegisterArgument.h"
#include "registers/ChipRegisters.h"
#include "registers/NumberText.h"
#include "registers/RegMapStuff.h"
#include "registers/TemperatureCodes.h"

#include <cstdio>

namespace {

enum class Kind {
    None,
    Degrees,       // a temperature, a limit, or the whole degrees of a 10-bit one (range rule)
    Quarters,      // the low byte of a 10-bit value: its bits 7 and 6 are quarter degrees
    OffsetDegrees, // the whole degrees of the remote offset (two's complement, no range rule)
    PlainDegrees,  // the THERM hysteresis (no range rule)
    Flags,         // the status and configuration registers
};

struct MeaningRow {
    int32_t readAddress;
    Kind kind;
};

using namespace Chip::Reg;
constexpr MeaningRow Meanings[] = {
    {LocalTemp.read, Kind::Degrees},          {RemoteTempHigh.read, Kind::Degrees},
    {Status.read, Kind::Flags},               {Configuration.read, Kind::Flags},
    {LocalHigh.read, Kind::Degrees},          {LocalLow.read, Kind::Degrees},
    {RemoteHighHigh.read, Kind::Degrees},     {RemoteLowHigh.read, Kind::Degrees},
    {RemoteTempLow.read, Kind::Quarters},     {RemoteOffsetHigh.read, Kind::OffsetDegrees},
    {RemoteOffsetLow.read, Kind::Quarters},   {RemoteHighLow.read, Kind::Quarters},
    {RemoteLowLow.read, Kind::Quarters},      {RemoteTherm.read, Kind::Degrees},
    {LocalTherm.read, Kind::Degrees},         {ThermHysteresis.read, Kind::PlainDegrees},
};

// The bits of the Status register that are alarms: all but the busy bit.
constexpr int AlarmBits = 0xFF & ~Chip::StatusBit::Busy;

Kind KindOf(const RegisterTarget& target) {
    if (!target.entry) return Kind::None;
    const int32_t readAddress = RegMapStuff::RegTable[*target.entry].ReadAddr;
    for (const MeaningRow& row : Meanings)
        if (row.readAddress == readAddress) return row.kind;
    return Kind::None;
}

float DegreesOf(Kind kind, int value) {
    switch (kind) {
    case Kind::Degrees: return GeneralStuff::TempFromCode(value);
    case Kind::Quarters: return GeneralStuff::FractionFromCode(value);
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
    case Kind::None: return {};
    case Kind::Flags: return NamesText(SetBitNames(*target.entry, value));
    case Kind::Quarters: return "+" + DegreesText(DegreesOf(kind, value));
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
    if (kind == Kind::None) return json.Text();
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
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(value) & 0xFFu);
    return text;
}

std::string DegreesText(float degrees) { return GeneralStuff::TrimmedNumberText(degrees) + " \u00B0C"; }
