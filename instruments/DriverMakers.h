#pragma once
// One maker per driver, each in the file of its driver.
#include "board/BoardDriver.h"
#include "instruments/Instrument.h"
#include "instruments/InstrumentSettings.h"

#include <memory>
#include <string>

namespace Instruments {

std::unique_ptr<Chamber> MakeSimChamber(USBStuff::BoardDriver* board, std::string& refusal);
std::unique_ptr<Thermometer> MakeSimThermometer(USBStuff::BoardDriver* board, std::string& refusal);
std::unique_ptr<Chamber> MakeScpiChamber(const InstrumentSettings& settings, std::string& refusal);
std::unique_ptr<Thermometer> MakeScpiThermometer(const InstrumentSettings& settings, std::string& refusal);
std::unique_ptr<Chamber> MakeModbusChamber(const InstrumentSettings& settings, std::string& refusal);
std::unique_ptr<Chamber> MakeCommandChamber(const InstrumentSettings& settings, std::string& refusal);
std::unique_ptr<Thermometer> MakeCommandThermometer(const InstrumentSettings& settings, std::string& refusal);

}  // namespace Instruments
