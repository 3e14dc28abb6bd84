#include "files/WholeLineAppend.h"

#include "board/SystemErrorText.h"

#include <windows.h>

std::string WriteWhole(AppendTarget handle, bool regularFile, const std::string& name, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const BOOL ok = WriteFile(handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr);
        done += written;
        if (ok && written > 0 && (!regularFile || done == bytes.size())) continue;
        const DWORD code = ok ? ERROR_DISK_FULL : GetLastError();
        std::string error = name + ": " + USBStuff::SystemErrorText(code);
        // The part written is cut off the end again. Appending handles cannot move the end, so a
        // second handle with write access does it.
        if (regularFile && done > 0) {
            const HANDLE again = CreateFileA(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            LARGE_INTEGER size{};
            bool cut = again != INVALID_HANDLE_VALUE && GetFileSizeEx(again, &size);
            if (cut) {
                size.QuadPart -= static_cast<LONGLONG>(done);
                cut = SetFilePointerEx(again, size, nullptr, FILE_BEGIN) && SetEndOfFile(again);
            }
            if (again != INVALID_HANDLE_VALUE) CloseHandle(again);
            if (!cut) error += " (and the part of the line written could not be taken back)";
        }
        return error;
    }
    return {};
}

bool LastByte(const std::string& name, long long& size, char& last) {
    const HANDLE reader = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (reader == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER end{};
    DWORD read = 0;
    if (GetFileType(reader) == FILE_TYPE_DISK && GetFileSizeEx(reader, &end) && end.QuadPart > 0) {
        size = end.QuadPart;
        end.QuadPart -= 1;
        if (!SetFilePointerEx(reader, end, nullptr, FILE_BEGIN) || !ReadFile(reader, &last, 1, &read, nullptr)) read = 0;
    }
    CloseHandle(reader);
    return read == 1;
}

std::string AppendWholeLine(const std::string& name, const std::string& line) {
    // FILE_APPEND_DATA without FILE_WRITE_DATA: every write lands at the end, as with O_APPEND,
    // even when another program writes to the file too.
    const HANDLE file = CreateFileA(name.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE) return name + ": " + USBStuff::SystemErrorText(GetLastError());
    const bool regularFile = GetFileType(file) == FILE_TYPE_DISK;
    const std::string error = WriteWhole(file, regularFile, name, (EndsInsideALine(name) ? "\n" : "") + line);
    CloseHandle(file);
    return error;
}
