#pragma once
// The die and diode temperatures the chip measures: fixed where the user set them,
// otherwise a slow, smooth drift around a working temperature, as on a bench.
#include <optional>

namespace UsbSim {

class TemperatureSource {
public:
    // phaseSeconds shifts the drift so that two chips do not read alike.
    TemperatureSource(std::optional<double> fixedLocal, std::optional<double> fixedRemote,
                      double phaseSeconds);
    double Local(double secondsSincePowerOn) const;
    double Remote(double secondsSincePowerOn) const;

private:
    std::optional<double> fixedLocal_;
    std::optional<double> fixedRemote_;
    double phase_;
};

}  // namespace UsbSim
