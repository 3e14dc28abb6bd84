#pragma once
// A field's reads and writes on the chip found at start, as values: a ten-bit field is two
// bytes, and a failed transfer may leave the first written without the second, which the
// caller must be able to tell the user.
#include "board/ChipOnBoard.h"
#include "cli/CliRequest.h"

#include <optional>
#include <string>
#include <vector>

// The field's value in the range mode the chip is in; none, with the failed transfer, when the
// chip cannot be read.
std::optional<double> TryReadField(const Chip::Field& field, USBStuff::ChipTransfer& failed);

// How far a run of writes came.
struct FieldWrites {
    size_t written = 0;           // the settings written whole, from the first on
    bool halfWritten = false;     // the next setting's first byte landed, its second did not
    USBStuff::ChipTransfer failed;  // the transfer that stopped the run; ok when none did
};

// Writes the settings in their order, each coded for the range mode, and stops at the first
// failed transfer. A write of the Configuration register brings the range and standby flags up
// to date, as every write of it does.
FieldWrites WriteFields(const std::vector<FieldSetting>& order, bool extendedRange);

// For a run that stopped: a line each for the settings written, the one half written (with the
// value the chip now holds, where it can still be read) and those not written.
std::string UnfinishedWritesText(const std::vector<FieldSetting>& order, const FieldWrites& writes);
