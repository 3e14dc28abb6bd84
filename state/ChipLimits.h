#pragma once
// The chip's three temperature limits of a channel, as it holds them now, in degrees.
#include "board/ChipReading.h"

#include <cstdint>
#include <optional>

namespace GeneralStuff {

using ChannelLimits = USBStuff::ChannelLimits;

// Channel 0 local, 1 remote; none for another channel. Reads the channel's limit registers
// (local 0x06, 0x05, 0x20; remote 0x08, 0x14, 0x07, 0x13, 0x19, in that order) and decodes them
// by the present range. A failed read goes to the board's failure path.
std::optional<ChannelLimits> ReadChannelLimits(int16_t channel);

}  // namespace GeneralStuff
