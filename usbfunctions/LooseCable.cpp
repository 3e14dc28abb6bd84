#include "LooseCable.h"

#include <algorithm>

namespace UsbSim {

void ScheduleFailures(LooseCableState& cable, const std::vector<double>& seconds, std::optional<long long> lastsForMs) {
    cable = LooseCableState{};
    cable.count = static_cast<uint32_t>(std::min<std::size_t>(seconds.size(), LooseCableState::kMostFailures));
    for (uint32_t i = 0; i < cable.count; ++i) cable.startsAt[i] = static_cast<int64_t>(seconds[i] * 1e9);
    cable.forGood = lastsForMs ? 0 : 1;
    cable.lastsFor = lastsForMs.value_or(0) * 1000000;
}

std::optional<CableFailure> FailureAt(const BoardState& board, SimClock::time_point now) {
    const LooseCableState& cable = board.cable;
    const int64_t sincePowerOn = Ticks(now) - board.powerOn;
    const uint32_t count = std::min<uint32_t>(cable.count, LooseCableState::kMostFailures);
    for (uint32_t i = 0; i < count; ++i) {
        const int64_t start = cable.startsAt[i];
        if (sincePowerOn < start) continue;
        if (cable.forGood) return CableFailure{start / 1e9, std::nullopt};
        if (sincePowerOn < start + cable.lastsFor)
            return CableFailure{start / 1e9, TimeAt(board.powerOn + start + cable.lastsFor)};
    }
    return std::nullopt;
}

}  // namespace UsbSim
