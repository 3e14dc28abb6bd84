#include "cli/ChipSnapshot.h"

#include "chip/ChipRegisters.h"
#include "registers/RegMapStuff.h"
#include "registers/TemperatureCodes.h"

#include <array>
#include <iterator>

namespace {

using namespace Chip::Reg;
using GeneralStuff::TempFromCode;
using GeneralStuff::TempFromCodes;

// In the order they are read: the range first, the temperatures as the windows program's cycle
// reads them, the limits, and the Status register last.
constexpr Chip::Register SnapshotRegisters[] = {
    Configuration, LocalTemp,  RemoteTempLow, RemoteTempHigh, LocalHigh,       LocalLow,      LocalTherm,
    RemoteHighHigh, RemoteHighLow, RemoteLowHigh, RemoteLowLow, RemoteTherm, ThermHysteresis, Status,
};
constexpr size_t SnapshotSize = std::size(SnapshotRegisters);

size_t IndexOf(const Chip::Register& reg) {
    for (size_t i = 0; i < SnapshotSize; ++i)
        if (SnapshotRegisters[i].read == reg.read) return i;
    return 0;
}

}  // namespace

std::variant<ChipSnapshot, USBStuff::ChipTransfer> ReadChipSnapshot(const USBStuff::ChipOnBoard& chip) {
    std::array<int32_t, SnapshotSize> bytes{};
    for (size_t i = 0; i < SnapshotSize; ++i) {
        const USBStuff::ChipTransfer read = chip.Read(SnapshotRegisters[i].read);
        if (!read) return read;
        bytes[i] = read.value;
    }
    const auto byte = [&bytes](const Chip::Register& reg) { return bytes[IndexOf(reg)]; };
    // The codes follow the range of the chip just read, through the shadow that decodes them.
    RegMapStuff::SetShadowFromConfiguration(byte(Configuration));
    ChipSnapshot s;
    s.local = TempFromCode(byte(LocalTemp));
    s.remote = TempFromCodes(byte(RemoteTempHigh), byte(RemoteTempLow));
    s.localLimits = {TempFromCode(byte(LocalLow)), TempFromCode(byte(LocalHigh)), TempFromCode(byte(LocalTherm))};
    s.remoteLimits = {TempFromCodes(byte(RemoteLowHigh), byte(RemoteLowLow)),
                      TempFromCodes(byte(RemoteHighHigh), byte(RemoteHighLow)), TempFromCode(byte(RemoteTherm))};
    s.thermHysteresis = static_cast<float>(byte(ThermHysteresis));
    s.status = byte(Status);
    return s;
}
