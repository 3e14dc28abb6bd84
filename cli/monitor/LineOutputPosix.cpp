#include "cli/monitor/LineOutput.h"

#include "files/WholeLineAppend.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void StandardStreamsAsOnLinux() {}

LineOutput::LineOutput(const std::string& name) : name_(name) {
    if (name == "-") {
        fd_ = STDOUT_FILENO;
        return;
    }
    // O_APPEND: every line lands at the end even when another program writes to the file too.
    fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        error_ = name + ": " + std::strerror(errno);
        return;
    }
    ownsFd_ = true;
    struct stat info {};
    if (::fstat(fd_, &info) == 0) {
        regularFile_ = S_ISREG(info.st_mode);
        startsEmpty_ = !regularFile_ || info.st_size == 0;
        if (!startsEmpty_ && EndsInsideALine(name)) beforeFirstLine_ = "\n";
    }
}

LineOutput::~LineOutput() {
    if (ownsFd_) ::close(fd_);
}

bool LineOutput::IsOpen() const { return fd_ >= 0; }

bool LineOutput::Write(const std::string& text) {
    error_ = WriteWhole(fd_, regularFile_, name_, beforeFirstLine_ + text);
    if (!error_.empty()) return false;
    beforeFirstLine_.clear();
    return true;
}
