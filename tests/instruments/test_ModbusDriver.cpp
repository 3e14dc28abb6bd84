// The Modbus chamber against a controller served by pymodbus on loopback, which decodes every
// setpoint written on its own and reports it.
#include "LabProcess.h"
#include "instruments/DriverMakers.h"

#include <gtest/gtest.h>

using namespace Instruments;

namespace {

struct Controller {
    uint16_t port = FreePort();
    LabProcess server;
    Controller(const char* format, double scale, const char* reading)
        : server({"modbus_chamber.py", "--port", QString::number(port), "--format", format, "--scale",
                  QString::number(scale), "--reading", reading}) {}
    std::string Address() const { return "127.0.0.1:" + std::to_string(port); }
};

InstrumentSettings Modbus(const std::string& address, ModbusFormat format, double scale, int32_t timeoutMs = 2000,
                          int unit = 1, int readingRegister = 20) {
    return {Driver::Modbus, address, "", "", unit, 10, readingRegister, format, scale, timeoutMs};
}

}  // namespace

TEST(ModbusDriver, TheControllerSeesEverySetpointInEachFormat) {
    const struct { const char* name; ModbusFormat format; double scale; } formats[] = {
        {"float32", ModbusFormat::Float32, 1}, {"float32-swapped", ModbusFormat::Float32Swapped, 1},
        {"int16", ModbusFormat::Int16, 10}};
    for (const auto& f : formats) {
        Controller controller(f.name, f.scale, "21.5");
        ASSERT_TRUE(Listening(controller.port)) << f.name;
        std::string refusal;
        auto chamber = MakeModbusChamber(Modbus(controller.Address(), f.format, f.scale), refusal);
        ASSERT_TRUE(chamber) << refusal;
        for (double setpoint : {25.0, -40.0, 12.5}) {
            EXPECT_EQ(chamber->SetSetpoint(setpoint), "") << f.name;
            EXPECT_EQ(chamber->ReadTemperature().celsius, setpoint) << f.name;
        }
        EXPECT_EQ(controller.server.Printed(), "setpoint 25\nsetpoint -40\nsetpoint 12.5\n") << f.name;
    }
}

TEST(ModbusDriver, FailuresNameTheChamber) {
    Controller controller("float32", 1, "nan");
    ASSERT_TRUE(Listening(controller.port));
    const std::string name = "modbus " + controller.Address(), refused = "127.0.0.1:" + std::to_string(FreePort());
    const struct { std::string address; int unit, readingRegister; std::string failure; } cases[] = {
        {controller.Address(), 7, 20, name + ": no answer within 0.5 s"},
        {controller.Address(), 1, 20, name + ": register 20 holds no temperature"},
        {controller.Address(), 1, 200, name + ": Illegal data address"},
        {refused, 1, 20, "modbus " + refused + ": cannot connect: Connection refused"},
    };
    std::string refusal;
    for (const auto& c : cases) {
        const auto settings = Modbus(c.address, ModbusFormat::Float32, 1, 500, c.unit, c.readingRegister);
        auto chamber = MakeModbusChamber(settings, refusal);
        ASSERT_TRUE(chamber) << refusal;
        EXPECT_EQ(chamber->ReadTemperature().failure, c.failure);
    }
    auto tenths = MakeModbusChamber(Modbus(controller.Address(), ModbusFormat::Int16, 10), refusal);
    EXPECT_EQ(tenths->SetSetpoint(5000), name + ": 5000 °C does not fit a 16-bit register at scale 10");
}
