#include "board/ChipReading.h"

#include "chip/ChipFields.h"
#include "registers/RegMapStuff.h"
#include "registers/TemperatureCodes.h"

#include <string_view>

namespace USBStuff {

namespace {

// Times the remote bytes are read again while the high byte changes. Conversions come at most
// 64 times a second, and a pair of reads takes a few milliseconds, so the second try settles;
// should every try see a new value, the last pair read is taken.
constexpr int SettleTries = 4;

// Reads one register into value; false with the failure kept.
bool ReadInto(const ChipOnBoard& chip, const Chip::Register& reg, int& value, ChipTransfer& failed) {
    const ChipTransfer read = chip.Read(reg.read);
    if (!read) {
        failed = read;
        return false;
    }
    value = read.value;
    return true;
}

bool ReadRemote(const ChipOnBoard& chip, RemoteBytes order, float& degrees, ChipTransfer& failed) {
    int high = 0, low = 0;
    if (order == RemoteBytes::LowThenHigh) {
        if (!ReadInto(chip, Chip::Reg::RemoteTempLow, low, failed) ||
            !ReadInto(chip, Chip::Reg::RemoteTempHigh, high, failed))
            return false;
    } else {
        if (!ReadInto(chip, Chip::Reg::RemoteTempHigh, high, failed)) return false;
        for (int tries = 0; tries < SettleTries; ++tries) {
            int highAgain = 0;
            if (!ReadInto(chip, Chip::Reg::RemoteTempLow, low, failed) ||
                !ReadInto(chip, Chip::Reg::RemoteTempHigh, highAgain, failed))
                return false;
            const bool settled = highAgain == high;
            high = highAgain;
            if (settled) break;
        }
    }
    degrees = GeneralStuff::TempFromCodes(high, low);
    return true;
}

bool ReadField(const ChipOnBoard& chip, const Chip::Field& field, float& degrees, ChipTransfer& failed) {
    int high = 0, low = 0;
    if (!ReadInto(chip, field.high, high, failed)) return false;
    if (field.TenBit() && !ReadInto(chip, field.low, low, failed)) return false;
    degrees = field.TenBit() ? GeneralStuff::TempFromCodes(high, low) : GeneralStuff::TempFromCode(high);
    return true;
}

constexpr bool LimitsAreTemperatureFields() {
    constexpr const char* suffixes[] = {"-high", "-low", "-therm"};
    for (size_t i = 0; i < LimitFieldNames.size(); ++i) {
        const Chip::Field* field = Chip::FindField(LimitFieldNames[i]);
        if (!field) return false;
        if (field->encoding != Chip::Encoding::TemperatureCode && field->encoding != Chip::Encoding::RemoteTenBit)
            return false;
        const std::string_view name = LimitFieldNames[i];
        const std::string_view channel = i < 3 ? "local" : "remote";
        if (name.substr(0, channel.size()) != channel || name.substr(channel.size()) != suffixes[i % 3]) return false;
    }
    return true;
}
static_assert(LimitsAreTemperatureFields(), "the limits are each channel's high, low and THERM temperature fields");

}  // namespace

std::optional<Temperatures> TryTemperatures(const ChipOnBoard& chip, RemoteBytes order, ChipTransfer& failed) {
    int local = 0;
    Temperatures t;
    if (!ReadInto(chip, Chip::Reg::LocalTemp, local, failed) || !ReadRemote(chip, order, t.remote, failed))
        return std::nullopt;
    t.local = GeneralStuff::TempFromCode(local);
    return t;
}

std::optional<Reading> TryReading(const ChipOnBoard& chip, RemoteBytes order, ChipTransfer& failed) {
    const std::optional<Temperatures> t = TryTemperatures(chip, order, failed);
    int status = 0;
    if (!t || !ReadInto(chip, Chip::Reg::Status, status, failed)) return std::nullopt;
    return Reading{t->local, t->remote, status};
}

std::optional<ChannelLimits> TryChannelLimits(const ChipOnBoard& chip, Channel channel, ChipTransfer& failed) {
    // A channel's three limits stand together in LimitFieldNames: high, low, THERM.
    const size_t high = channel == Channel::Local ? 0 : 3;
    const auto field = [](size_t i) -> const Chip::Field& { return *Chip::FindField(LimitFieldNames[i]); };
    ChannelLimits limits;
    if (!ReadField(chip, field(high + 1), limits.low, failed) || !ReadField(chip, field(high), limits.high, failed) ||
        !ReadField(chip, field(high + 2), limits.therm, failed))
        return std::nullopt;
    return limits;
}

std::optional<Limits> TryLimits(const ChipOnBoard& chip, ChipTransfer& failed) {
    Limits limits{};
    for (size_t i = 0; i < limits.size(); ++i)
        if (!ReadField(chip, *Chip::FindField(LimitFieldNames[i]), limits[i], failed)) return std::nullopt;
    return limits;
}

bool TryShadow(const ChipOnBoard& chip, ChipTransfer& failed) {
    int configuration = 0;
    if (!ReadInto(chip, Chip::Reg::Configuration, configuration, failed)) return false;
    RegMapStuff::SetShadowFromConfiguration(configuration);
    return true;
}

}  // namespace USBStuff
