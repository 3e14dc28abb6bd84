#include "cli/monitor/LineOutput.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void StandardStreamsAsOnLinux() {}

namespace {

// True when the regular file's last byte is not a line end. The file is written append-only,
// so its end is read through a descriptor of its own.
bool LastLineOpen(const std::string& name, off_t size) {
    const int reader = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (reader < 0) return false;
    char last = '\n';
    const bool read = ::pread(reader, &last, 1, size - 1) == 1;
    ::close(reader);
    return read && last != '\n';
}

}  // namespace

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
        if (!startsEmpty_ && LastLineOpen(name, info.st_size)) beforeFirstLine_ = "\n";
    }
}

LineOutput::~LineOutput() {
    if (ownsFd_) ::close(fd_);
}

bool LineOutput::IsOpen() const { return fd_ >= 0; }

bool LineOutput::Write(const std::string& text) {
    const std::string line = beforeFirstLine_ + text;
    size_t done = 0;
    while (done < line.size()) {
        const ssize_t written = ::write(fd_, line.data() + done, line.size() - done);
        if (written > 0) {
            done += static_cast<size_t>(written);
            // A file takes a line whole or not at all; only a pipe or a terminal takes it in parts.
            if (!regularFile_ || done == line.size()) continue;
            errno = ENOSPC;
        } else if (written < 0 && errno == EINTR) {
            continue;
        }
        error_ = name_ + ": " + std::strerror(errno ? errno : EIO);
        struct stat info {};
        if (regularFile_ && done > 0 && ::fstat(fd_, &info) == 0) {
            if (::ftruncate(fd_, info.st_size - static_cast<off_t>(done)) != 0) {
                error_ += " (and the part of the line written could not be taken back)";
            }
        }
        return false;
    }
    beforeFirstLine_.clear();
    return true;
}
