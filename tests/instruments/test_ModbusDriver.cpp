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
    Controller(const QString& format, const QString& scale, const QString& reading)
        : server(Python(), {LabScript("modbus_chamber.py"), "--port", QString::number(port), "--format", format,
                            "--scale", scale, "--reading", reading}) {}
    InstrumentSettings Settings(ModbusFormat format, double scale = 1, int32_t timeoutMs = 2000) const {
        InstrumentSettings settings = ::Settings(Driver::Modbus, "127.0.0.1:" + std::to_string(port), "", timeoutMs);
        settings.setpointRegister = 10;
        settings.readingRegister = 20;
        settings.format = format;
        settings.scale = scale;
        return settings;
    }
};

}  // namespace

TEST(ModbusDriver, TheControllerSeesEverySetpointInEachFormat) {
    const struct {
        const char* name;
        ModbusFormat format;
        double scale;
    } formats[] = {{"float32", ModbusFormat::Float32, 1},
                   {"float32-swapped", ModbusFormat::Float32Swapped, 1},
                   {"int16", ModbusFormat::Int16, 10}};
    for (const auto& f : formats) {
        Controller controller(f.name, QString::number(f.scale), "21.5");
        ASSERT_TRUE(Listening(controller.port)) << f.name;
        std::string refusal;
        auto chamber = MakeModbusChamber(controller.Settings(f.format, f.scale), refusal);
        ASSERT_TRUE(chamber) << refusal;
        EXPECT_EQ(chamber->ReadTemperature().celsius, 21.5) << f.name;
        for (double setpoint : {25.0, -40.0, 12.5}) {
            EXPECT_EQ(chamber->SetSetpoint(setpoint), "") << f.name;
            EXPECT_EQ(chamber->ReadTemperature().celsius, setpoint) << f.name;
        }
        EXPECT_EQ(controller.server.Printed(), "setpoint 25\nsetpoint -40\nsetpoint 12.5\n") << f.name;
    }
}

TEST(ModbusDriver, FailuresNameTheChamber) {
    Controller controller("float32", "1", "nan");
    ASSERT_TRUE(Listening(controller.port));
    const std::string name = "modbus 127.0.0.1:" + std::to_string(controller.port);
    const std::string refused = "127.0.0.1:" + std::to_string(FreePort());
    const struct {
        std::string address;
        int unit, readingRegister;
        std::string failure;
    } cases[] = {
        {"", 7, 20, name + ": no answer within 0.5 s"},
        {"", 1, 20, name + ": register 20 holds no temperature"},
        {"", 1, 200, name + ": Illegal data address"},
        {refused, 1, 20, "modbus " + refused + ": cannot connect: Connection refused"},
    };
    for (const auto& c : cases) {
        InstrumentSettings settings = controller.Settings(ModbusFormat::Float32, 1, 500);
        if (!c.address.empty()) settings.address = c.address;
        settings.unit = c.unit;
        settings.readingRegister = c.readingRegister;
        std::string refusal;
        auto chamber = MakeModbusChamber(settings, refusal);
        ASSERT_TRUE(chamber) << refusal;
        EXPECT_EQ(chamber->ReadTemperature().failure, c.failure);
    }
    std::string refusal;
    auto tenths = MakeModbusChamber(controller.Settings(ModbusFormat::Int16, 10), refusal);
    EXPECT_EQ(tenths->SetSetpoint(5000), name + ": 5000 °C does not fit a 16-bit register at scale 10");
    EXPECT_EQ(controller.server.Printed(), "");
}
