#pragma once
// One temperature-monitor chip on the board's SMBus: its registers, its conversions at the
// programmed rate, and its alarm status. Time moves on only when the chip is accessed: each
// access first runs the conversions that fell due since the last one. What the chip keeps
// while powered lives in a ChipState that other processes may share; the caller holds the
// store's lock around every call.
#include "BoardState.h"
#include "ChamberModel.h"
#include "ChipState.h"
#include "TemperatureSource.h"

#include <cstdint>
#include <optional>

namespace UsbSim {

// How the chip's converter errs: each channel's own error and the noise on both.
struct ConverterErrors {
    ChannelError local;
    ChannelError remote;
    double noise = 0;
};

// The temperatures of the die and of the remote diode.
struct ChannelTemperatures {
    double local;
    double remote;
};

class SimulatedChip {
public:
    // Once the chamber has a setpoint, it drives the temperatures in place of the source.
    SimulatedChip(ChipState& state, TemperatureSource temperatures, bool diodeOpen, const ChamberState& chamber,
                  ConverterErrors errors);

    // Powers the chip on unless it is on: power-on registers, a first reading, the schedule
    // from now. A state no running chip can hold counts as off.
    void EnsurePowered(SimClock::time_point now);
    uint8_t Read(uint8_t address, SimClock::time_point now);
    void Write(uint8_t address, uint8_t data, SimClock::time_point now);
    // What the channels truly measure at a moment, before the converter's errors.
    ChannelTemperatures TrueAt(SimClock::time_point at) const;
    // Runs the conversions due, then keeps the channels as they stand as the start of the
    // chamber's course from a change at now.
    void HoldChannelsForChange(SimClock::time_point now);

private:
    bool Plausible(SimClock::time_point now) const;
    void PowerOn(SimClock::time_point now);

    bool InStandby() const;
    bool ExtendedRange() const;
    SimClock::duration Period() const;
    std::optional<SimClock::time_point> NextStart() const;
    void SetNextStart(std::optional<SimClock::time_point> start);
    bool Busy(SimClock::time_point now) const;

    void CatchUp(SimClock::time_point now);
    void Convert(SimClock::time_point at);
    void StartOneShot(SimClock::time_point now);
    void Reschedule(SimClock::time_point now);

    uint8_t LimitAlarms() const;
    void FollowThermLimits();
    uint8_t ReadStatus(SimClock::time_point now);

    ChipState& state_;
    TemperatureSource temperatures_;
    bool diodeOpen_;
    const ChamberState& chamber_;
    ConverterErrors errors_;
};

}  // namespace UsbSim
