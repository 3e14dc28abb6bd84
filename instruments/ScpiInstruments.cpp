#include "instruments/DriverMakers.h"
#include "instruments/InstrumentTexts.h"
#include "instruments/LineLink.h"
#include "instruments/ReplyNumber.h"

namespace Instruments {

namespace {

// The reading's query and its reply, shared by the chamber and the reference.
class ScpiReader {
public:
    ScpiReader(const InstrumentSettings& settings, std::unique_ptr<LineLink> link)
        : name_("scpi " + settings.address), query_(settings.read), link_(std::move(link)) {}
    const std::string& Name() const { return name_; }
    LineLink& Link() { return *link_; }
    Reading Read() {
        std::string reply;
        const std::string failure = link_->Query(query_, reply);
        if (!failure.empty()) return {std::nullopt, name_ + ": " + failure};
        const std::optional<double> celsius = LeadingNumber(reply);
        if (!celsius) return {std::nullopt, name_ + ": " + NoTemperatureIn(reply)};
        return {celsius, {}};
    }

private:
    std::string name_;
    std::string query_;
    std::unique_ptr<LineLink> link_;
};

class ScpiChamber : public Chamber {
public:
    ScpiChamber(const InstrumentSettings& settings, std::unique_ptr<LineLink> link)
        : reader_(settings, std::move(link)), set_(settings.set) {}
    std::string Name() const override { return reader_.Name(); }
    std::string SetSetpoint(double celsius) override {
        const std::string failure = reader_.Link().Send(WithSetpoint(set_, celsius));
        return failure.empty() ? failure : Name() + ": " + failure;
    }
    Reading ReadTemperature() override { return reader_.Read(); }

private:
    ScpiReader reader_;
    std::string set_;
};

class ScpiThermometer : public Thermometer {
public:
    ScpiThermometer(const InstrumentSettings& settings, std::unique_ptr<LineLink> link)
        : reader_(settings, std::move(link)) {}
    std::string Name() const override { return reader_.Name(); }
    Reading Read() override { return reader_.Read(); }

private:
    ScpiReader reader_;
};

std::unique_ptr<LineLink> CheckedLink(const InstrumentSettings& settings, std::string& refusal) {
    if (settings.read.empty()) refusal = "scpi: the reading's query (read) is empty";
    else if (settings.timeoutMs <= 0) refusal = "scpi: the timeout must be above 0";
    else return MakeLineLink(settings.address, settings.timeoutMs, refusal);
    return nullptr;
}

}  // namespace

std::unique_ptr<Chamber> MakeScpiChamber(const InstrumentSettings& settings, std::string& refusal) {
    if (settings.set.find("{setpoint}") == std::string::npos) {
        refusal = "scpi: the setpoint's command (set) has no {setpoint}";
        return nullptr;
    }
    std::unique_ptr<LineLink> link = CheckedLink(settings, refusal);
    if (!link) return nullptr;
    return std::make_unique<ScpiChamber>(settings, std::move(link));
}

std::unique_ptr<Thermometer> MakeScpiThermometer(const InstrumentSettings& settings, std::string& refusal) {
    std::unique_ptr<LineLink> link = CheckedLink(settings, refusal);
    if (!link) return nullptr;
    return std::make_unique<ScpiThermometer>(settings, std::move(link));
}

}  // namespace Instruments
