#include "cli/monitor/LineOutput.h"

#ifdef _WIN32
#include "board/SystemErrorText.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef _WIN32

void StandardStreamsAsOnLinux() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
}

LineOutput::LineOutput(const std::string& name) : name_(name) {
    if (name == "-") {
        handle_ = GetStdHandle(STD_OUTPUT_HANDLE);
        return;
    }
    // FILE_APPEND_DATA without FILE_WRITE_DATA: every write lands at the end, as with O_APPEND,
    // even when another program writes to the file too.
    const HANDLE file = CreateFileA(name.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error_ = name + ": " + USBStuff::SystemErrorText(GetLastError());
        return;
    }
    handle_ = file;
    ownsFd_ = true;
    regularFile_ = GetFileType(file) == FILE_TYPE_DISK;
    LARGE_INTEGER size{};
    startsEmpty_ = !regularFile_ || (GetFileSizeEx(file, &size) && size.QuadPart == 0);
}

LineOutput::~LineOutput() {
    if (ownsFd_) CloseHandle(handle_);
}

bool LineOutput::IsOpen() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

// An appending handle cannot read the file's last byte, so on Windows a file whose last line
// lacks its end is not given one.
bool LineOutput::Write(const std::string& text) {
    const std::string line = beforeFirstLine_ + text;
    size_t done = 0;
    while (done < line.size()) {
        DWORD written = 0;
        const BOOL ok = WriteFile(handle_, line.data() + done, static_cast<DWORD>(line.size() - done), &written, nullptr);
        done += written;
        if (ok && written > 0 && (!regularFile_ || done == line.size())) continue;
        const DWORD code = ok ? ERROR_DISK_FULL : GetLastError();
        error_ = name_ + ": " + USBStuff::SystemErrorText(code);
        // The part written is cut off the end again. Appending handles cannot move the end, so a
        // second handle with write access does it.
        if (regularFile_ && done > 0) {
            const HANDLE again = CreateFileA(name_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            LARGE_INTEGER size{};
            bool cut = again != INVALID_HANDLE_VALUE && GetFileSizeEx(again, &size);
            if (cut) {
                size.QuadPart -= static_cast<LONGLONG>(done);
                cut = SetFilePointerEx(again, size, nullptr, FILE_BEGIN) && SetEndOfFile(again);
            }
            if (again != INVALID_HANDLE_VALUE) CloseHandle(again);
            if (!cut) error_ += " (and the part of the line written could not be taken back)";
        }
        return false;
    }
    beforeFirstLine_.clear();
    return true;
}

#else

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

#endif

void LineOutput::SetHeader(const std::string& header) {
    if (startsEmpty_) beforeFirstLine_ = header;
}
