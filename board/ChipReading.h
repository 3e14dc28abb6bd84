#pragma once
// The chip's readings through its outcome-returning transfers, for the windows program and the
// command line alike: a failure comes back with the transfer that failed, and ends nothing.
// Degrees follow the range rule of the configuration last read (the shadow).
#include "board/ChipOnBoard.h"

#include <array>
#include <optional>

namespace USBStuff {

struct Temperatures {
    float local = 0;
    float remote = 0;
};

struct Reading {
    float local = 0;
    float remote = 0;
    int status = 0;
};

// How the remote temperature's two bytes are read.
enum class RemoteBytes {
    // The low byte, then the high byte: the windows program's given order.
    LowThenHigh,
    // The high byte, the low byte, the high byte again, and again while the high byte changed,
    // so that a conversion landing between the reads cannot give a value that never existed.
    Settled,
};

struct ChannelLimits {
    float low = 0;
    float high = 0;
    float therm = 0;
};

// The six limits' field names, in the order of their columns.
inline constexpr std::array<const char*, 6> LimitFieldNames{"local-high",  "local-low",  "local-therm",
                                                           "remote-high", "remote-low", "remote-therm"};
// The six limits in degrees, in the order of LimitFieldNames.
using Limits = std::array<float, LimitFieldNames.size()>;

// The local temperature, then the remote one.
std::optional<Temperatures> TryTemperatures(const ChipOnBoard& chip, RemoteBytes order, ChipTransfer& failed);
// Both temperatures, then the Status register.
std::optional<Reading> TryReading(const ChipOnBoard& chip, RemoteBytes order, ChipTransfer& failed);
enum class Channel { Local, Remote };
// The channel's low, high and THERM limits, read in that order (a ten-bit limit's high byte
// before its low byte).
std::optional<ChannelLimits> TryChannelLimits(const ChipOnBoard& chip, Channel channel, ChipTransfer& failed);
// The six limits, read by field.
std::optional<Limits> TryLimits(const ChipOnBoard& chip, ChipTransfer& failed);
// Reads the Configuration register into the shadow, for the range rule.
bool TryShadow(const ChipOnBoard& chip, ChipTransfer& failed);

}  // namespace USBStuff
