#include "instruments/CommandRun.h"
#include "instruments/DriverMakers.h"
#include "instruments/InstrumentTexts.h"
#include "instruments/ReplyNumber.h"

namespace Instruments {

namespace {

const std::string CommandName = "command";

Reading ReadByCommand(const std::string& command, int32_t timeoutMs) {
    std::string output;
    const std::string failure = RunCommand(command, timeoutMs, output);
    if (!failure.empty()) return {std::nullopt, CommandName + ": " + failure};
    const std::optional<double> celsius = FirstNumber(output);
    if (!celsius) {
        while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
        return {std::nullopt, CommandName + ": " + NoTemperatureIn(output)};
    }
    return {celsius, {}};
}

class CommandChamber : public Chamber {
public:
    explicit CommandChamber(const InstrumentSettings& settings) : settings_(settings) {}
    std::string Name() const override { return CommandName; }
    std::string SetSetpoint(double celsius) override {
        std::string output;
        const std::string failure = RunCommand(WithSetpoint(settings_.set, celsius), settings_.timeoutMs, output);
        return failure.empty() ? failure : CommandName + ": " + failure;
    }
    Reading ReadTemperature() override { return ReadByCommand(settings_.read, settings_.timeoutMs); }

private:
    InstrumentSettings settings_;
};

class CommandThermometer : public Thermometer {
public:
    explicit CommandThermometer(const InstrumentSettings& settings) : settings_(settings) {}
    std::string Name() const override { return CommandName; }
    Reading Read() override { return ReadByCommand(settings_.read, settings_.timeoutMs); }

private:
    InstrumentSettings settings_;
};

std::string ReadRefusal(const InstrumentSettings& settings) {
    if (settings.read.empty()) return "command: the reading's command (read) is empty";
    if (settings.timeoutMs <= 0) return "command: the timeout must be above 0";
    return {};
}

}  // namespace

std::unique_ptr<Chamber> MakeCommandChamber(const InstrumentSettings& settings, std::string& refusal) {
    refusal = ReadRefusal(settings);
    if (refusal.empty() && settings.set.find("{setpoint}") == std::string::npos)
        refusal = "command: the setpoint's command (set) has no {setpoint}";
    if (!refusal.empty()) return nullptr;
    return std::make_unique<CommandChamber>(settings);
}

std::unique_ptr<Thermometer> MakeCommandThermometer(const InstrumentSettings& settings, std::string& refusal) {
    refusal = ReadRefusal(settings);
    if (!refusal.empty()) return nullptr;
    return std::make_unique<CommandThermometer>(settings);
}

}  // namespace Instruments
