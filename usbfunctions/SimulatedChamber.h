#pragma once
// The board's chamber as its request reaches it: the air around the chips and the setpoint.
// The caller holds the store around every call.
#include "BoardState.h"
#include "SimSettings.h"
#include "SimulatedChip.h"

#include <map>

namespace UsbSim {

// Before any setpoint the air is the first chip's present temperature (25 °C without a chip).
double ChamberAir(const BoardState& board, const SimulatedChip* firstChip, SimClock::time_point now);
// Before any setpoint the chamber holds its air.
double ChamberSetpoint(const BoardState& board, const SimulatedChip* firstChip, SimClock::time_point now);

// The air and every chip's channels go on from where they stand now toward the new setpoint,
// at the pace and with the lags of the settings.
void ChangeSetpoint(BoardState& board, std::map<int, SimulatedChip>& chips, const SimulatedChip* firstChip,
                    double setpoint, const SimSettings& settings, SimClock::time_point now);

}  // namespace UsbSim
