#include "I2cBoard.h"

#include "BusChoice.h"
#include "LastError.h"
#include "protocol/BoardProtocol.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace I2cDev {

namespace {

using namespace BoardProtocol;

// Byte a read delivers where no device answers (the data line stays high).
constexpr uint8_t kNoDevice = 0xFF;

const char* const kPrefix = "i2c-dev: ";

// The adapter's ways of saying that no device acknowledged its address: ENXIO is the
// kernel's own code, EREMOTEIO some adapters' choice, EIO what some USB bridges report, and
// ENODEV what the kernel's emulated SMBus adapter (i2c-stub) answers at an empty address.
bool IsNoAcknowledge(int error) {
    return error == -ENXIO || error == -EREMOTEIO || error == -EIO || error == -ENODEV;
}

std::string Hex(int value, int digits = 2) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

std::string OpenFailure(const std::string& node, int error) {
    switch (-error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return node + ": no such adapter node (list the adapters with 'i2cdetect -l'; "
                      "the nodes appear once the i2c-dev kernel module is loaded: sudo modprobe i2c-dev)";
    case EACCES:
    case EPERM:
        return node + ": permission denied; join the group that owns the node (see 'ls -l " + node +
               "', then 'sudo usermod -aG GROUP $USER' and log in again) or grant access with a udev rule";
    default:
        return node + ": cannot be opened: " + std::strerror(-error);
    }
}

// How to release ADDRESS from the kernel driver that holds it.
std::string UnbindCommand(const std::string& node, int address) {
    const int number = AdapterNumber(node);
    if (number < 0) return "unbind its driver under /sys/bus/i2c/devices/N-00XX/driver/unbind";
    char device[32];
    std::snprintf(device, sizeof device, "%d-%04x", number, address);
    return std::string("'echo ") + device + " | sudo tee /sys/bus/i2c/devices/" + device + "/driver/unbind'";
}

const char* const kForceHint = " (or set KTS_I2C_FORCE=1, see the README)";

std::string ChipHeld(const std::string& node, int address) {
    return node + ": the KTS9320B's address " + Hex(address) + " is held by a kernel driver; release it: " +
           UnbindCommand(node, address) + kForceHint;
}

// The addresses the search passed over because kernel drivers hold them.
std::string HeldNote(const std::string& node, const std::set<int>& held) {
    std::string addresses;
    std::string commands;
    for (const int address : held) {
        addresses += (addresses.empty() ? "" : ", ") + Hex(address);
        commands += (commands.empty() ? "" : "; ") + UnbindCommand(node, address);
    }
    const bool one = held.size() == 1;
    return (one ? "a kernel driver holds " : "kernel drivers hold ") + addresses + " on " + node +
           (one ? ", so the search passed over it" : ", so the search passed over them") +
           "; if the chip is there, release it: " + commands + kForceHint;
}

}  // namespace

I2cBoard::I2cBoard(Kernel& kernel, I2cSettings settings) : kernel_(kernel), settings_(std::move(settings)) {
    trace_.SetPath(settings_.tracePath);
}

int16_t I2cBoard::LoadFirmWare(const char* path) {
    std::lock_guard<std::mutex> lock(mutex_);
    // A download restarts a board: the next connect opens the adapter afresh, so a program that
    // reconnects finds an adapter that went away and came back, under whatever number it has now.
    bus_.reset();
    trace_.Line(std::string("LoadFirmWare path=") + (path ? path : "(null)") + " result=0 (nothing to load)");
    return kOk;
}

int16_t I2cBoard::VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction,
                                  int16_t length, uint8_t* buffer) {
    std::lock_guard<std::mutex> lock(mutex_);
    // The reason given after a failure is always the failed request's own.
    NoteLastError("");
    return Answer(request, value, index, direction, length, buffer);
}

int16_t I2cBoard::Answer(int16_t request, int32_t value, int32_t index, int16_t direction, int16_t length,
                         uint8_t* buffer) {
    if (request == kConnect) {
        if (value != kConnectValue || index != kConnectIndex) return kBadRequest;
        return Connect();
    }
    if (request != kStatusRead && request != kRegisterAccess) return kBadRequest;
    if (value < kFirstBusAddress || value > kLastBusAddress) return kBadRequest;
    const bool read = request == kStatusRead || direction == kDirectionIn;
    if (read && (!buffer || length < 1)) return kBadRequest;
    if (!read && direction != kDirectionOut) return kBadRequest;
    if (!bus_) return kNotConnected;
    return read ? Read(value, index, buffer) : Write(value, index);
}

int16_t I2cBoard::Connect() {
    if (bus_) return kOk;
    std::string reason;
    bus_ = settings_.bus.empty() ? FindAdapter(reason) : OpenNamedAdapter(reason);
    trace_.Line("connect " + (bus_ ? bus_->Node() + " result=0" : "result=" + std::to_string(kNoAdapter) + " " + reason));
    if (!bus_) {
        Say(reason);
        return kNoAdapter;
    }
    answered_.clear();
    held_.clear();
    chipFound_ = false;
    return kOk;
}

