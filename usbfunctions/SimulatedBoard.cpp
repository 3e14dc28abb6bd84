#include "SimulatedBoard.h"

#include "protocol/BoardProtocol.h"

#include "IntelHexCheck.h"
#include "SimulatedChamber.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

namespace UsbSim {

namespace {

using namespace BoardProtocol;

// Byte the bus delivers when no device answers at an address (the line stays high).
constexpr uint8_t kNoDevice = 0xFF;
// Drift phase of the second chip, so its readings differ from the first one's.
constexpr double kSecondChipPhase = 60.0;

std::string RequestText(int16_t request, int32_t value, int32_t index, int16_t direction, int16_t length) {
    char text[160];
    std::snprintf(text, sizeof text, "VendorIORequest request=%d value=%ld index=%ld direction=%d length=%d",
                  request, long(value), long(index), direction, length);
    return text;
}

std::string FirmwareFailure(int16_t result, const char* path) {
    const std::string image = std::string("the firmware image ") + (path ? path : "(none)");
    switch (result) {
    case kDownloaded: return std::string();
    case kFirmwareMissing: return image + " cannot be read";
    case kFirmwareMalformed: return image + " is not well-formed Intel HEX";
    default: return "the simulated board refuses every firmware download (KTS_SIM_FIRMWARE_FAIL=1)";
    }
}

}  // namespace

SimulatedBoard::SimulatedBoard() {
    settings_ = SimSettings::FromEnvironment();
    trace_.SetPath(settings_.tracePath);
}

int16_t SimulatedBoard::LoadFirmWare(const char* path) {
    std::lock_guard<std::mutex> lock(mutex_);
    settings_ = SimSettings::FromEnvironment();
    trace_.SetPath(settings_.tracePath);
    for (const std::string& setting : settings_.ignored) trace_.Line("ignored setting " + setting);

    firmwareLoaded_ = false;
    connected_ = false;
    looseCable_.reset();
    connectAttempts_ = 0;
    requestCount_ = 0;
    chips_.clear();

    const auto now = SimClock::now();
    int16_t result = kDownloaded;
    if (Unanswered(now)) {
        result = kDownloadBoardGone;
        lastError_ = Failure(kBoardGone);
    } else {
        switch (CheckFirmwareFile(path)) {
        case FirmwareCheck::Unreadable: result = kFirmwareMissing; break;
        case FirmwareCheck::Malformed: result = kFirmwareMalformed; break;
        case FirmwareCheck::Ok: result = settings_.firmwareFails ? kFirmwareRefused : kDownloaded; break;
        }
        lastError_ = FirmwareFailure(result, path);
    }
    if (result == kDownloaded) {
        answersAgain_.reset();  // a failure that healed; the count starts again
        lastError_ = StartChips(now);
        if (!lastError_.empty()) {
            result = kFirmwareSettings;
        } else if (ChipStateStore::Hold hold(store_); CableLoose(now)) {
            result = kDownloadBoardGone;
            lastError_ = CableFailureText();
        } else {
            firmwareLoaded_ = true;
        }
    }
    if (trace_.Enabled()) {
        trace_.Line(std::string("LoadFirmWare path=") + (path ? path : "(null)") + " result=" +
                    std::to_string(result));
    }
    return result;
}

// The chips on the bus, powered on where they are off, after the settings that shape them.
std::string SimulatedBoard::StartChips(SimClock::time_point now) {
    if (!settings_.refused.empty()) return "the simulated board cannot start: " + settings_.refused;
    std::optional<ProfileRun> profile;
    if (std::string error = StartProfile(now, profile); !error.empty()) return error;
    if (std::string error = AttachState(); !error.empty()) return error;
    profile_ = profile;

    ChipStateStore::Hold hold(store_);
    if (settings_.powerCycle) store_.PowerOffAll();
    BoardState& board = store_.Board();
    if (!board.IsPowered()) {
        board = BoardState{};
        board.powered = BoardState::kPowered;
        board.powerOn = Ticks(now);
    }
    if (settings_.failAtSeconds) ScheduleFailures(board.cable, *settings_.failAtSeconds, settings_.failForMs);
    const ConverterErrors errors{settings_.localError, settings_.remoteError, settings_.noise};
    auto addChip = [&](int address, double phase) {
        auto chip = chips_.emplace(address, SimulatedChip(store_.Chip(address),
                                                          TemperatureSource(settings_.localTemp, settings_.remoteTemp,
                                                                            phase, profile_),
                                                          settings_.diodeOpen, board.chamber, errors));
        chip.first->second.EnsurePowered(now);
    };
    addChip(settings_.address, 0.0);
    if (settings_.secondAddress) addChip(*settings_.secondAddress, kSecondChipPhase);
    return std::string();
}

// The profile runs on from its start through later downloads while it stays the same file at
// the same pace; read again at every download, so a bad file always says so.
std::string SimulatedBoard::StartProfile(SimClock::time_point now, std::optional<ProfileRun>& run) {
    if (settings_.profilePath.empty()) return std::string();
    std::string error;
    auto profile = TemperatureProfile::Load(settings_.profilePath, error);
    if (!profile) return error;
    const double speed = settings_.profileSpeed.value_or(1.0);
    const bool same = profile_ && profilePath_ == settings_.profilePath && profile_->speed == speed;
    run = ProfileRun{std::make_shared<const TemperatureProfile>(std::move(*profile)), same ? profile_->start : now, speed};
    profilePath_ = settings_.profilePath;
    return std::string();
}

// The file the chips keep their state in. One the user named must serve; where the default
// cannot, the chips keep their state within this program and the trace says why.
std::string SimulatedBoard::AttachState() {
    const bool named = !settings_.statePath.empty();
    std::string why;
    const std::string path = named ? settings_.statePath : DefaultStateFilePath(why);
    if (!path.empty() && path == store_.Path()) return std::string();
    std::string note;
    const std::string error = store_.Attach(path, note);
    if (!note.empty()) trace_.Line(note);
    if (error.empty() && !path.empty()) return std::string();
    if (named) return "the chip's state file " + error + " (KTS_SIM_STATE)";
    trace_.Line("the chips keep their state only while this program runs: " + (error.empty() ? why : error));
    return std::string();
}

int16_t SimulatedBoard::VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction,
                                        int16_t length, uint8_t* buffer) {
    std::lock_guard<std::mutex> lock(mutex_);
    const int16_t result = Answer(request, value, index, direction, length, buffer);
    lastError_ = Failure(result);
    if (std::string note = store_.TakeNote(); !note.empty()) trace_.Line(note);
    if (trace_.Enabled()) {
        std::string line = RequestText(request, value, index, direction, length) + " result=" + std::to_string(result);
        const bool delivered = result == kOk && direction == kDirectionIn && buffer &&
                               (request == kRegisterAccess || request == kStatusRead);
        if (delivered) {
            char data[16];
            std::snprintf(data, sizeof data, " data=0x%02X", buffer[0]);
            line += data;
        }
        if (result == kOk && request == kChamberAccess && direction == kDirectionIn && buffer)
            line += " millidegrees=" + std::to_string(TakeMillidegrees(buffer));
        trace_.Line(line);
    }
    return result;
}

