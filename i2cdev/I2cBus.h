#pragma once
// One open adapter node (/dev/i2c-N) and SMBus byte-data transfers on it.
#include "Kernel.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace I2cDev {

class I2cBus {
public:
    // Opens the node and sets the adapter timeout; null and the negative errno on failure.
    static std::unique_ptr<I2cBus> Open(Kernel& kernel, const std::string& node, int& error);
    ~I2cBus();
    I2cBus(const I2cBus&) = delete;
    I2cBus& operator=(const I2cBus&) = delete;

    const std::string& Node() const { return node_; }
    // Whether the adapter does SMBus read-byte-data and write-byte-data.
    bool HasByteData();
    // Each returns 0 or a negative errno. `force` takes an address a kernel driver holds.
    int ReadByteData(int address, uint8_t reg, uint8_t& value, bool force);
    int WriteByteData(int address, uint8_t reg, uint8_t value, bool force);
    // Whether the last transfer was refused because a kernel driver holds its address. Its
    // EBUSY then comes from selecting the address; an EBUSY from the transfer is a busy bus.
    bool AddressHeld() const { return held_; }

private:
    I2cBus(Kernel& kernel, std::string node, int fd) : kernel_(kernel), node_(std::move(node)), fd_(fd) {}
    int Select(int address, bool force);
    int Transfer(int address, bool force, uint8_t readWrite, uint8_t reg, uint8_t& byte);

    Kernel& kernel_;
    std::string node_;
    int fd_;
    int selected_ = -1;  // the address the node is set to; -1 when unknown
    bool held_ = false;
};

// The adapter's number in a node name such as /dev/i2c-1 (its sysfs bus number); -1 if none.
int AdapterNumber(const std::string& node);
// The adapter nodes in /dev (i2c-0, i2c-1, ...) as full paths, lowest number first.
std::vector<std::string> AdapterNodes(Kernel& kernel);

}  // namespace I2cDev
