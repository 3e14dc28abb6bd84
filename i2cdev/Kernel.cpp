#include "Kernel.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

namespace I2cDev {

namespace {

int ResultOrErrno(int result) { return result < 0 ? -errno : result; }

class LinuxKernel : public Kernel {
public:
    int Open(const std::string& path) override { return ResultOrErrno(::open(path.c_str(), O_RDWR | O_CLOEXEC)); }
    void Close(int fd) override { ::close(fd); }
    int IoctlValue(int fd, unsigned long request, unsigned long value) override {
        return ResultOrErrno(::ioctl(fd, request, value));
    }
    int IoctlData(int fd, unsigned long request, void* data) override {
        return ResultOrErrno(::ioctl(fd, request, data));
    }
    std::vector<std::string> DeviceNames() override {
        std::vector<std::string> names;
        DIR* dir = ::opendir("/dev");
        if (!dir) return names;
        while (const dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
        ::closedir(dir);
        return names;
    }
    std::string ReadText(const std::string& path) override {
        std::ifstream file(path);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
};

}  // namespace

Kernel& SystemKernel() {
    static LinuxKernel kernel;
    return kernel;
}

}  // namespace I2cDev
