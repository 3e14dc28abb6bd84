#pragma once
// The few kernel calls the library makes, behind one interface: the real system calls in
// the library, a scripted bus in the tests. Every call returns a negative errno on failure.
#include <string>
#include <vector>

namespace I2cDev {

class Kernel {
public:
    virtual ~Kernel() = default;
    // Opens a device node read-write; the file descriptor, or -errno.
    virtual int Open(const std::string& path) = 0;
    virtual void Close(int fd) = 0;
    // ioctl with an integer argument (I2C_SLAVE, I2C_SLAVE_FORCE, I2C_TIMEOUT); 0 or -errno.
    virtual int IoctlValue(int fd, unsigned long request, unsigned long value) = 0;
    // ioctl with a pointer argument (I2C_FUNCS, I2C_SMBUS); 0 or -errno.
    virtual int IoctlData(int fd, unsigned long request, void* data) = 0;
    // The names of the entries in /dev.
    virtual std::vector<std::string> DeviceNames() = 0;
    // The text of a small file such as a sysfs attribute; empty when it cannot be read.
    virtual std::string ReadText(const std::string& path) = 0;
};

// The running system's calls.
Kernel& SystemKernel();

}  // namespace I2cDev
