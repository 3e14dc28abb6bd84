#include "board/ProgramFolder.h"

#include "board/LibraryDriver.h"
#include "board/USBStuff.h"

#include <QCoreApplication>
#include <QDir>

// applicationDirPath reads the executable's path from the system (/proc/self/exe on Linux),
// which names the real file, so a link in bin/ still leads to the library beside the program.
QString ProgramFolder() { return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()); }

QString DriverLibraryPath() {
    return ProgramFolder() + QDir::separator() + QString::fromLatin1(USBStuff::DriverLibraryFileName());
}

QString FirmwareImagePath() {
    return ProgramFolder() + QDir::separator() + QString::fromLatin1(USBStuff::FirmwareFileName);
}
