#pragma once
// A chamber or a reference thermometer of the lab, behind one small interface: set a setpoint,
// read a temperature. Each call has a timeout of its driver's and answers with a value or with
// the reason there is none, naming the driver and, for a reply that is no number, the reply.
#include <optional>
#include <string>

namespace Instruments {

struct Reading {
    std::optional<double> celsius;
    std::string failure;  // why there is no value: "scpi tcp:127.0.0.1:5025: no answer within 2 s"
    explicit operator bool() const { return celsius.has_value(); }
};

class Chamber {
public:
    virtual ~Chamber() = default;
    // How messages name it: "sim", "scpi tcp:127.0.0.1:5025", "modbus 127.0.0.1:5020", "command".
    virtual std::string Name() const = 0;
    // Empty on success; the reason on failure.
    virtual std::string SetSetpoint(double celsius) = 0;
    // The chamber's own reading of its air.
    virtual Reading ReadTemperature() = 0;
};

class Thermometer {
public:
    virtual ~Thermometer() = default;
    virtual std::string Name() const = 0;
    virtual Reading Read() = 0;
};

}  // namespace Instruments
