#pragma once
// A change of the temperature range under a running monitor or watch. The chip applies a new
// range from its next conversion on: the conversion under way when the range changed still
// leaves a code of the old range, and only the one after it is sure to be of the new range.
// So from the moment a change is seen, readings are held back for two conversion periods, and
// no reading is ever decoded with a range its codes were not made in.
#include "board/ChipOnBoard.h"

#include <limits>
#include <optional>

class RangeSettling {
public:
    explicit RangeSettling(bool extendedRange) : extendedRange_(extendedRange) {}

    // True when the range just read is not the one the readings are decoded with.
    bool Differs(bool extendedRange) const { return extendedRange != extendedRange_; }
    // The range read at `now` (seconds) differs; the chip converts once every `conversionPeriod`.
    void Changed(bool extendedRange, double now, double conversionPeriod);
    // The chip converts nothing while it stands by: a change waits until it converts again.
    void Standby(bool standby, double now);
    // True while a reading taken at `now` may still hold codes of the range before. A reading
    // due at the very moment the change has settled is taken, to the clock's resolution.
    bool Settling(double now) const { return now < settledAt_ - ClockResolution; }

private:
    static constexpr double ClockResolution = 1e-6;
    bool extendedRange_;
    double conversionPeriod_ = 0;
    double settledAt_ = -std::numeric_limits<double>::infinity();
};

// Seconds from one conversion to the next, by the chip's Conversion Rate register; none, with
// the failed transfer kept, when it cannot be read.
std::optional<double> TryConversionPeriod(const USBStuff::ChipOnBoard& chip, USBStuff::ChipTransfer& failed);