int16_t SimulatedBoard::Answer(int16_t request, int32_t value, int32_t index, int16_t direction,
                               int16_t length, uint8_t* buffer) {
    ++requestCount_;
    looseCable_.reset();
    if (Unanswered(SimClock::now())) return kBoardGone;
    if (!firmwareLoaded_) return kNoFirmware;
    // One hold for the whole request: the loose cable in time and the chips share the store.
    ChipStateStore::Hold hold(store_);
    if (CableLoose(SimClock::now())) return kBoardGone;
    if (request == kConnect) return Connect(value, index);
    if (!connected_) return kNotConnected;
    switch (request) {
    case kChamberAccess:
        return Chamber(value, index, direction, length, buffer);
    case kStatusRead:
        return ReadChip(value, index, length, buffer);
    case kRegisterAccess:
        if (direction == kDirectionIn) return ReadChip(value, index, length, buffer);
        if (direction == kDirectionOut) return WriteChip(value, index);
        return kBadRequest;
    default:
        return kBadRequest;
    }
}

int16_t SimulatedBoard::Connect(int32_t value, int32_t index) {
    if (value != kConnectValue || index != kConnectIndex) return kBadRequest;
    if (connected_) return kOk;
    if (++connectAttempts_ <= settings_.refuseConnects) return kConnectRefused;
    connected_ = true;
    return kOk;
}

// Past the count of KTS_SIM_FAIL_AFTER the board stops answering: for good, or, with
// KTS_SIM_FAIL_FOR, for that long from the first request it leaves unanswered.
bool SimulatedBoard::Unanswered(SimClock::time_point now) {
    if (answersAgain_) return now < *answersAgain_;
    if (!settings_.failAfter || requestCount_ <= *settings_.failAfter) return false;
    if (!settings_.failForMs) return true;
    answersAgain_ = now + std::chrono::milliseconds(*settings_.failForMs);
    return true;
}

