#include "cli/text/ChipReading.h"

#include "chip/ChipFields.h"
#include "chip/ChipRegisters.h"
#include "registers/RegMapStuff.h"
#include "registers/TemperatureCodes.h"

using USBStuff::ChipOnBoard;
using USBStuff::ChipTransfer;

namespace {

// Reads one register into value; false with the failure kept.
bool ReadInto(const ChipOnBoard& chip, int32_t address, int& value, ChipTransfer& failed) {
    const ChipTransfer read = chip.Read(address);
    if (!read) {
        failed = read;
        return false;
    }
    value = read.value;
    return true;
}

}  // namespace

std::optional<Reading> TryReading(const ChipOnBoard& chip, ChipTransfer& failed) {
    // The order the windows program reads them in: the remote low byte before its high byte.
    int local = 0, remoteLow = 0, remoteHigh = 0, status = 0;
    if (!ReadInto(chip, Chip::Reg::LocalTemp.read, local, failed) ||
        !ReadInto(chip, Chip::Reg::RemoteTempLow.read, remoteLow, failed) ||
        !ReadInto(chip, Chip::Reg::RemoteTempHigh.read, remoteHigh, failed) ||
        !ReadInto(chip, Chip::Reg::Status.read, status, failed))
        return std::nullopt;
    Reading reading;
    reading.local = GeneralStuff::TempFromCode(local);
    reading.remote = GeneralStuff::TempFromCodes(remoteHigh, remoteLow);
    reading.status = status;
    return reading;
}

std::optional<Limits> TryLimits(const ChipOnBoard& chip, ChipTransfer& failed) {
    Limits limits{};
    for (size_t i = 0; i < limits.size(); ++i) {
        const Chip::Field& field = Chip::Fields[i];
        int high = 0, low = 0;
        if (!ReadInto(chip, field.high.read, high, failed)) return std::nullopt;
        if (field.TenBit() && !ReadInto(chip, field.low.read, low, failed)) return std::nullopt;
        limits[i] = field.TenBit() ? GeneralStuff::TempFromCodes(high, low) : GeneralStuff::TempFromCode(high);
    }
    return limits;
}

bool TryShadow(const ChipOnBoard& chip, ChipTransfer& failed) {
    int configuration = 0;
    if (!ReadInto(chip, Chip::Reg::Configuration.read, configuration, failed)) return false;
    RegMapStuff::SetShadowFromConfiguration(configuration);
    return true;
}
