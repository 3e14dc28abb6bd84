#pragma once
// One temperature-monitor chip on the board's SMBus: its registers, its conversions at the
// programmed rate, and its alarm status. Time moves on only when the chip is accessed: each
// access first runs the conversions that fell due since the last one.
#include "TemperatureSource.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>

namespace UsbSim {

using SimClock = std::chrono::steady_clock;

class SimulatedChip {
public:
    SimulatedChip(TemperatureSource temperatures, bool diodeOpen, SimClock::time_point powerOn);

    uint8_t Read(uint8_t address, SimClock::time_point now);
    void Write(uint8_t address, uint8_t data, SimClock::time_point now);

private:
    bool InStandby() const;
    bool ExtendedRange() const;
    SimClock::duration Period() const;
    bool Busy(SimClock::time_point now) const;

    void CatchUp(SimClock::time_point now);
    void Convert(SimClock::time_point at);
    void StartOneShot(SimClock::time_point now);
    void Reschedule(SimClock::time_point now);

    uint8_t LimitAlarms() const;
    void FollowThermLimits();
    uint8_t ReadStatus(SimClock::time_point now);

    TemperatureSource temperatures_;
    bool diodeOpen_;
    SimClock::time_point powerOn_;
    std::array<uint8_t, 256> registers_;
    std::optional<SimClock::time_point> nextStart_;  // none while idle in standby
    SimClock::time_point lastStart_;
    uint8_t latchedAlarms_ = 0;   // limit alarms seen by conversions since the last status read
    uint8_t thermBits_ = 0;       // THERM states, which follow the limits with hysteresis
};

}  // namespace UsbSim
