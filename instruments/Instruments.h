#pragma once
// The chamber and the reference thermometer a plan names, made from its settings.
#include "board/BoardDriver.h"
#include "instruments/Instrument.h"
#include "instruments/InstrumentSettings.h"

#include <memory>
#include <string>

namespace Instruments {

// The simulated chamber speaks through the opened board (the simulated board keeps it); the
// others ignore the board. None, with the refusal, for settings no driver can take.
std::unique_ptr<Chamber> MakeChamber(const InstrumentSettings& settings, USBStuff::BoardDriver* board,
                                     std::string& refusal);
// Driver::None: the chamber's own reading is the reference.
std::unique_ptr<Thermometer> MakeThermometer(const InstrumentSettings& settings, Chamber& chamber,
                                             USBStuff::BoardDriver* board, std::string& refusal);

}  // namespace Instruments