std::unique_ptr<I2cBus> I2cBoard::OpenNamedAdapter(std::string& reason) {
    const std::string node = ChosenNode(kernel_, settings_.bus, reason);
    if (node.empty()) return nullptr;
    int error = 0;
    auto bus = I2cBus::Open(kernel_, node, error);
    if (!bus) {
        reason = OpenFailure(node, error);
    } else if (!bus->HasByteData()) {
        reason = node + ": this adapter cannot do SMBus byte-data transfers; choose another with KTS_I2C_BUS";
        bus.reset();
    }
    return bus;
}

std::unique_ptr<I2cBus> I2cBoard::FindAdapter(std::string& reason) {
    const std::vector<std::string> nodes = AdapterNodes(kernel_);
    std::string refused;  // why the first node that could not be opened was refused
    std::string searched;
    std::string held;  // the addresses kernel drivers hold, on each adapter searched
    for (const std::string& node : nodes) {
        int error = 0;
        auto bus = I2cBus::Open(kernel_, node, error);
        if (!bus) {
            if (refused.empty()) refused = OpenFailure(node, error);
            continue;
        }
        searched += (searched.empty() ? "" : ", ") + node;
        std::set<int> heldHere;
        if (bus->HasByteData() && ChipAnswersOn(*bus, heldHere)) return bus;
        if (!heldHere.empty()) held += "; " + HeldNote(node, heldHere);
    }
    if (nodes.empty())
        reason = "no I2C adapter found: /dev holds no i2c-N node (load the i2c-dev kernel module: sudo modprobe i2c-dev)";
    else if (!refused.empty())
        reason = refused;
    else
        reason = "no I2C adapter found with a KTS9320B on it (searched " + searched + "); name the bus in KTS_I2C_BUS" + held;
    return nullptr;
}

bool I2cBoard::ChipAnswersOn(I2cBus& bus, std::set<int>& held) {
    for (int address = kFirstSearchedAddress; address <= kLastSearchedAddress; ++address) {
        uint8_t id = 0;
        if (Transfer(bus, true, address, kManufacturerIdRegister, id) == 0 && id == kManufacturerId) return true;
        if (bus.AddressHeld()) held.insert(address);
    }
    return false;
}

int16_t I2cBoard::Read(int address, int32_t index, uint8_t* buffer) {
    const auto reg = static_cast<uint8_t>(index & 0xFF);
    uint8_t value = 0;
    const int result = Transfer(*bus_, true, address, reg, value);
    if (result != 0) {
        // The start-up search reads where nobody may be, and passes over addresses that kernel
        // drivers hold. A chip that has answered and falls silent is a broken link, never a
        // register holding 0xFF.
        const bool held = bus_->AddressHeld();
        if (answered_.count(address) != 0 || !(held || IsNoAcknowledge(result))) {
            Say(held ? ChipHeld(bus_->Node(), address) : TransferFailure(address, reg, "reading", result));
            return kTransferFailed;
        }
        if (held) {
            held_.insert(address);
            // Not said: the search passes over held addresses. A program that tried this address
            // alone gives it as the reason no chip answered.
            NoteLastError(ChipHeld(bus_->Node(), address));
        }
        value = kNoDevice;
    }
    buffer[0] = value;
    if (reg == kManufacturerIdRegister) NoteSearch(address, value);
    return kOk;
}

void I2cBoard::NoteSearch(int address, uint8_t id) {
    if (id == kManufacturerId) chipFound_ = true;
    if (address == kLastSearchedAddress && !chipFound_ && !held_.empty())
        Say(bus_->Node() + ": no KTS9320B answered at " + Hex(kFirstSearchedAddress) + ".." + Hex(kLastSearchedAddress) + "; " +
            HeldNote(bus_->Node(), held_));
}

int16_t I2cBoard::Write(int address, int32_t index) {
    uint8_t data = WrittenData(index);
    const uint8_t reg = WrittenRegister(index);
    const int result = Transfer(*bus_, false, address, reg, data);
    if (result == 0) return kOk;
    Say(bus_->AddressHeld() ? ChipHeld(bus_->Node(), address) : TransferFailure(address, reg, "writing", result));
    return kTransferFailed;
}

int I2cBoard::Transfer(I2cBus& bus, bool read, int address, uint8_t reg, uint8_t& byte) {
    const int result = read ? bus.ReadByteData(address, reg, byte, settings_.force)
                            : bus.WriteByteData(address, reg, byte, settings_.force);
    if (result == 0 && &bus == bus_.get()) answered_.insert(address);
    if (trace_.Enabled()) {
        std::string line = bus.Node() + " address=" + Hex(address) + " register=" + Hex(reg) +
                           (read ? " read" : " write");
        if (!read || result == 0) line += " byte=" + Hex(byte);
        line += " result=" + std::to_string(result);
        if (result != 0) line += std::string(" ") + std::strerror(-result);
        trace_.Line(line);
    }
    return result;
}

std::string I2cBoard::TransferFailure(int address, uint8_t reg, const char* what, int result) const {
    return bus_->Node() + ": the chip at " + Hex(address) + " did not answer " + what + " register " + Hex(reg) + ": " +
           std::strerror(-result);
}

void I2cBoard::Say(const std::string& text) {
    NoteLastError(text);
    if (settings_.quiet || !said_.insert(text).second) return;
    std::fprintf(stderr, "%s%s\n", kPrefix, text.c_str());
    std::fflush(stderr);
}

}  // namespace I2cDev
