#include "state/ChipLimits.h"

#include "board/USBStuff.h"
#include "registers/TemperatureCodes.h"

namespace GeneralStuff {

namespace {
int32_t ReadChip(int32_t reg) { return USBStuff::ReadRegister(USBStuff::DeviceAddress, reg); }
}  // namespace

std::optional<ChannelLimits> ReadChannelLimits(int16_t channel) {
    ChannelLimits limits;
    if (channel == 0) {
        limits.low = TempFromCode(ReadChip(0x06));
        limits.high = TempFromCode(ReadChip(0x05));
        limits.therm = TempFromCode(ReadChip(0x20));
    } else if (channel == 1) {
        const int32_t lowWhole = ReadChip(0x08);
        const int32_t lowQuarters = ReadChip(0x14);
        const int32_t highWhole = ReadChip(0x07);
        const int32_t highQuarters = ReadChip(0x13);
        const int32_t therm = ReadChip(0x19);
        limits.low = TempFromCodes(lowWhole, lowQuarters);
        limits.high = TempFromCodes(highWhole, highQuarters);
        limits.therm = TempFromCode(therm);
    } else {
        return std::nullopt;
    }
    return limits;
}

}  // namespace GeneralStuff
