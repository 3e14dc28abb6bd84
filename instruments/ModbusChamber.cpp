#include "instruments/DriverMakers.h"
#include "instruments/InstrumentTexts.h"
#include "instruments/ModbusValues.h"

#include <modbus.h>

#include <cerrno>

namespace Instruments {

namespace {

class ModbusChamber : public Chamber {
public:
    ModbusChamber(const InstrumentSettings& settings, modbus_t* context)
        : settings_(settings), name_("modbus " + settings.address), context_(context) {}
    ~ModbusChamber() override {
        modbus_close(context_);
        modbus_free(context_);
    }
    std::string Name() const override { return name_; }

    std::string SetSetpoint(double celsius) override {
        std::string refusal;
        const auto words = EncodeModbusValue(celsius, settings_.format, settings_.scale, refusal);
        if (!words) return name_ + ": " + refusal;
        std::string failure = Connect();
        if (!failure.empty()) return failure;
        const int written = words->size() == 1
                                ? modbus_write_register(context_, settings_.setpointRegister, (*words)[0])
                                : modbus_write_registers(context_, settings_.setpointRegister,
                                                         static_cast<int>(words->size()), words->data());
        return written == -1 ? Failed(errno) : std::string();
    }

    Reading ReadTemperature() override {
        std::string failure = Connect();
        if (!failure.empty()) return {std::nullopt, failure};
        std::vector<uint16_t> words(static_cast<size_t>(ModbusWords(settings_.format)));
        const int count = static_cast<int>(words.size());
        if (modbus_read_registers(context_, settings_.readingRegister, count, words.data()) != count)
            return {std::nullopt, Failed(errno)};
        const std::optional<double> celsius = DecodeModbusValue(words, settings_.format, settings_.scale);
        if (!celsius)
            return {std::nullopt, name_ + ": register " + std::to_string(settings_.readingRegister) +
                                      " holds no temperature"};
        return {celsius, {}};
    }

private:
    std::string Connect() {
        if (connected_) return {};
        if (modbus_connect(context_) == -1) {
            const int error = errno;
            return name_ + ": " + (error == ETIMEDOUT ? NoAnswerWithin(settings_.timeoutMs)
                                                      : "cannot connect: " + std::string(modbus_strerror(error)));
        }
        connected_ = true;
        return {};
    }

    // An exception the controller answered leaves the link sound; any other failure closes it,
    // so the next call connects afresh and no late answer is read as the next one's.
    std::string Failed(int error) {
        if (error < MODBUS_ENOBASE) {
            modbus_close(context_);
            connected_ = false;
        }
        if (error == ETIMEDOUT) return name_ + ": " + NoAnswerWithin(settings_.timeoutMs);
        return name_ + ": " + modbus_strerror(error);
    }

    InstrumentSettings settings_;
    std::string name_;
    modbus_t* context_;
    bool connected_ = false;
};

std::string SettingsRefusal(const InstrumentSettings& settings) {
    const int words = ModbusWords(settings.format);
    const auto registerFits = [words](int reg) { return reg >= 0 && reg + words - 1 <= 0xFFFF; };
    if (settings.unit < 0 || settings.unit > 255) return "modbus: the unit must be 0 to 255";
    if (!registerFits(settings.setpointRegister)) return "modbus: setpoint-register must be a register, 0 to 65535";
    if (!registerFits(settings.readingRegister)) return "modbus: reading-register must be a register, 0 to 65535";
    if (!(settings.scale > 0)) return "modbus: the scale must be above 0";
    if (settings.timeoutMs <= 0) return "modbus: the timeout must be above 0";
    return {};
}

}  // namespace

std::unique_ptr<Chamber> MakeModbusChamber(const InstrumentSettings& settings, std::string& refusal) {
    refusal = SettingsRefusal(settings);
    if (!refusal.empty()) return nullptr;
    const size_t colon = settings.address.rfind(':');
    const std::string host = colon == std::string::npos ? std::string() : settings.address.substr(0, colon);
    const std::string port = colon == std::string::npos ? std::string() : settings.address.substr(colon + 1);
    modbus_t* context = host.empty() || port.empty() ? nullptr : modbus_new_tcp_pi(host.c_str(), port.c_str());
    if (!context) {
        refusal = "modbus: the address \"" + settings.address + "\" is not \"HOST:PORT\"";
        return nullptr;
    }
    modbus_set_slave(context, settings.unit);
    modbus_set_response_timeout(context, static_cast<uint32_t>(settings.timeoutMs / 1000),
                                static_cast<uint32_t>(settings.timeoutMs % 1000 * 1000));
    return std::make_unique<ModbusChamber>(settings, context);
}

}  // namespace Instruments
