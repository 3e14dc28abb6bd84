#include "I2cBus.h"

#include <linux/i2c-dev.h>
#include <linux/i2c.h>

#include <cerrno>
#include <algorithm>
#include <cstdlib>

namespace I2cDev {

namespace {

// A hung adapter gives up after this long (I2C_TIMEOUT counts in units of 10 ms).
constexpr unsigned long kTimeoutTens = 10;

}  // namespace

std::unique_ptr<I2cBus> I2cBus::Open(Kernel& kernel, const std::string& node, int& error) {
    const int fd = kernel.Open(node);
    if (fd < 0) {
        error = fd;
        return nullptr;
    }
    // Not every adapter honours a timeout; one that refuses it keeps its own.
    kernel.IoctlValue(fd, I2C_TIMEOUT, kTimeoutTens);
    error = 0;
    return std::unique_ptr<I2cBus>(new I2cBus(kernel, node, fd));
}

I2cBus::~I2cBus() { kernel_.Close(fd_); }

bool I2cBus::HasByteData() {
    unsigned long funcs = 0;
    if (kernel_.IoctlData(fd_, I2C_FUNCS, &funcs) != 0) return false;
    return (funcs & I2C_FUNC_SMBUS_BYTE_DATA) == I2C_FUNC_SMBUS_BYTE_DATA;
}

int I2cBus::ReadByteData(int address, uint8_t reg, uint8_t& value, bool force) {
    return Transfer(address, force, I2C_SMBUS_READ, reg, value);
}

int I2cBus::WriteByteData(int address, uint8_t reg, uint8_t value, bool force) {
    return Transfer(address, force, I2C_SMBUS_WRITE, reg, value);
}

int I2cBus::Select(int address, bool force) {
    if (address == selected_) return 0;
    const int result = kernel_.IoctlValue(fd_, force ? I2C_SLAVE_FORCE : I2C_SLAVE, static_cast<unsigned long>(address));
    selected_ = result == 0 ? address : -1;
    return result;
}

int I2cBus::Transfer(int address, bool force, uint8_t readWrite, uint8_t reg, uint8_t& byte) {
    const int selected = Select(address, force);
    held_ = selected == -EBUSY;
    if (selected != 0) return selected;
    int result = 0;
    // EAGAIN is a lost arbitration: another master spoke at the same moment. Try once more.
    for (int attempt = 0; attempt < 2; ++attempt) {
        i2c_smbus_data data{};
        data.byte = byte;
        i2c_smbus_ioctl_data request{};
        request.read_write = readWrite;
        request.command = reg;
        request.size = I2C_SMBUS_BYTE_DATA;
        request.data = &data;
        result = kernel_.IoctlData(fd_, I2C_SMBUS, &request);
        if (result == 0 && readWrite == I2C_SMBUS_READ) byte = data.byte;
        if (result != -EAGAIN) break;
    }
    return result;
}

int AdapterNumber(const std::string& node) {
    const auto dash = node.rfind("i2c-");
    if (dash == std::string::npos || dash + 4 >= node.size()) return -1;
    const std::string digits = node.substr(dash + 4);
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 6) return -1;
    return std::atoi(digits.c_str());
}

std::vector<std::string> AdapterNodes(Kernel& kernel) {
    std::vector<std::pair<int, std::string>> numbered;
    for (const std::string& name : kernel.DeviceNames()) {
        const std::string node = "/dev/" + name;
        if (name.rfind("i2c-", 0) == 0 && AdapterNumber(node) >= 0) numbered.emplace_back(AdapterNumber(node), node);
    }
    std::sort(numbered.begin(), numbered.end());
    std::vector<std::string> nodes;
    for (auto& entry : numbered) nodes.push_back(std::move(entry.second));
    return nodes;
}

}  // namespace I2cDev
