#include "state/ChipLimits.h"

#include "state/OpenedChipReading.h"

namespace GeneralStuff {

std::optional<ChannelLimits> ReadChannelLimits(int16_t channel) {
    if (channel != 0 && channel != 1) return std::nullopt;
    const auto which = channel == 0 ? USBStuff::Channel::Local : USBStuff::Channel::Remote;
    return ReadOpenedChip([which](const USBStuff::ChipOnBoard& chip, USBStuff::ChipTransfer& failed) {
        return USBStuff::TryChannelLimits(chip, which, failed);
    });
}

}  // namespace GeneralStuff
