#include "SimulatedChamber.h"

namespace UsbSim {

namespace {

constexpr double kRoomTemperature = 25.0;

}  // namespace

double ChamberAir(const BoardState& board, const SimulatedChip* firstChip, SimClock::time_point now) {
    const ChamberState& chamber = board.chamber;
    if (chamber.IsActive()) return AirAfter(chamber, SecondsSinceChange(chamber, now));
    return firstChip ? firstChip->TrueAt(now).local : kRoomTemperature;
}

double ChamberSetpoint(const BoardState& board, const SimulatedChip* firstChip, SimClock::time_point now) {
    if (board.chamber.IsActive()) return board.chamber.setpoint;
    return ChamberAir(board, firstChip, now);
}

void ChangeSetpoint(BoardState& board, std::map<int, SimulatedChip>& chips, const SimulatedChip* firstChip,
                    double setpoint, const SimSettings& settings, SimClock::time_point now) {
    const double air = ChamberAir(board, firstChip, now);
    for (auto& entry : chips) entry.second.HoldChannelsForChange(now);
    ChamberState& chamber = board.chamber;
    chamber.active = ChamberState::kActive;
    chamber.changedAt = Ticks(now);
    chamber.setpoint = setpoint;
    chamber.startAir = air;
    chamber.ratePerSecond = settings.chamberRatePerMinute / 60.0;
    chamber.localLag = settings.localLagSeconds;
    chamber.remoteLag = settings.remoteLagSeconds;
}

}  // namespace UsbSim
