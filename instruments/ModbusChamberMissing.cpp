#include "instruments/DriverMakers.h"

namespace Instruments {

std::unique_ptr<Chamber> MakeModbusChamber(const InstrumentSettings&, std::string& refusal) {
    refusal = "Modbus is not part of this build";
    return nullptr;
}

}  // namespace Instruments