std::string SimulatedBoard::Failure(int16_t result) const {
    switch (result) {
    case kOk: return std::string();
    case kNoFirmware: return "the simulated board has no firmware: the download failed or was not made";
    case kNotConnected: return "the simulated board is not connected: no connect request was accepted";
    case kBoardGone: {
        if (looseCable_) return CableFailureText();
        const std::string count = std::to_string(settings_.failAfter.value_or(0));
        if (!answersAgain_) return "the simulated board stopped answering after " + count + " requests (KTS_SIM_FAIL_AFTER)";
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(*answersAgain_ - SimClock::now());
        return "the simulated board stopped answering after " + count + " requests and answers again in " +
               std::to_string(std::max<long long>(0, left.count())) + " ms (KTS_SIM_FAIL_AFTER, KTS_SIM_FAIL_FOR)";
    }
    case kConnectRefused: return "the simulated board refused the connect request (KTS_SIM_REFUSE_CONNECTS)";
    default: return "the simulated board does not know this request";
    }
}

SimulatedChip* SimulatedBoard::ChipAt(int32_t address) {
    auto it = chips_.find(address);
    return it == chips_.end() ? nullptr : &it->second;
}

// The caller holds the store. The clock is read once the store is held, so that no other process has moved the chip on
// past the time this access claims.
int16_t SimulatedBoard::ReadChip(int32_t chipAddress, int32_t registerAddress, int16_t length, uint8_t* buffer) {
    if (!buffer || length < 1 || registerAddress < 0 || registerAddress > 0xFF) return kBadRequest;
    SimulatedChip* chip = ChipAt(chipAddress);
    if (!chip) {
        buffer[0] = kNoDevice;
        return kOk;
    }
    buffer[0] = chip->Read(static_cast<uint8_t>(registerAddress), SimClock::now());
    return kOk;
}

int16_t SimulatedBoard::WriteChip(int32_t chipAddress, int32_t index) {
    if (SimulatedChip* chip = ChipAt(chipAddress)) {
        chip->Write(WrittenRegister(index), WrittenData(index), SimClock::now());
    }
    return kOk;  // an unanswered write leaves the bus as it was
}

int16_t SimulatedBoard::Chamber(int32_t what, int32_t index, int16_t direction, int16_t length, uint8_t* buffer) {
    const auto now = SimClock::now();
    BoardState& board = store_.Board();
    const SimulatedChip* first = ChipAt(settings_.address);
    if (direction == kDirectionOut) {
        if (what != kChamberSetpoint || index < kLowestChamberMillidegrees || index > kHighestChamberMillidegrees)
            return kBadRequest;
        ChangeSetpoint(board, chips_, first, index / 1000.0, settings_, now);
        return kOk;
    }
    if (direction != kDirectionIn || !buffer || length < kChamberLength) return kBadRequest;
    double celsius = 0;
    if (what == kChamberAir) celsius = ChamberAir(board, first, now);
    else if (what == kChamberSetpoint) celsius = ChamberSetpoint(board, first, now);
    else return kBadRequest;
    PutMillidegrees(static_cast<int32_t>(std::lround(celsius * 1000.0)), buffer);
    return kOk;
}

// The loose cable in time, as the shared state holds it; the caller holds the store.
bool SimulatedBoard::CableLoose(SimClock::time_point now) {
    const BoardState& board = store_.Board();
    looseCable_ = board.IsPowered() ? FailureAt(board, now) : std::nullopt;
    return looseCable_.has_value();
}

std::string SimulatedBoard::CableFailureText() const {
    char after[32];
    std::snprintf(after, sizeof after, "%g", looseCable_ ? looseCable_->startedAfterSeconds : 0.0);
    const std::string start = std::string("the simulated board stopped answering ") + after + " s after power-on";
    if (!looseCable_ || !looseCable_->ends) return start + " (KTS_SIM_FAIL_AT)";
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*looseCable_->ends - SimClock::now());
    return start + " and answers again in " + std::to_string(std::max<long long>(0, left.count())) +
           " ms (KTS_SIM_FAIL_AT, KTS_SIM_FAIL_FOR)";
}

const char* SimulatedBoard::LastError() {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastError_.c_str();
}

}  // namespace UsbSim
