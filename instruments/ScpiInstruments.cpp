#include "instruments/DriverMakers.h"

namespace Instruments {

std::unique_ptr<Chamber> MakeScpiChamber(const InstrumentSettings&, std::string& refusal) {
    refusal = "the SCPI driver is not built yet";
    return nullptr;
}

std::unique_ptr<Thermometer> MakeScpiThermometer(const InstrumentSettings&, std::string& refusal) {
    refusal = "the SCPI driver is not built yet";
    return nullptr;
}

}  // namespace Instruments
