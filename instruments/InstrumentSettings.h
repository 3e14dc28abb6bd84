#pragma once
// What a plan says of its chamber and its reference thermometer, checked before anything is
// sent: the driver and its own keys.
#include <cstdint>
#include <string>

namespace Instruments {

enum class Driver { Sim, Scpi, Modbus, Command, None };

enum class ModbusFormat { Float32, Float32Swapped, Int16 };

struct InstrumentSettings {
    Driver driver = Driver::Sim;
    // scpi: "tcp:HOST:PORT" or "serial:DEVICE:BAUD"; modbus: "HOST:PORT"
    std::string address;
    // scpi and command: the setpoint's command, with "{setpoint}" where the number goes
    std::string set;
    // scpi and command: the reading's query or command
    std::string read;
    // modbus: the unit, the holding registers (0-based) and how a value is held in them
    int unit = 1;
    int setpointRegister = -1;
    int readingRegister = -1;
    ModbusFormat format = ModbusFormat::Float32;
    double scale = 1;  // int16: the register holds value × scale
    int32_t timeoutMs = 2000;
};

}  // namespace Instruments
