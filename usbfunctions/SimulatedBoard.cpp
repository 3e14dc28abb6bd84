#include "SimulatedBoard.h"

#include "protocol/BoardProtocol.h"

#include "IntelHexCheck.h"

#include <cstdio>
#include <string>

namespace UsbSim {

namespace {

using namespace BoardProtocol;

// Byte the bus delivers when no device answers at an address (the line stays high).
constexpr uint8_t kNoDevice = 0xFF;
// Drift phase of the second chip, so its readings differ from the first one's.
constexpr double kSecondChipPhase = 60.0;

// Request results; anything but 0 is a failure to the program.
constexpr int16_t kOk = 0;
constexpr int16_t kNoFirmware = -1;
constexpr int16_t kNotConnected = -2;
constexpr int16_t kBadRequest = -3;
constexpr int16_t kBoardGone = -4;
constexpr int16_t kConnectRefused = -5;

// LoadFirmWare results; negative is a failed download.
constexpr int16_t kFirmwareMissing = -1;
constexpr int16_t kFirmwareMalformed = -2;
constexpr int16_t kFirmwareRefused = -3;

std::string RequestText(int16_t request, int32_t value, int32_t index, int16_t direction, int16_t length) {
    char text[160];
    std::snprintf(text, sizeof text, "VendorIORequest request=%d value=%ld index=%ld direction=%d length=%d",
                  request, long(value), long(index), direction, length);
    return text;
}

std::string FirmwareFailure(int16_t result, const char* path) {
    const std::string image = std::string("the firmware image ") + (path ? path : "(none)");
    switch (result) {
    case kOk: return std::string();
    case kFirmwareMissing: return image + " cannot be read";
    case kFirmwareMalformed: return image + " is not well-formed Intel HEX";
    default: return "the simulated board refuses every firmware download (KTS_SIM_FIRMWARE_FAIL=1)";
    }
}

std::string RequestFailure(int16_t result, const SimSettings& settings) {
    switch (result) {
    case kOk: return std::string();
    case kNoFirmware: return "the simulated board has no firmware: the download failed or was not made";
    case kNotConnected: return "the simulated board is not connected: no connect request was accepted";
    case kBoardGone:
        return "the simulated board stopped answering after " + std::to_string(settings.failAfter.value_or(0)) +
               " requests (KTS_SIM_FAIL_AFTER)";
    case kConnectRefused: return "the simulated board refused the connect request (KTS_SIM_REFUSE_CONNECTS)";
    default: return "the simulated board does not know this request";
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
    connectAttempts_ = 0;
    requestCount_ = 0;
    chips_.clear();

    int16_t result = kOk;
    switch (CheckFirmwareFile(path)) {
    case FirmwareCheck::Unreadable: result = kFirmwareMissing; break;
    case FirmwareCheck::Malformed: result = kFirmwareMalformed; break;
    case FirmwareCheck::Ok: result = settings_.firmwareFails ? kFirmwareRefused : kOk; break;
    }
    if (result == kOk) {
        firmwareLoaded_ = true;
        PowerOnChips();
    }
    lastError_ = FirmwareFailure(result, path);
    if (trace_.Enabled()) {
        trace_.Line(std::string("LoadFirmWare path=") + (path ? path : "(null)") + " result=" +
                    std::to_string(result));
    }
    return result;
}

void SimulatedBoard::PowerOnChips() {
    const auto now = SimClock::now();
    auto addChip = [&](int address, double phase) {
        chips_.emplace(address, SimulatedChip(TemperatureSource(settings_.localTemp, settings_.remoteTemp, phase),
                                              settings_.diodeOpen, now));
    };
    addChip(settings_.address, 0.0);
    if (settings_.secondAddress) addChip(*settings_.secondAddress, kSecondChipPhase);
}

int16_t SimulatedBoard::VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction,
                                        int16_t length, uint8_t* buffer) {
    std::lock_guard<std::mutex> lock(mutex_);
    const int16_t result = Answer(request, value, index, direction, length, buffer);
    lastError_ = RequestFailure(result, settings_);
    if (trace_.Enabled()) {
        std::string line = RequestText(request, value, index, direction, length) + " result=" + std::to_string(result);
        const bool delivered = result == kOk && direction == kDirectionIn && buffer &&
                               (request == kRegisterAccess || request == kStatusRead);
        if (delivered) {
            char data[16];
            std::snprintf(data, sizeof data, " data=0x%02X", buffer[0]);
            line += data;
        }
        trace_.Line(line);
    }
    return result;
}

int16_t SimulatedBoard::Answer(int16_t request, int32_t value, int32_t index, int16_t direction,
                               int16_t length, uint8_t* buffer) {
    ++requestCount_;
    if (settings_.failAfter && requestCount_ > *settings_.failAfter) return kBoardGone;
    if (!firmwareLoaded_) return kNoFirmware;
    if (request == kConnect) return Connect(value, index);
    if (!connected_) return kNotConnected;
    switch (request) {
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

SimulatedChip* SimulatedBoard::ChipAt(int32_t address) {
    auto it = chips_.find(address);
    return it == chips_.end() ? nullptr : &it->second;
}

int16_t SimulatedBoard::ReadChip(int32_t chipAddress, int32_t registerAddress, int16_t length, uint8_t* buffer) {
    if (!buffer || length < 1 || registerAddress < 0 || registerAddress > 0xFF) return kBadRequest;
    SimulatedChip* chip = ChipAt(chipAddress);
    buffer[0] = chip ? chip->Read(static_cast<uint8_t>(registerAddress), SimClock::now()) : kNoDevice;
    return kOk;
}

int16_t SimulatedBoard::WriteChip(int32_t chipAddress, int32_t index) {
    if (SimulatedChip* chip = ChipAt(chipAddress))
        chip->Write(WrittenRegister(index), WrittenData(index), SimClock::now());
    return kOk;  // an unanswered write leaves the bus as it was
}

const char* SimulatedBoard::LastError() {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastError_.c_str();
}

}  // namespace UsbSim
