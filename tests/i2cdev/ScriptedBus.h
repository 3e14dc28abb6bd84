#pragma once
// The kernel's i2c-dev interface on scripted adapters: open, the ioctls the library uses and
// the /dev listing, with devices as register files. Records every SMBus transfer it takes.
#include "Kernel.h"

#include <linux/i2c-dev.h>
#include <linux/i2c.h>

#include <cerrno>
#include <deque>
#include <map>
#include <string>
#include <vector>

struct ScriptedDevice {
    std::map<int, int> registers;  // register -> byte; a missing one reads 0
    bool heldByDriver = false;     // I2C_SLAVE answers EBUSY
    int answersLeft = -1;          // transfers answered before it falls silent; -1: always
};

struct ScriptedAdapter {
    int openError = 0;  // -errno that opening the node gives
    unsigned long funcs = I2C_FUNC_I2C | I2C_FUNC_SMBUS_BYTE_DATA;
    std::map<int, ScriptedDevice> devices;  // by 7-bit address
    std::deque<int> faults;                 // -errno for the next transfers, in order
    unsigned long timeout = 0;              // I2C_TIMEOUT, in tens of milliseconds
};

struct SentTransfer {
    std::string node;
    int address = 0;
    int reg = 0;
    bool read = false;
    int byte = 0;  // the byte written; for reads 0
    bool operator==(const SentTransfer& o) const {
        return node == o.node && address == o.address && reg == o.reg && read == o.read && byte == o.byte;
    }
};

class ScriptedBus : public I2cDev::Kernel {
public:
    std::map<std::string, ScriptedAdapter> adapters;  // by node path, e.g. /dev/i2c-1
    std::vector<SentTransfer> sent;

    ScriptedDevice& Chip(const std::string& node, int address) { return adapters[node].devices[address]; }

    int Open(const std::string& path) override {
        const auto it = adapters.find(path);
        if (it == adapters.end()) return -ENOENT;
        if (it->second.openError) return it->second.openError;
        open_[next_] = {path, -1};
        return next_++;
    }
    void Close(int fd) override { open_.erase(fd); }

    int IoctlValue(int fd, unsigned long request, unsigned long value) override {
        if (!open_.count(fd)) return -EBADF;
        ScriptedAdapter& adapter = adapters[open_[fd].node];
        switch (request) {
        case I2C_TIMEOUT: adapter.timeout = value; return 0;
        case I2C_SLAVE:
        case I2C_SLAVE_FORCE: {
            if (value > 0x7F) return -EINVAL;
            const auto device = adapter.devices.find(static_cast<int>(value));
            if (request == I2C_SLAVE && device != adapter.devices.end() && device->second.heldByDriver) return -EBUSY;
            open_[fd].address = static_cast<int>(value);
            return 0;
        }
        default: return -ENOTTY;
        }
    }

    int IoctlData(int fd, unsigned long request, void* data) override {
        if (!open_.count(fd)) return -EBADF;
        const OpenNode& node = open_[fd];
        ScriptedAdapter& adapter = adapters[node.node];
        if (request == I2C_FUNCS) {
            *static_cast<unsigned long*>(data) = adapter.funcs;
            return 0;
        }
        if (request != I2C_SMBUS) return -ENOTTY;
        auto& transfer = *static_cast<i2c_smbus_ioctl_data*>(data);
        if (transfer.size != I2C_SMBUS_BYTE_DATA || node.address < 0) return -EINVAL;
        const bool read = transfer.read_write == I2C_SMBUS_READ;
        sent.push_back({node.node, node.address, transfer.command, read, read ? 0 : transfer.data->byte});
        if (!adapter.faults.empty()) {
            const int fault = adapter.faults.front();
            adapter.faults.pop_front();
            return fault;
        }
        const auto device = adapter.devices.find(node.address);
        if (device == adapter.devices.end() || device->second.answersLeft == 0) return -ENXIO;
        if (device->second.answersLeft > 0) --device->second.answersLeft;
        if (read)
            transfer.data->byte = static_cast<uint8_t>(device->second.registers[transfer.command]);
        else
            device->second.registers[transfer.command] = transfer.data->byte;
        return 0;
    }

    std::vector<std::string> DeviceNames() override {
        std::vector<std::string> names = {"null", "i2c-bad", "tty0"};
        for (const auto& [path, adapter] : adapters) names.push_back(path.substr(5));  // after "/dev/"
        return names;
    }

private:
    struct OpenNode {
        std::string node;
        int address;  // selected with I2C_SLAVE; -1 before
    };
    std::map<int, OpenNode> open_;
    int next_ = 3;
};
