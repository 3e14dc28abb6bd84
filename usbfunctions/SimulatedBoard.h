#pragma once
// The evaluation board: it takes a firmware image, answers the connect request, and passes
// register requests to the chips on its SMBus. A firmware download restarts the board: the
// settings are read again. The chips stay powered: they keep their state, shared with every
// other process on the board, unless KTS_SIM_POWER_CYCLE asks for a power cycle.
#include "ChipStateStore.h"
#include "LooseCable.h"
#include "SimSettings.h"
#include "SimulatedChip.h"
#include "protocol/CallTrace.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace UsbSim {

class SimulatedBoard {
public:
    SimulatedBoard();

    int16_t LoadFirmWare(const char* path);
    int16_t VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction,
                            int16_t length, uint8_t* buffer);
    // Why the last call failed, in words for the program's failure message; empty when it
    // succeeded. Valid until the next call.
    const char* LastError();

private:
    int16_t Answer(int16_t request, int32_t value, int32_t index, int16_t direction, int16_t length,
                   uint8_t* buffer);
    int16_t Connect(int32_t value, int32_t index);
    int16_t ReadChip(int32_t chipAddress, int32_t registerAddress, int16_t length, uint8_t* buffer);
    int16_t WriteChip(int32_t chipAddress, int32_t index);
    int16_t Chamber(int32_t what, int32_t index, int16_t direction, int16_t length, uint8_t* buffer);
    SimulatedChip* ChipAt(int32_t address);
    bool Unanswered(SimClock::time_point now);
    bool CableLoose(SimClock::time_point now);
    std::string CableFailureText() const;
    std::string StartChips(SimClock::time_point now);
    std::string AttachState();
    std::string StartProfile(SimClock::time_point now, std::optional<ProfileRun>& run);
    std::string Failure(int16_t result) const;

    std::mutex mutex_;  // the program is single-threaded, but a library must not assume it
    SimSettings settings_;
    BoardProtocol::CallTrace trace_;
    bool firmwareLoaded_ = false;
    bool connected_ = false;
    int connectAttempts_ = 0;
    long long requestCount_ = 0;
    std::optional<SimClock::time_point> answersAgain_;  // the end of a failure that heals
    std::optional<CableFailure> looseCable_;            // the failure in time last met
    std::optional<ProfileRun> profile_;
    std::string profilePath_;
    ChipStateStore store_;
    std::map<int, SimulatedChip> chips_;  // by SMBus address, their state in store_
    std::string lastError_;
};

}  // namespace UsbSim
