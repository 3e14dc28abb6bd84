#include "state/ChipLimits.h"

#include "board/USBStuff.h"
#include "chip/ChipRegisters.h"
#include "registers/TemperatureCodes.h"

namespace GeneralStuff {

namespace {
int32_t ReadChip(const Chip::Register& reg) { return USBStuff::ReadRegister(USBStuff::DeviceAddress, reg.read); }
}  // namespace

std::optional<ChannelLimits> ReadChannelLimits(int16_t channel) {
    ChannelLimits limits;
    if (channel == 0) {
        limits.low = TempFromCode(ReadChip(Chip::Reg::LocalLow));
        limits.high = TempFromCode(ReadChip(Chip::Reg::LocalHigh));
        limits.therm = TempFromCode(ReadChip(Chip::Reg::LocalTherm));
    } else if (channel == 1) {
        const int32_t lowWhole = ReadChip(Chip::Reg::RemoteLowHigh);
        const int32_t lowQuarters = ReadChip(Chip::Reg::RemoteLowLow);
        const int32_t highWhole = ReadChip(Chip::Reg::RemoteHighHigh);
        const int32_t highQuarters = ReadChip(Chip::Reg::RemoteHighLow);
        const int32_t therm = ReadChip(Chip::Reg::RemoteTherm);
        limits.low = TempFromCodes(lowWhole, lowQuarters);
        limits.high = TempFromCodes(highWhole, highQuarters);
        limits.therm = TempFromCode(therm);
    } else {
        return std::nullopt;
    }
    return limits;
}

}  // namespace GeneralStuff
