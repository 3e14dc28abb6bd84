#pragma once
// The die and diode temperatures the chip measures: a chamber profile where the user gave one,
// fixed where the user set them, otherwise a slow, smooth drift around a working temperature,
// as on a bench.
#include "SimClock.h"
#include "TemperatureProfile.h"

#include <memory>
#include <optional>

namespace UsbSim {

// A profile as it runs: from its start, speed times faster than the clock.
struct ProfileRun {
    std::shared_ptr<const TemperatureProfile> profile;
    SimClock::time_point start;
    double speed = 1.0;
};

class TemperatureSource {
public:
    // phaseSeconds shifts the drift so that two chips do not read alike.
    TemperatureSource(std::optional<double> fixedLocal, std::optional<double> fixedRemote, double phaseSeconds,
                      std::optional<ProfileRun> profile = std::nullopt);
    double Local(SimClock::time_point at, SimClock::time_point powerOn) const;
    double Remote(SimClock::time_point at, SimClock::time_point powerOn) const;

private:
    double ProfileSeconds(SimClock::time_point at) const;

    std::optional<double> fixedLocal_;
    std::optional<double> fixedRemote_;
    double phase_;
    std::optional<ProfileRun> profile_;
};

}  // namespace UsbSim
