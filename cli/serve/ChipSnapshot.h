#pragma once
// Everything the metrics endpoint shows of one chip, read in one go and never written: both
// temperatures and the Status register, the six limits and the THERM hysteresis.
#include "board/ChipOnBoard.h"
#include "cli/text/Reading.h"

#include <variant>

struct ChipSnapshot {
    Reading reading;
    Limits limits{};  // local high, low, THERM, then remote high, low, THERM
    float thermHysteresis = 0;
};

// The chip's snapshot, decoded by the range its Configuration register selects; or the first
// transfer that failed. The Status register is read last, as temps reads it.
std::variant<ChipSnapshot, USBStuff::ChipTransfer> ReadChipSnapshot(const USBStuff::ChipOnBoard& chip);
