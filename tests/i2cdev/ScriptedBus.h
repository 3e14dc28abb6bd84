#pragma once
// The kernel's i2c-dev interface on scripted adapters, with devices as register files.
// Records every SMBus transfer it takes as "node address register direction byte".
#include "Kernel.h"

#include <linux/i2c-dev.h>
#include <linux/i2c.h>

#include <cerrno>
#include <cstdio>
#include <deque>
#include <map>
#include <string>
#include <vector>

struct ScriptedDevice {
    std::map<int, int> registers;
    bool heldByDriver = false;  // I2C_SLAVE answers EBUSY
    int answersLeft = -1;       // transfers answered before it falls silent; -1: always
};

struct ScriptedAdapter {
    int openError = 0;
    unsigned long funcs = I2C_FUNC_I2C | I2C_FUNC_SMBUS_BYTE_DATA;
    std::map<int, ScriptedDevice> devices;  // by 7-bit address
    std::deque<int> faults;                 // -errno for the next transfers
    unsigned long timeout = 0;
};

class ScriptedBus : public I2cDev::Kernel {
public:
    std::map<std::string, ScriptedAdapter> adapters;  // by node, e.g. /dev/i2c-1
    std::vector<std::string> sent;
    std::map<std::string, std::string> files;  // sysfs attributes by path

    ScriptedDevice& Chip(const std::string& node, int address) { return adapters[node].devices[address]; }

    int Open(const std::string& path) override {
        if (!adapters.count(path)) return -ENOENT;
        if (adapters[path].openError) return adapters[path].openError;
        open_[next_] = {path, -1};
        return next_++;
    }
    void Close(int fd) override { open_.erase(fd); }
    int IoctlValue(int fd, unsigned long request, unsigned long value) override {
        ScriptedAdapter& adapter = adapters[open_.at(fd).first];
        if (request == I2C_TIMEOUT) adapter.timeout = value;
        if (request != I2C_SLAVE && request != I2C_SLAVE_FORCE) return request == I2C_TIMEOUT ? 0 : -ENOTTY;
        if (value > 0x7F) return -EINVAL;
        const auto device = adapter.devices.find(int(value));
        if (request == I2C_SLAVE && device != adapter.devices.end() && device->second.heldByDriver) return -EBUSY;
        open_[fd].second = int(value);
        return 0;
    }
    int IoctlData(int fd, unsigned long request, void* data) override {
        const auto [node, address] = open_.at(fd);
        ScriptedAdapter& adapter = adapters[node];
        if (request == I2C_FUNCS) *static_cast<unsigned long*>(data) = adapter.funcs;
        if (request != I2C_SMBUS) return request == I2C_FUNCS ? 0 : -ENOTTY;
        auto& t = *static_cast<i2c_smbus_ioctl_data*>(data);
        if (t.size != I2C_SMBUS_BYTE_DATA || address < 0) return -EINVAL;
        const bool read = t.read_write == I2C_SMBUS_READ;
        char line[64];
        std::snprintf(line, sizeof line, "%s %02X %02X %s %02X", node.c_str(), address, t.command,
                      read ? "read" : "write", read ? 0 : t.data->byte);
        sent.push_back(line);
        const int fault = adapter.faults.empty() ? 0 : adapter.faults.front();
        if (fault) adapter.faults.pop_front();
        const auto device = adapter.devices.find(address);
        if (fault || device == adapter.devices.end() || device->second.answersLeft == 0) return fault ? fault : -ENXIO;
        if (device->second.answersLeft > 0) --device->second.answersLeft;
        if (read) t.data->byte = static_cast<uint8_t>(device->second.registers[t.command]);
        else device->second.registers[t.command] = t.data->byte;
        return 0;
    }
    std::vector<std::string> DeviceNames() override {
        std::vector<std::string> names = {"null", "i2c-x"};
        for (const auto& entry : adapters) names.push_back(entry.first.substr(5));  // after "/dev/"
        return names;
    }
    std::string ReadText(const std::string& path) override { return files.count(path) ? files[path] : ""; }

private:
    std::map<int, std::pair<std::string, int>> open_;  // fd -> node, selected address (-1: none)
    int next_ = 3;
};
