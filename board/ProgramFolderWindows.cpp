#include "board/ProgramFolder.h"

#include <windows.h>

std::string NarrowPath(const QString& path) {
    // Explicitly the ANSI code page: Qt's local 8-bit encoding need not be it.
    const auto* wide = reinterpret_cast<const wchar_t*>(path.utf16());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(path.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(path.size()), narrow.data(), size, nullptr, nullptr);
    return narrow;
}
