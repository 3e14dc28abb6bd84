#include "instruments/DriverMakers.h"

namespace Instruments {

std::unique_ptr<Chamber> MakeModbusChamber(const InstrumentSettings&, std::string& refusal) {
    refusal = "the Modbus driver is not built yet";
    return nullptr;
}

}  // namespace Instruments
