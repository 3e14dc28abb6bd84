#include "instruments/DriverMakers.h"

namespace Instruments {

std::unique_ptr<Chamber> MakeCommandChamber(const InstrumentSettings&, std::string& refusal) {
    refusal = "the command driver is not built yet";
    return nullptr;
}

std::unique_ptr<Thermometer> MakeCommandThermometer(const InstrumentSettings&, std::string& refusal) {
    refusal = "the command driver is not built yet";
    return nullptr;
}

}  // namespace Instruments
