#include "cli/monitor/LineOutput.h"

#include "board/SystemErrorText.h"
#include "files/WholeLineAppend.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

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
    error_ = WriteWhole(handle_, regularFile_, name_, beforeFirstLine_ + text);
    if (!error_.empty()) return false;
    beforeFirstLine_.clear();
    return true;
}
