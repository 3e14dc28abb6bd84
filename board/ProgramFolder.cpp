#include "board/ProgramFolder.h"

#include "board/LibraryDriver.h"
#include "board/USBStuff.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#ifdef _WIN32
#include <windows.h>
#endif

// applicationDirPath reads the executable's path from the system (/proc/self/exe on Linux),
// which names the real file, so a link in bin/ still leads to the library beside the program.
QString ProgramFolder() { return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()); }

QString DriverLibraryPath() {
    return ProgramFolder() + QDir::separator() + QString::fromLatin1(USBStuff::DriverLibraryFileName());
}

QString FirmwareImagePath() {
    return ProgramFolder() + QDir::separator() + QString::fromLatin1(USBStuff::FirmwareFileName);
}

std::string NarrowPath(const QString& path) {
#ifdef _WIN32
    // Explicitly the ANSI code page: Qt's local 8-bit encoding need not be it.
    const auto* wide = reinterpret_cast<const wchar_t*>(path.utf16());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(path.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(path.size()), narrow.data(), size, nullptr, nullptr);
    return narrow;
#else
    return QFile::encodeName(path).toStdString();
#endif
}
