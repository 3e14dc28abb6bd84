#include "instruments/Instruments.h"

#include "instruments/DriverMakers.h"

namespace Instruments {

namespace {

// The chamber's own reading, as the reference where the plan has none of its own.
class ChamberThermometer : public Thermometer {
public:
    explicit ChamberThermometer(Chamber& chamber) : chamber_(chamber) {}
    std::string Name() const override { return chamber_.Name(); }
    Reading Read() override { return chamber_.ReadTemperature(); }

private:
    Chamber& chamber_;
};

}  // namespace

std::unique_ptr<Chamber> MakeChamber(const InstrumentSettings& settings, USBStuff::BoardDriver* board,
                                     std::string& refusal) {
    switch (settings.driver) {
    case Driver::Sim: return MakeSimChamber(board, refusal);
    case Driver::Scpi: return MakeScpiChamber(settings, refusal);
    case Driver::Modbus: return MakeModbusChamber(settings, refusal);
    case Driver::Command: return MakeCommandChamber(settings, refusal);
    case Driver::None: break;
    }
    refusal = "a chamber needs a driver: sim, scpi, modbus or command";
    return nullptr;
}

std::unique_ptr<Thermometer> MakeThermometer(const InstrumentSettings& settings, Chamber& chamber,
                                             USBStuff::BoardDriver* board, std::string& refusal) {
    switch (settings.driver) {
    case Driver::Sim: return MakeSimThermometer(board, refusal);
    case Driver::Scpi: return MakeScpiThermometer(settings, refusal);
    case Driver::Command: return MakeCommandThermometer(settings, refusal);
    case Driver::None: return std::make_unique<ChamberThermometer>(chamber);
    case Driver::Modbus: break;
    }
    refusal = "a reference thermometer's driver is sim, scpi, command or none";
    return nullptr;
}

}  // namespace Instruments
