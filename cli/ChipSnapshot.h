#pragma once
// Everything the metrics endpoint shows of one chip, read in one go and never written: both
// temperatures, the limits of both channels, the THERM hysteresis and the Status register.
#include "board/ChipOnBoard.h"
#include "state/ChipLimits.h"

#include <variant>

struct ChipSnapshot {
    float local = 0;
    float remote = 0;
    GeneralStuff::ChannelLimits localLimits;
    GeneralStuff::ChannelLimits remoteLimits;
    float thermHysteresis = 0;
    int status = 0;
};

// The chip's snapshot, decoded by the range its Configuration register selects; or the first
// transfer that failed. The Status register is read last, as temps reads it.
std::variant<ChipSnapshot, USBStuff::ChipTransfer> ReadChipSnapshot(const USBStuff::ChipOnBoard& chip);
