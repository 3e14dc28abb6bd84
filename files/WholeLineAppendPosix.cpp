#include "files/WholeLineAppend.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string WriteWhole(AppendTarget fd, bool regularFile, const std::string& name, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written > 0) {
            done += static_cast<size_t>(written);
            // A file takes a line whole or not at all; only a pipe or a terminal takes it in parts.
            if (!regularFile || done == bytes.size()) continue;
            errno = ENOSPC;
        } else if (written < 0 && errno == EINTR) {
            continue;
        }
        std::string error = name + ": " + std::strerror(errno ? errno : EIO);
        struct stat info {};
        if (regularFile && done > 0 && ::fstat(fd, &info) == 0) {
            if (::ftruncate(fd, info.st_size - static_cast<off_t>(done)) != 0)
                error += " (and the part of the line written could not be taken back)";
        }
        return error;
    }
    return {};
}

bool LastByte(const std::string& name, long long& size, char& last) {
    const int reader = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (reader < 0) return false;
    struct stat info {};
    const bool read = ::fstat(reader, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
                      ::pread(reader, &last, 1, info.st_size - 1) == 1;
    size = info.st_size;
    ::close(reader);
    return read;
}

std::string AppendWholeLine(const std::string& name, const std::string& line) {
    // O_NONBLOCK: a pipe without a reader is refused at once instead of holding the caller.
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) return name + ": " + std::strerror(errno);
    struct stat info {};
    const bool regularFile = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const std::string error = WriteWhole(fd, regularFile, name, (EndsInsideALine(name) ? "\n" : "") + line);
    ::close(fd);
    return error;
}
