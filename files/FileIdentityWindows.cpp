#include "files/FileIdentity.h"

#include <QFile>

#include <windows.h>

FileIdentity IdentityOf(const QFile& file) {
    // A handle of its own on the file by name, opened just after the file: sharing everything,
    // so that it stands in the way of no writer, no rename and no deletion.
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t*>(file.fileName().utf16()), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    BY_HANDLE_FILE_INFORMATION information{};
    const bool told = GetFileInformationByHandle(handle, &information);
    CloseHandle(handle);
    if (!told) return {};
    return {information.dwVolumeSerialNumber,
            (static_cast<quint64>(information.nFileIndexHigh) << 32) | information.nFileIndexLow, true};
}
