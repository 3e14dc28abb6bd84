#include "instruments/DriverMakers.h"

namespace Instruments {

std::unique_ptr<Chamber> MakeSimChamber(USBStuff::BoardDriver*, std::string& refusal) {
    refusal = "the simulated chamber is not built yet";
    return nullptr;
}

std::unique_ptr<Thermometer> MakeSimThermometer(USBStuff::BoardDriver*, std::string& refusal) {
    refusal = "the simulated reference is not built yet";
    return nullptr;
}

}  // namespace Instruments
