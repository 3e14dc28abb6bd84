#include "I2cBoard.h"

#include "LastError.h"
#include "protocol/BoardProtocol.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace I2cDev {

namespace {

using namespace BoardProtocol;

// The 7-bit addresses a device may have; the rest are reserved by the bus.
constexpr int kFirstAddress = 0x03;
constexpr int kLastAddress = 0x77;
// Where the automatic choice looks for the chip: its Manufacturer ID at the program's
// search addresses.
constexpr int kFirstSearched = 0x18;
constexpr int kLastSearched = 0x4E;
// Byte a read delivers where no device answers (the data line stays high).
constexpr uint8_t kNoDevice = 0xFF;

// Request results; anything but 0 is a failure to the program.
constexpr int16_t kOk = 0;
constexpr int16_t kNotConnected = -2;
constexpr int16_t kRefused = -3;
constexpr int16_t kTransferFailed = -4;
constexpr int16_t kNoAdapter = -5;

const char* const kPrefix = "i2c-dev: ";

// The adapter's ways of saying that no device acknowledged its address. Some USB bridges
// report it as a plain I/O error.
bool IsNoAcknowledge(int error) { return error == -ENXIO || error == -EREMOTEIO || error == -EIO; }

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

std::string HeldByDriver(const std::string& node, int address) {
    const int number = AdapterNumber(node);
    char device[32];
    std::snprintf(device, sizeof device, "%d-%04x", number, address);
    const std::string unbind = number < 0 ? std::string("unbind it under /sys/bus/i2c/devices/N-00XX/driver/unbind")
                                          : std::string("unbind it with 'echo ") + device +
                                                " | sudo tee /sys/bus/i2c/devices/" + device + "/driver/unbind'";
    return node + ": address " + Hex(address) + " is held by a kernel driver; " + unbind +
           " (or set KTS_I2C_FORCE=1, see the README)";
}

}  // namespace

I2cBoard::I2cBoard(Kernel& kernel, I2cSettings settings) : kernel_(kernel), settings_(std::move(settings)) {
    trace_.SetPath(settings_.tracePath);
}

int16_t I2cBoard::LoadFirmWare(const char* path) {
    std::lock_guard<std::mutex> lock(mutex_);
    trace_.Line(std::string("LoadFirmWare path=") + (path ? path : "(null)") + " result=0 (nothing to load)");
    return kOk;
}

int16_t I2cBoard::VendorIORequest(int16_t request, int32_t value, int32_t index, int16_t direction,
                                  int16_t length, uint8_t* buffer) {
    std::lock_guard<std::mutex> lock(mutex_);
    return Answer(request, value, index, direction, length, buffer);
}

int16_t I2cBoard::Answer(int16_t request, int32_t value, int32_t index, int16_t direction, int16_t length,
                         uint8_t* buffer) {
    if (request == kConnect) return value == kConnectValue && index == kConnectIndex ? Connect() : kRefused;
    if (request != kStatusRead && request != kRegisterAccess) return kRefused;
    if (value < kFirstAddress || value > kLastAddress) return kRefused;
    if (request == kStatusRead || direction == kDirectionIn) {
        if (!buffer || length < 1) return kRefused;
        return bus_ ? Read(value, index, buffer) : kNotConnected;
    }
    if (direction != kDirectionOut) return kRefused;
    return bus_ ? Write(value, index) : kNotConnected;
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
    return kOk;
}

std::unique_ptr<I2cBus> I2cBoard::OpenNamedAdapter(std::string& reason) {
    int error = 0;
    auto bus = I2cBus::Open(kernel_, settings_.bus, error);
    if (!bus) {
        reason = OpenFailure(settings_.bus, error);
    } else if (!bus->HasByteData()) {
        reason = settings_.bus + ": this adapter cannot do SMBus byte-data transfers; choose another with KTS_I2C_BUS";
        bus.reset();
    }
    return bus;
}

std::unique_ptr<I2cBus> I2cBoard::FindAdapter(std::string& reason) {
    const std::vector<std::string> nodes = AdapterNodes(kernel_);
    std::string refused;  // why the first node that could not be opened was refused
    std::string searched;
    for (const std::string& node : nodes) {
        int error = 0;
        auto bus = I2cBus::Open(kernel_, node, error);
        if (!bus) {
            if (refused.empty()) refused = OpenFailure(node, error);
            continue;
        }
        searched += (searched.empty() ? "" : ", ") + node;
        if (bus->HasByteData() && ChipAnswersOn(*bus)) return bus;
    }
    if (nodes.empty())
        reason = "no I2C adapter found: /dev holds no i2c-N node (load the i2c-dev kernel module: sudo modprobe i2c-dev)";
    else if (!refused.empty())
        reason = refused;
    else
        reason = "no I2C adapter found with a KTS9320B on it (searched " + searched + "); name the bus in KTS_I2C_BUS";
    return nullptr;
}

bool I2cBoard::ChipAnswersOn(I2cBus& bus) {
    for (int address = kFirstSearched; address <= kLastSearched; ++address) {
        uint8_t id = 0;
        if (Transfer(bus, true, address, kManufacturerIdRegister, id) == 0 && id == kManufacturerId) return true;
    }
    return false;
}

int16_t I2cBoard::Read(int address, int32_t index, uint8_t* buffer) {
    uint8_t value = 0;
    const int result = Transfer(*bus_, true, address, static_cast<uint8_t>(index & 0xFF), value);
    if (result == 0) {
        buffer[0] = value;
        return kOk;
    }
    // The start-up search reads where nobody may be. A chip that has answered and falls
    // silent is a broken link, never a register holding 0xFF.
    if (IsNoAcknowledge(result) && answered_.count(address) == 0) {
        buffer[0] = kNoDevice;
        return kOk;
    }
    return kTransferFailed;
}

int16_t I2cBoard::Write(int address, int32_t index) {
    uint8_t data = WrittenData(index);
    return Transfer(*bus_, false, address, WrittenRegister(index), data) == 0 ? kOk : kTransferFailed;
}

int I2cBoard::Transfer(I2cBus& bus, bool read, int address, uint8_t reg, uint8_t& byte) {
    const int result = read ? bus.ReadByteData(address, reg, byte, settings_.force)
                            : bus.WriteByteData(address, reg, byte, settings_.force);
    if (result == 0 && &bus == bus_.get()) answered_.insert(address);
    if (result == -EBUSY) Say(HeldByDriver(bus.Node(), address));
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

void I2cBoard::Say(const std::string& text) {
    NoteLastError(text);
    if (!said_.insert(text).second) return;
    std::fprintf(stderr, "%s%s\n", kPrefix, text.c_str());
    std::fflush(stderr);
}

}  // namespace I2cDev
