#pragma once
// One reading through the chip's outcome-returning transfers: a failure comes back to the
// caller with the driver's reason, and ends nothing. Degrees follow the range rule of the
// configuration last read (the shadow).
#include "board/ChipOnBoard.h"
#include "cli/text/Reading.h"

#include <optional>

// Both temperatures and the Status register; the failed transfer on failure.
std::optional<Reading> TryReading(const USBStuff::ChipOnBoard& chip, USBStuff::ChipTransfer& failed);
// The six limits, in the order of LimitColumns.
std::optional<Limits> TryLimits(const USBStuff::ChipOnBoard& chip, USBStuff::ChipTransfer& failed);
// Reads the Configuration register into the shadow, for the range rule.
bool TryShadow(const USBStuff::ChipOnBoard& chip, USBStuff::ChipTransfer& failed);
